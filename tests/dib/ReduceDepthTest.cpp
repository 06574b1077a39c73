#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "dib/IndexedBitmap.h"
#include "dib/StandardPalette.h"

namespace vellumo::dib {
namespace {

CIndexedBitmap Grey24(int32_t width, int32_t height, std::vector<uint8_t> values) {
    CIndexedBitmap image;
    image.Allocate(width, height, 24);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t v = values[static_cast<size_t>(y * width + x)];
            image.WriteColor(x, y, MakeColor(v, v, v));
        }
    }
    return image;
}

std::vector<int> Indexes(const CIndexedBitmap& image) {
    std::vector<int> out;
    for (int32_t y = 0; y < image.header.biHeight; ++y) {
        for (int32_t x = 0; x < image.header.biWidth; ++x) {
            out.push_back(image.ReadIndex(x, y));
        }
    }
    return out;
}

// A red ramp with a hole: entry i is (i, 0, 0) except 50..149, which are blue and never
// nearest to a pure red. Pure reds outside the hole map exactly onto their own index, so
// the reduced indexes show the diffused values; a red inside the hole carries an error.
std::array<RGBQUAD, 256> RampWithHole() {
    std::array<RGBQUAD, 256> table{};
    for (int i = 0; i < 256; ++i) {
        table[i] = (i >= 50 && i < 150) ? MakeColor(0, 0, 255) : MakeColor(uint8_t(i), 0, 0);
    }
    return table;
}

CIndexedBitmap Reds(int32_t width, int32_t height, std::vector<uint8_t> reds) {
    CIndexedBitmap image;
    image.Allocate(width, height, 24);
    for (size_t i = 0; i < reds.size(); ++i) {
        image.WriteColor(int32_t(i) % width, int32_t(i) / width, MakeColor(reds[i], 0, 0));
    }
    return image;
}

TEST(DibStandardPalette, HasTheDocumentedEntries) {
    const auto& p16 = StandardPalette16();
    EXPECT_EQ(p16[7], MakeColor(192, 192, 192));
    EXPECT_EQ(p16[8], MakeColor(128, 128, 128));
    EXPECT_EQ(p16[13], MakeColor(255, 0, 255));
    const auto& p = StandardPalette256();
    const std::pair<int, RGBQUAD> rows[] = {
        {3, MakeColor(128, 128, 0)},    {8, MakeColor(192, 220, 192)},
        {9, MakeColor(166, 202, 240)},  {10, MakeColor(255, 240, 212)},
        {16, MakeColor(255, 170, 0)},   {21, MakeColor(80, 50, 0)},
        {34, MakeColor(255, 212, 212)}, {40, MakeColor(254, 0, 0)},
        {45, MakeColor(80, 0, 0)},      {148, MakeColor(0, 254, 254)},
        {225, MakeColor(80, 80, 0)},    {226, MakeColor(242, 242, 242)},
        {245, MakeColor(14, 14, 14)},   {246, MakeColor(255, 251, 240)},
        {255, MakeColor(255, 255, 255)}};
    for (const auto& [index, color] : rows) {
        EXPECT_EQ(p[index], color) << "entry " << index;
    }
    CIndexedBitmap four, eight, one;
    ASSERT_TRUE(four.Allocate(1, 1, 4) && eight.Allocate(1, 1, 8) && one.Allocate(1, 1, 1));
    four.LoadStandardPalette();
    eight.LoadStandardPalette();
    one.LoadStandardPalette();
    EXPECT_EQ(four.GetEntry(15), MakeColor(255, 255, 255));
    EXPECT_EQ(eight.GetEntry(9), MakeColor(166, 202, 240));
    EXPECT_EQ(one.GetEntry(1), RGBQUAD{});
}

TEST(DibReduceDepth, DiffusionTurnsAMidGreyPairIntoBlackAndWhite) {
    CIndexedBitmap plain = Grey24(2, 1, {100, 100});
    CIndexedBitmap diffused = Grey24(2, 1, {100, 100});
    ASSERT_TRUE(plain.ReduceDepth(1, false, nullptr, 0));
    ASSERT_TRUE(diffused.ReduceDepth(1, true, nullptr, 0));
    EXPECT_EQ(Indexes(plain), (std::vector<int>{0, 0}));
    EXPECT_EQ(Indexes(diffused), (std::vector<int>{0, 1}));
    EXPECT_EQ(diffused.header.biBitCount, 1);
    EXPECT_EQ(diffused.GetEntry(1), MakeColor(255, 255, 255));
}

TEST(DibReduceDepth, SpreadsSevenTwoFourOneSixteenthsTruncatingTowardZero) {
    const auto table = RampWithHole();
    // (99,0,0) maps to entry 49: error +50, passed on as 21, 6, 12 and 3.
    CIndexedBitmap image = Reds(3, 2, {200, 99, 200, 200, 200, 200});
    ASSERT_TRUE(image.ReduceDepth(8, true, table.data(), 0));
    EXPECT_EQ(Indexes(image), (std::vector<int>{200, 49, 221, 206, 212, 203}));

    // (140,0,0) maps to 150: error -10, so the right neighbour gets -70/16 = -4, not -5;
    // a neighbour pushed past 255 is clamped. A single row passes error only rightwards.
    CIndexedBitmap row = Reds(3, 1, {140, 200, 250});
    ASSERT_TRUE(row.ReduceDepth(8, true, table.data(), 0));
    EXPECT_EQ(Indexes(row), (std::vector<int>{150, 196, 250}));
    CIndexedBitmap clamp = Reds(2, 1, {99, 250});
    ASSERT_TRUE(clamp.ReduceDepth(8, true, table.data(), 0));
    EXPECT_EQ(Indexes(clamp), (std::vector<int>{49, 255}));
}

TEST(DibReduceDepth, GivenPaletteAndImportantCountLimitTheEntriesUsed) {
    const auto table = RampWithHole();
    CIndexedBitmap image = Reds(4, 1, {10, 160, 200, 255});
    ASSERT_TRUE(image.ReduceDepth(8, false, table.data(), 100));
    EXPECT_EQ(image.header.biClrImportant, 100u);
    EXPECT_EQ(image.GetEntry(200), MakeColor(200, 0, 0));
    EXPECT_EQ(Indexes(image), (std::vector<int>{10, 49, 49, 49}));
}

TEST(DibReduceDepth, RefusesWhatItCannotDoAndKeepsTheImage) {
    CIndexedBitmap empty;
    EXPECT_FALSE(empty.ReduceDepth(8, true, nullptr, 0));

    CIndexedBitmap four;
    ASSERT_NE(four.Allocate(2, 2, 4), nullptr);
    EXPECT_FALSE(four.ReduceDepth(8, false, nullptr, 0));

    CIndexedBitmap rgb = Grey24(2, 1, {1, 2});
    uint8_t* block = rgb.imageMemory;
    EXPECT_FALSE(rgb.ReduceDepth(16, false, nullptr, 0));  // normalises to 24: no reduction
    EXPECT_EQ(rgb.imageMemory, block);
    EXPECT_EQ(rgb.ReadColor(1, 0), MakeColor(2, 2, 2));

    CIndexedBitmap eight;
    ASSERT_NE(eight.Allocate(2, 2, 8), nullptr);
    eight.WriteIndex(1, 1, 77);
    block = eight.imageMemory;
    EXPECT_TRUE(eight.ReduceDepth(8, true, nullptr, 0));
    EXPECT_EQ(eight.imageMemory, block);
    EXPECT_EQ(eight.ReadIndex(1, 1), 77);
}

TEST(DibReduceDepth, TwoBitsGiveAFourBitImageWithTheStandardPalette) {
    CIndexedBitmap image = Grey24(3, 1, {0, 190, 255});
    image.SetLastError("earlier");
    ASSERT_TRUE(image.ReduceDepth(2, false, nullptr, 0));
    EXPECT_EQ(image.header.biBitCount, 4);
    EXPECT_EQ(image.header.biClrUsed, 16u);
    EXPECT_STREQ(image.lastError, "earlier");
    EXPECT_EQ(Indexes(image), (std::vector<int>{0, 7, 15}));
}

TEST(DibReduceDepth, AnIndexedSourceDiffusesThroughItsOwnPalette) {
    // 8-bit grey source (standard palette greys) down to 1 bit: the result is a sensible
    // black/white pattern whatever the source's own palette snapping does.
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(8, 8, 8), nullptr);
    image.LoadStandardPalette();
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            image.WriteColor(x, y, MakeColor(128, 128, 128));
        }
    }
    ASSERT_TRUE(image.ReduceDepth(1, true, nullptr, 0));
    int white = 0;
    for (int index : Indexes(image)) {
        white += index;
    }
    EXPECT_GT(white, 16);
    EXPECT_LT(white, 48);
}

}  // namespace
}  // namespace vellumo::dib
