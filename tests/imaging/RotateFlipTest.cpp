// Rotation and flip of pages: where pixels go, and the identities between the eight
// types.

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/PageBitmap.h"
#include "imaging/RotateFlip.h"

namespace vellumo::imaging {
namespace {

// Every pixel different, so a misplaced pixel cannot go unnoticed.
PageBitmap Numbered(int32_t w, int32_t h) {
    auto page = PageBitmap::Create(w, h);
    EXPECT_TRUE(page.has_value());
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            page->setPixel(x, y,
                           {static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                            static_cast<uint8_t>((x * 7 + y * 13) & 0xFF)});
        }
    }
    page->SetResolution(72, 300);
    return std::move(*page);
}

bool SamePixels(const PageBitmap& a, const PageBitmap& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.data(), b.data(), a.byteSize()) == 0;
}

PageBitmap Turned(const PageBitmap& page, RotateFlipType type) {
    PageBitmap copy = page.Clone();
    EXPECT_TRUE(RotateFlip(copy, type));
    return copy;
}

// Odd sizes, and one larger than the 64-pixel tiles of the quarter turns.
const std::pair<int32_t, int32_t> kSizes[] = {{1, 1}, {1, 9}, {7, 3}, {130, 67}};

TEST(RotateFlipPlacement, QuarterTurnIsClockwise) {
    const PageBitmap page = Numbered(7, 3);
    const PageBitmap turned = Turned(page, RotateFlipType::Rotate90FlipNone);
    ASSERT_EQ(turned.width(), 3);
    ASSERT_EQ(turned.height(), 7);
    // Top-left goes to top-right, bottom-left to top-left, top-right to bottom-right.
    EXPECT_EQ(turned.pixel(2, 0), page.pixel(0, 0));
    EXPECT_EQ(turned.pixel(0, 0), page.pixel(0, 2));
    EXPECT_EQ(turned.pixel(2, 6), page.pixel(6, 0));
    EXPECT_EQ(turned.pixel(0, 6), page.pixel(6, 2));
}

TEST(RotateFlipPlacement, MirrorAndHalfTurnPlacePixelsWhereExpected) {
    const PageBitmap page = Numbered(7, 3);
    const PageBitmap mirrored = Turned(page, RotateFlipType::RotateNoneFlipX);
    const PageBitmap half = Turned(page, RotateFlipType::Rotate180FlipNone);
    const PageBitmap upsideDown = Turned(page, RotateFlipType::Rotate180FlipX);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 7; ++x) {
            EXPECT_EQ(mirrored.pixel(6 - x, y), page.pixel(x, y));
            EXPECT_EQ(half.pixel(6 - x, 2 - y), page.pixel(x, y));
            EXPECT_EQ(upsideDown.pixel(x, 2 - y), page.pixel(x, y));
        }
    }
}

TEST(RotateFlipIdentities, FourQuarterTurnsGiveBackTheOriginal) {
    for (const auto& [w, h] : kSizes) {
        const PageBitmap page = Numbered(w, h);
        for (RotateFlipType type :
             {RotateFlipType::Rotate90FlipNone, RotateFlipType::Rotate270FlipNone}) {
            PageBitmap p = page.Clone();
            for (int i = 0; i < 4; ++i) {
                ASSERT_TRUE(RotateFlip(p, type));
            }
            EXPECT_TRUE(SamePixels(p, page)) << w << "x" << h;
        }
    }
}

TEST(RotateFlipIdentities, EveryFlipTypeUndoesItself) {
    // A turn followed by a mirror is its own inverse; so is the half turn.
    for (const auto& [w, h] : kSizes) {
        const PageBitmap page = Numbered(w, h);
        for (RotateFlipType type : {RotateFlipType::RotateNoneFlipX, RotateFlipType::Rotate90FlipX,
                                    RotateFlipType::Rotate180FlipX, RotateFlipType::Rotate270FlipX,
                                    RotateFlipType::Rotate180FlipNone}) {
            const PageBitmap twice = Turned(Turned(page, type), type);
            EXPECT_TRUE(SamePixels(twice, page)) << w << "x" << h << " type " << int(type);
        }
    }
}

TEST(RotateFlipIdentities, CombinedTypesEqualTheirSteps) {
    for (const auto& [w, h] : kSizes) {
        const PageBitmap page = Numbered(w, h);
        const auto mirror = [](const PageBitmap& p) {
            return Turned(p, RotateFlipType::RotateNoneFlipX);
        };
        const PageBitmap r90 = Turned(page, RotateFlipType::Rotate90FlipNone);
        const PageBitmap r180 = Turned(page, RotateFlipType::Rotate180FlipNone);
        const PageBitmap r270 = Turned(page, RotateFlipType::Rotate270FlipNone);
        EXPECT_TRUE(SamePixels(Turned(r90, RotateFlipType::Rotate90FlipNone), r180));
        EXPECT_TRUE(SamePixels(Turned(r90, RotateFlipType::Rotate180FlipNone), r270));
        EXPECT_TRUE(SamePixels(Turned(page, RotateFlipType::Rotate90FlipX), mirror(r90)));
        EXPECT_TRUE(SamePixels(Turned(page, RotateFlipType::Rotate180FlipX), mirror(r180)));
        EXPECT_TRUE(SamePixels(Turned(page, RotateFlipType::Rotate270FlipX), mirror(r270)));
        // The vertical flips of the options table: half turn + mirror is a flip top to bottom.
        EXPECT_TRUE(SamePixels(Turned(r180, RotateFlipType::RotateNoneFlipX),
                               Turned(page, RotateFlipType::Rotate180FlipX)));
    }
}

TEST(RotateFlipSides, QuarterTurnsSwapSidesAndResolutions) {
    const PageBitmap page = Numbered(130, 67);
    for (RotateFlipType type : {RotateFlipType::Rotate90FlipNone, RotateFlipType::Rotate270FlipNone,
                                RotateFlipType::Rotate90FlipX, RotateFlipType::Rotate270FlipX}) {
        const PageBitmap t = Turned(page, type);
        EXPECT_EQ(t.width(), 67);
        EXPECT_EQ(t.height(), 130);
        EXPECT_DOUBLE_EQ(t.dpiX(), 300);
        EXPECT_DOUBLE_EQ(t.dpiY(), 72);
    }
    for (RotateFlipType type :
         {RotateFlipType::RotateNoneFlipNone, RotateFlipType::Rotate180FlipNone,
          RotateFlipType::RotateNoneFlipX, RotateFlipType::Rotate180FlipX}) {
        const PageBitmap t = Turned(page, type);
        EXPECT_EQ(t.width(), 130);
        EXPECT_EQ(t.height(), 67);
        EXPECT_DOUBLE_EQ(t.dpiX(), 72);
    }
}

TEST(RotateFlipSides, UnknownTypeIsRefusedAndLeavesThePage) {
    PageBitmap page = Numbered(5, 4);
    const PageBitmap before = page.Clone();
    EXPECT_FALSE(RotateFlip(page, static_cast<RotateFlipType>(8)));
    EXPECT_TRUE(SamePixels(page, before));
}

}  // namespace
}  // namespace vellumo::imaging
