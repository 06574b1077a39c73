#include "options/PixelFormats.h"

#include <gtest/gtest.h>

#include "options/OutputPhotoFormat.h"

namespace vellumo::options {
namespace {

TEST(OutputPhotoFormat, StartsWithTheStartUpValues) {
    const OutputPhotoFormat r;
    EXPECT_EQ(r.nOuputSizeType, 0);
    EXPECT_EQ(r.nOutputWidth, 1024);
    EXPECT_EQ(r.nOutputHeight, 768);
    EXPECT_EQ(r.nOuptputFormat, 3);
    EXPECT_EQ(r.iComboPixelFormat, 4);
    EXPECT_EQ(r.nCurrentJpegQuality, 80);
    EXPECT_EQ(r.nKeepAspectRatio, 1);
    EXPECT_EQ(r.dStretchHorizontal, 1.0);
    EXPECT_EQ(r.dStretchVertical, 1.0);
    EXPECT_EQ(r.nRotateAngel, 0);
    EXPECT_EQ(r.nFlipType, 0);
    EXPECT_EQ(kFormatListTexts[0], "BMP");
    EXPECT_EQ(kFormatListTexts[3], "TIF");
}

TEST(PixelFormats, ListHasTenEntriesWithIndexedFirst) {
    const auto list = PixelFormatList();
    ASSERT_EQ(list.size(), 10u);
    EXPECT_EQ(list[0].listText, "1 bit Indexed");
    EXPECT_EQ(list[0].paletteSize, 2);
    EXPECT_EQ(list[1].paletteSize, 16);
    EXPECT_EQ(list[2].paletteSize, 256);
    EXPECT_EQ(list[9].listText, "64 bits PARGB");
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].indexed, i < 3) << i;
    }
    EXPECT_EQ(list[4].description,
              "24 bits per pixel; 8 bits each are used for the red, green, and blue components.");
}

TEST(PixelFormats, OutOfRangeIndexBehavesAsTwentyFourBit) {
    for (int32_t index : {-1, 10, 11, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(&PixelFormatAt(index), &PixelFormatAt(4)) << index;
        EXPECT_EQ(NormalisedPixelFormatIndex(index), 4) << index;
    }
    EXPECT_EQ(NormalisedPixelFormatIndex(0), 0);
    EXPECT_EQ(NormalisedPixelFormatIndex(9), 9);
}

}  // namespace
}  // namespace vellumo::options
