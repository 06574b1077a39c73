#include "dib/OctreePalette.h"

#include <gtest/gtest.h>

#include <array>

namespace vellumo::dib {
namespace {

CIndexedBitmap Solid(int32_t width, int32_t height, RGBQUAD color) {
    CIndexedBitmap image;
    image.Allocate(width, height, 24);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            image.WriteColor(x, y, color);
        }
    }
    return image;
}

TEST(DibOctree, ConstructionClampsLevelAndLeafLimit) {
    COctreePalette two(2, 12);
    EXPECT_EQ(two.LeafLevel(), 8u);
    EXPECT_EQ(two.MaxLeaves(), 16u);
    COctreePalette many(256, 5);
    EXPECT_EQ(many.LeafLevel(), 5u);
    EXPECT_EQ(many.MaxLeaves(), 256u);
}

TEST(DibOctree, OneColourGivesOneEntryAndFillsTheRestWithIt) {
    const RGBQUAD orange = MakeColor(250, 120, 3);
    const CIndexedBitmap image = Solid(7, 5, orange);
    for (uint32_t colors : {2u, 16u, 256u}) {
        COctreePalette octree(colors, 8);
        ASSERT_TRUE(octree.AddImage(image));
        EXPECT_EQ(octree.LeafCount(), 1u);
        std::array<RGBQUAD, 257> table;
        table.fill(MakeColor(1, 2, 3));
        octree.FillPalette(table.data());
        for (uint32_t i = 0; i < colors; ++i) {
            EXPECT_EQ(table[i], orange) << colors << " colours, entry " << i;
        }
        EXPECT_EQ(table[colors], MakeColor(1, 2, 3)) << "wrote past maxColors";
    }
    COctreePalette empty(16, 8);
    std::array<RGBQUAD, 16> table;
    table.fill(MakeColor(1, 2, 3));
    empty.FillPalette(table.data());
    EXPECT_EQ(table[15], RGBQUAD{});
}

TEST(DibOctree, FewColoursMergeConsecutiveLeavesByPixelCount) {
    // Three leaves in walk order (child index r*4+g*2+b at the top level), 10, 10, 20 px.
    COctreePalette octree(2, 8);
    for (int i = 0; i < 10; ++i) {
        octree.InsertColor(0, 0, 10, 0);
        octree.InsertColor(0, 200, 0, 0);
    }
    for (int i = 0; i < 20; ++i) {
        octree.InsertColor(200, 0, 50, 0);
    }
    ASSERT_EQ(octree.LeafCount(), 3u);
    std::array<RGBQUAD, 2> table{};
    octree.FillPalette(table.data());
    EXPECT_EQ(table[0], MakeColor(0, 0, 10));
    EXPECT_EQ(table[1], MakeColor(133, 66, 33));  // red (0 * 10 + 200 * 20) / 30, ...
}

TEST(DibOctree, LeafLevelDecidesWhetherTheLowestBitCounts) {
    COctreePalette fine(256, 8), coarse(256, 7);
    for (COctreePalette* octree : {&fine, &coarse}) {
        octree->InsertColor(100, 100, 100, 0);
        octree->InsertColor(101, 100, 100, 0);
    }
    EXPECT_EQ(fine.LeafCount(), 2u);
    EXPECT_EQ(coarse.LeafCount(), 1u);
    std::array<RGBQUAD, 256> table{};
    coarse.FillPalette(table.data());
    EXPECT_EQ(table[0], MakeColor(100, 100, 100));  // (100 + 101) / 2, truncated
}

TEST(DibOctree, MergingKeepsTheLeafCountWithinTheLimit) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(64, 64, 24), nullptr);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            image.WriteColor(x, y, MakeColor(uint8_t(x * 4), uint8_t(y * 4), uint8_t(x ^ y)));
        }
    }
    for (uint32_t colors : {2u, 16u, 256u}) {
        COctreePalette octree(colors, 8);
        ASSERT_TRUE(octree.AddImage(image));
        EXPECT_LE(octree.LeafCount(), octree.MaxLeaves());
        EXPECT_GT(octree.LeafCount(), octree.MaxLeaves() / 2) << colors;
    }
    COctreePalette flat(16, 0);  // the root itself is the only leaf
    flat.InsertColor(1, 2, 3, 0);
    flat.InsertColor(9, 9, 9, 0);
    EXPECT_FALSE(flat.MergeDeepest());
    EXPECT_EQ(flat.LeafCount(), 1u);
}

TEST(DibOctree, IndexedImagesUseTheirColourTableAndOtherDepthsAreRefused) {
    CIndexedBitmap four;
    ASSERT_NE(four.Allocate(3, 1, 4), nullptr);
    four.SetEntry(5, 10, 20, 30);
    four.WriteIndex(0, 0, 5);
    four.WriteIndex(1, 0, 5);
    four.WriteIndex(2, 0, 5);
    COctreePalette octree(16, 8);
    ASSERT_TRUE(octree.AddImage(four));
    std::array<RGBQUAD, 16> table{};
    octree.FillPalette(table.data());
    EXPECT_EQ(table[0], MakeColor(10, 20, 30));

    for (uint16_t bits : {16, 32}) {
        CIndexedBitmap image;
        ASSERT_NE(image.Allocate(2, 2, 24), nullptr);
        image.imageMemory[14] = static_cast<uint8_t>(bits);  // biBitCount of the block
        COctreePalette refused(256, 8);
        EXPECT_FALSE(refused.AddImage(image));
        EXPECT_TRUE(refused.Empty());
    }
    COctreePalette none(256, 8);
    EXPECT_FALSE(none.AddImage(static_cast<const uint8_t*>(nullptr)));
}

TEST(DibOctree, SumsDoNotWrapForHugeSingleColourLeaves) {
    // 16843010 pixels of 255 overflow a 32-bit sum; the mean must still be 255.
    COctreePalette octree(256, 8);
    for (uint32_t i = 0; i < 16843010u; ++i) {
        octree.InsertColor(255, 255, 255, 255);
    }
    std::array<RGBQUAD, 256> table{};
    octree.FillPalette(table.data());
    EXPECT_EQ(table[0], (RGBQUAD{255, 255, 255, 255}));
}

}  // namespace
}  // namespace vellumo::dib
