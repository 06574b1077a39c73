// Output file names of a run and the rotate/flip choices, the latter checked on real pixels.
#include <gtest/gtest.h>

#include "convert/OutputNaming.h"
#include "convert/RotateFlipTable.h"
#include "imaging/PageBitmap.h"
#include "imaging/RotateFlip.h"
#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {
namespace {

using imaging::PageBitmap;
using imaging::Rgb;
using imaging::RotateFlipType;

TEST(OutputNaming, NumbersPadToTheDigitsOfTheCount) {
    EXPECT_EQ(NumberedPath("/out/album.jpg", 1, 3), "/out/album-1.jpg");
    EXPECT_EQ(NumberedPath("/out/album.jpg", 3, 12), "/out/album-03.jpg");
    EXPECT_EQ(NumberedPath("/out/album.jpg", 12, 12), "/out/album-12.jpg");
    EXPECT_EQ(NumberedPath("/out/album.jpg", 7, 150), "/out/album-007.jpg");
    EXPECT_EQ(NumberedPath("/out/album.jpg", 1000, 1000), "/out/album-1000.jpg");
}

TEST(OutputNaming, NumberGoesBeforeTheLastExtensionOfTheName) {
    EXPECT_EQ(NumberedPath("/a.b/album", 2, 15), "/a.b/album-02");
    EXPECT_EQ(NumberedPath("/out/my.album.png", 2, 15), "/out/my.album-02.png");
    EXPECT_EQ(NumberedPath("/out/.png", 2, 15), "/out/.png-02");
    EXPECT_EQ(NumberedPath("album.bmp", 3, 5), "album-3.bmp");
}

TEST(OutputNaming, OnlySingleImageFormatsWithSeveralPagesAreNumbered) {
    const std::string path = "/out/album.x";
    EXPECT_EQ(OutputPathForEntry(path, options::kFormatTif, 4, 9), path);
    EXPECT_EQ(OutputPathForEntry(path, options::kFormatJpg, 0, 1), path);
    EXPECT_EQ(OutputPathForEntry(path, options::kFormatJpg, 0, 2), "/out/album-1.x");
    EXPECT_EQ(OutputPathForEntry(path, options::kFormatPng, 1, 2), "/out/album-2.x");
    EXPECT_EQ(OutputPathForEntry(path, options::kFormatBmp, 9, 10), "/out/album-10.x");
    EXPECT_EQ(OutputPathForEntry(path, 7, 1, 2), path);
}

// A 3 x 2 page with a different colour at every pixel, so any mix-up shows.
PageBitmap Numbered(int32_t w, int32_t h) {
    auto page = PageBitmap::Create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            page->setPixel(x, y, Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7});
        }
    }
    return std::move(*page);
}

bool SamePixels(const PageBitmap& a, const PageBitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int32_t y = 0; y < a.height(); ++y) {
        for (int32_t x = 0; x < a.width(); ++x) {
            if (!(a.pixel(x, y) == b.pixel(x, y))) {
                return false;
            }
        }
    }
    return true;
}

PageBitmap Turned(const PageBitmap& page, RotateFlipType type) {
    PageBitmap copy = page.Clone();
    EXPECT_TRUE(imaging::RotateFlip(copy, type));
    return copy;
}

// Mirrors a page top to bottom, by hand.
PageBitmap MirroredVertically(const PageBitmap& page) {
    PageBitmap out = page.Clone();
    for (int32_t y = 0; y < page.height(); ++y) {
        for (int32_t x = 0; x < page.width(); ++x) {
            out.setPixel(x, page.height() - 1 - y, page.pixel(x, y));
        }
    }
    return out;
}

TEST(RotateFlipTable, TableValuesForEveryAngleAndFlip) {
    struct Row {
        int angle;
        RotateFlipType none, horizontal, vertical;
    };
    const Row rows[] = {
        {0, RotateFlipType::RotateNoneFlipNone, RotateFlipType::RotateNoneFlipX,
         RotateFlipType::Rotate180FlipX},
        {90, RotateFlipType::Rotate90FlipNone, RotateFlipType::Rotate90FlipX,
         RotateFlipType::Rotate270FlipX},
        {180, RotateFlipType::Rotate180FlipNone, RotateFlipType::Rotate180FlipX,
         RotateFlipType::RotateNoneFlipX},
        {270, RotateFlipType::Rotate270FlipNone, RotateFlipType::Rotate270FlipX,
         RotateFlipType::Rotate90FlipX},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.angle);
        EXPECT_EQ(RotateFlipFor(row.angle, options::kFlipNone).type, row.none);
        EXPECT_EQ(RotateFlipFor(row.angle, options::kFlipHorizontal).type, row.horizontal);
        EXPECT_EQ(RotateFlipFor(row.angle, options::kFlipVertical).type, row.vertical);
        EXPECT_TRUE(RotateFlipFor(row.angle, options::kFlipVertical).angleKnown);
    }
}

TEST(RotateFlipTable, VerticalFlipMirrorsTopToBottomOnPixels) {
    const PageBitmap page = Numbered(3, 2);
    const PageBitmap expected = MirroredVertically(page);
    EXPECT_TRUE(SamePixels(Turned(page, RotateFlipFor(0, options::kFlipVertical).type), expected));
    // Angle 180 with a vertical flip gives the same page as angle 0 with a horizontal flip.
    EXPECT_TRUE(SamePixels(Turned(page, RotateFlipFor(180, options::kFlipVertical).type),
                           Turned(page, RotateFlipFor(0, options::kFlipHorizontal).type)));
    // A quarter turn then a vertical mirror, done as two steps.
    EXPECT_TRUE(SamePixels(Turned(page, RotateFlipFor(90, options::kFlipVertical).type),
                           MirroredVertically(Turned(page, RotateFlipType::Rotate90FlipNone))));
}

TEST(RotateFlipTable, UnknownAngleKeepsTheFlipAndUnknownFlipKeepsTheTurn) {
    const auto odd = RotateFlipFor(45, options::kFlipHorizontal);
    EXPECT_FALSE(odd.angleKnown);
    EXPECT_EQ(odd.type, RotateFlipType::RotateNoneFlipX);
    const auto badFlip = RotateFlipFor(90, 9);
    EXPECT_TRUE(badFlip.angleKnown);
    EXPECT_EQ(badFlip.type, RotateFlipType::Rotate90FlipNone);
    EXPECT_EQ(RotateFlipFor(-90, -1).type, RotateFlipType::RotateNoneFlipNone);
}

// What a camera stores for an upright picture under each EXIF orientation, built from the
// definition of the tag (where row 0 and column 0 of the stored picture lie in the scene).
PageBitmap StoredAs(const PageBitmap& upright, int orientation) {
    const int32_t w = upright.width();
    const int32_t h = upright.height();
    const bool swapped = orientation >= 5;
    auto stored = PageBitmap::Create(swapped ? h : w, swapped ? w : h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            int32_t sx = 0;
            int32_t sy = 0;
            switch (orientation) {
                case 1:
                    sx = x;
                    sy = y;
                    break;
                case 2:
                    sx = w - 1 - x;
                    sy = y;
                    break;
                case 3:
                    sx = w - 1 - x;
                    sy = h - 1 - y;
                    break;
                case 4:
                    sx = x;
                    sy = h - 1 - y;
                    break;
                case 5:
                    sx = y;
                    sy = x;
                    break;
                case 6:
                    sx = y;
                    sy = w - 1 - x;
                    break;
                case 7:
                    sx = h - 1 - y;
                    sy = w - 1 - x;
                    break;
                case 8:
                    sx = h - 1 - y;
                    sy = x;
                    break;
            }
            stored->setPixel(sx, sy, upright.pixel(x, y));
        }
    }
    return std::move(*stored);
}

TEST(UprightForExif, EveryOrientationComesBackUpright) {
    const PageBitmap upright = Numbered(4, 3);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const RotateFlipType type = UprightTypeForExif(orientation);
        EXPECT_EQ(SwapsSides(type), orientation >= 5);
        EXPECT_TRUE(SamePixels(Turned(StoredAs(upright, orientation), type), upright));
    }
}

TEST(UprightForExif, InvalidValuesLeaveThePhotoAlone) {
    EXPECT_EQ(UprightTypeForExif(0), RotateFlipType::RotateNoneFlipNone);
    EXPECT_EQ(UprightTypeForExif(9), RotateFlipType::RotateNoneFlipNone);
    EXPECT_EQ(UprightTypeForExif(-3), RotateFlipType::RotateNoneFlipNone);
}

}  // namespace
}  // namespace vellumo::convert
