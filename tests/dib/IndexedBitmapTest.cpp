#include "dib/IndexedBitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dib/BmpCodec.h"
#include "dib/Endian.h"

namespace vellumo::dib {
namespace {

struct AllocateCase {
    int32_t width;
    uint16_t bitsAsked;
    uint16_t bits;
    uint32_t entries;
    uint32_t stride;
};

TEST(DibAllocate, NormalisesDepthAndPadsRowsToFourBytes) {
    const AllocateCase cases[] = {{1, 1, 1, 2, 4},    {3, 24, 24, 0, 12}, {0, 8, 8, 256, 0},
                                  {5, 16, 24, 0, 16}, {5, 32, 24, 0, 16}, {5, 2, 4, 16, 4},
                                  {9, 0, 1, 2, 4},    {33, 1, 1, 2, 8},   {7, 4, 4, 16, 4},
                                  {9, 4, 4, 16, 8},   {5, 8, 8, 256, 8},  {5, 6, 8, 256, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " px at " << c.bitsAsked << " bits");
        CIndexedBitmap image;
        uint8_t* block = image.Allocate(c.width, 3, c.bitsAsked);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(image.header.biBitCount, c.bits);
        EXPECT_EQ(image.header.biClrUsed, c.entries);
        EXPECT_EQ(image.rowStride, c.stride);
        EXPECT_EQ(image.header.biSizeImage, c.stride * 3);
        EXPECT_EQ(image.TotalBytes(), 40 + 4 * c.entries + c.stride * 3);
        EXPECT_EQ(image.PaletteBytes(), 4 * c.entries);
        // The block starts with the header copy; the rows follow the colour table.
        EXPECT_EQ(LoadLe32(block), 40u);
        EXPECT_EQ(LoadLe32(block + 4), static_cast<uint32_t>(c.width));
        EXPECT_EQ(LoadLe16(block + 14), c.bits);
        EXPECT_EQ(image.pixels, block + 40 + 4 * c.entries);
        EXPECT_EQ(image.PixelsAddress(), image.pixels);
        EXPECT_EQ(image.PaletteAddress(), c.entries ? block + 40 : nullptr);
    }
}

TEST(DibAllocate, ClearsTheBlockEvenWhenReplacingADirtyImage) {
    CIndexedBitmap image;
    for (int round = 0; round < 2; ++round) {
        ASSERT_NE(image.Allocate(64, 64, 8), nullptr);
        const uint8_t* table = image.PaletteAddress();
        for (uint32_t i = 0; i < 1024 + image.header.biSizeImage; ++i) {
            ASSERT_EQ(table[i], 0) << "byte " << i << " in round " << round;
        }
        std::memset(image.imageMemory + 40, 0xAB, 1024 + image.header.biSizeImage);
    }
}

TEST(DibAllocate, RefusesNegativeAndOversizedImagesLeavingTheRequestInTheHeader) {
    CIndexedBitmap image;
    EXPECT_EQ(image.Allocate(-1, 5, 8), nullptr);
    EXPECT_EQ(image.Allocate(5, -1, 8), nullptr);
    EXPECT_EQ(image.Allocate(INT32_MAX, INT32_MAX, 24), nullptr);
    // 2^31 pixels wide at 24 bits: a 32-bit row size would wrap to a small number.
    EXPECT_EQ(image.Allocate(0x55555556, 1, 24), nullptr);
    EXPECT_FALSE(image.HasImage());
    EXPECT_EQ(image.header.biWidth, 0x55555556);
    EXPECT_EQ(image.header.biBitCount, 24);
}

TEST(DibAllocate, WorksOnAHolderThatGaveItsImageAway) {
    CIndexedBitmap source, target;
    ASSERT_NE(source.Allocate(4, 4, 8), nullptr);
    target.TakeOver(&source);
    EXPECT_EQ(source.header.biSize, 0u);
    ASSERT_NE(source.Allocate(4, 4, 8), nullptr);
    EXPECT_EQ(source.header.biSize, 40u);
    EXPECT_EQ(source.TotalBytes(), 40u + 1024 + 16);
}

TEST(DibPixels, PackOneAndFourBitIndexesKeepingNeighbours) {
    CIndexedBitmap one;
    ASSERT_NE(one.Allocate(10, 2, 1), nullptr);
    one.WriteIndex(0, 0, 1);
    one.WriteIndex(9, 0, 3);  // lowest bit only
    one.WriteIndex(1, 1, 2);  // lowest bit 0: stores 0
    EXPECT_EQ(one.pixels[0], 0x80);
    EXPECT_EQ(one.pixels[1], 0x40);
    EXPECT_EQ(one.pixels[4], 0x00);
    EXPECT_EQ(one.ReadIndex(9, 0), 1);
    EXPECT_EQ(one.ReadIndex(8, 0), 0);

    CIndexedBitmap four;
    ASSERT_NE(four.Allocate(3, 1, 4), nullptr);
    four.WriteIndex(0, 0, 0x0A);
    four.WriteIndex(1, 0, 0x1F);
    EXPECT_EQ(four.pixels[0], 0xAF);
    four.WriteIndex(0, 0, 0x03);
    EXPECT_EQ(four.pixels[0], 0x3F);
    EXPECT_EQ(four.ReadIndex(1, 0), 0x0F);
}

TEST(DibPixels, OutsideTheImageReadsGiveZeroAndWritesAreDropped) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(3, 2, 24), nullptr);
    image.WriteColor(2, 1, MakeColor(1, 2, 3));
    EXPECT_EQ(image.ReadColor(2, 1), MakeColor(1, 2, 3));
    std::vector<uint8_t> before(image.pixels, image.pixels + image.header.biSizeImage);
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
        image.WriteColor(x, y, MakeColor(9, 9, 9));
        EXPECT_EQ(image.ReadColor(x, y), RGBQUAD{});
    }
    EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + image.header.biSizeImage), before);
    // A 24-bit image has no indexes.
    image.WriteIndex(0, 0, 7);
    EXPECT_EQ(image.ReadIndex(2, 1), 0);
    EXPECT_EQ(image.ReadColor(0, 0), RGBQUAD{});

    CIndexedBitmap empty;
    EXPECT_EQ(empty.ReadColor(0, 0), RGBQUAD{});
    EXPECT_EQ(empty.NearestEntry(MakeColor(1, 1, 1)), 0);
    empty.WriteColor(0, 0, MakeColor(1, 1, 1));
}

TEST(DibPalette, NearestEntryPrefersExactThenLowestAndHonoursImportant) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(1, 1, 4), nullptr);
    for (uint8_t i = 0; i < 16; ++i) {
        image.SetEntry(i, 200, 200, 200);
    }
    image.SetEntry(3, 10, 20, 30);
    image.SetEntry(7, 10, 20, 30);
    image.SetEntry(2, 100, 0, 0);
    image.SetEntry(5, 120, 0, 0);
    image.SetEntry(9, 1, 2, 3);
    EXPECT_EQ(image.NearestEntry(MakeColor(10, 20, 30)), 3);
    EXPECT_EQ(image.NearestEntry(MakeColor(110, 0, 0)), 2);
    image.WriteColor(0, 0, MakeColor(119, 0, 0));
    EXPECT_EQ(image.ReadIndex(0, 0), 5);

    image.LimitImportant(2);
    EXPECT_EQ(image.header.biClrImportant, 2u);
    EXPECT_EQ(image.NearestEntry(MakeColor(1, 2, 3)), 0);  // entry 9 is not considered
    image.LimitImportant(20);
    EXPECT_EQ(image.header.biClrImportant, 16u);
    image.LimitImportant(300);
    EXPECT_EQ(image.header.biClrImportant, 0u);
}

TEST(DibPalette, LimitImportantFollowsTheDepth) {
    CIndexedBitmap one, eight, rgb;
    ASSERT_TRUE(one.Allocate(1, 1, 1) && eight.Allocate(1, 1, 8) && rgb.Allocate(1, 1, 24));
    one.LimitImportant(5);
    eight.LimitImportant(100);
    rgb.header.biClrImportant = 7;
    rgb.LimitImportant(5);
    EXPECT_EQ(one.header.biClrImportant, 2u);
    EXPECT_EQ(eight.header.biClrImportant, 100u);
    EXPECT_EQ(rgb.header.biClrImportant, 7u);
}

TEST(DibPalette, EntriesAreBoundedAndCopiedWithTheirReservedByte) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(1, 1, 1), nullptr);
    const RGBQUAD source[3] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}};
    image.CopyPalette(source, 3);  // only two entries exist
    EXPECT_EQ(std::memcmp(image.PaletteAddress(), source, 8), 0);
    EXPECT_EQ(image.pixels[0], 0) << "the copy ran into the pixels";
    EXPECT_EQ(image.GetEntry(1), (RGBQUAD{5, 6, 7, 0}));
    EXPECT_EQ(image.GetEntry(2), RGBQUAD{});
    image.SetEntry(2, 9, 9, 9);
    EXPECT_EQ(image.pixels[0], 0);
    image.SetEntry(1, 30, 20, 10);
    EXPECT_EQ(image.GetEntry(1), MakeColor(30, 20, 10));
}

TEST(DibTakeOver, MovesTheImageAndEmptiesTheSource) {
    CIndexedBitmap source, target;
    ASSERT_NE(source.Allocate(2, 2, 24), nullptr);
    ASSERT_NE(target.Allocate(8, 8, 8), nullptr);
    source.WriteColor(1, 1, MakeColor(4, 5, 6));
    source.SetLastError("kept");
    uint8_t* block = source.imageMemory;
    target.TakeOver(&source);
    EXPECT_EQ(target.imageMemory, block);
    EXPECT_EQ(target.header.biWidth, 2);
    EXPECT_STREQ(target.lastError, "kept");
    EXPECT_EQ(target.ReadColor(1, 1), MakeColor(4, 5, 6));
    EXPECT_FALSE(source.HasImage());
    EXPECT_EQ(source.header.biSize, 0u);
    EXPECT_EQ(source.rowStride, 0u);
    EXPECT_EQ(source.ReadColor(1, 1), RGBQUAD{});
    target.TakeOver(nullptr);
    target.TakeOver(&target);
    EXPECT_EQ(target.ReadColor(1, 1), MakeColor(4, 5, 6));
}

TEST(DibTakeOver, ABorrowingViewNeverFreesTheOwnersBlock) {
    CIndexedBitmap owner;
    ASSERT_NE(owner.Allocate(2, 2, 24), nullptr);
    owner.WriteColor(0, 0, MakeColor(7, 8, 9));
    {
        CBmpCodec view;
        view.Borrow(owner);
        EXPECT_EQ(view.ReadColor(0, 0), MakeColor(7, 8, 9));
        ASSERT_NE(view.Allocate(1, 1, 8), nullptr);  // drops the view, frees nothing
    }
    EXPECT_EQ(owner.ReadColor(0, 0), MakeColor(7, 8, 9));
}

}  // namespace
}  // namespace vellumo::dib
