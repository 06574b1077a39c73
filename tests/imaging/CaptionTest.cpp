// Caption text drawn on a page: where it lands, its colour, and how the stored font
// record shapes it.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

#include "ReadTestSupport.h"
#include "imaging/Caption.h"

namespace vellumo::imaging {
namespace {

// Fonts need a GUI application; the offscreen platform needs no display.
class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = new QGuiApplication(argc_, argv_);
    }
    void TearDown() override { delete app_; }

  private:
    int argc_ = 1;
    char name_[16] = "imaging_tests";
    char* argv_[2] = {name_, nullptr};
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

struct Ink {
    int count = 0;
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    int height() const { return bottom - top + 1; }
};

// The pixels that are no longer white.
Ink InkOn(const PageBitmap& page) {
    Ink ink;
    for (int32_t y = 0; y < page.height(); ++y) {
        for (int32_t x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != kWhite) {
                ++ink.count;
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

options::CaptionFont Font(int32_t height, int32_t weight = 400) {
    options::CaptionFont f;
    f.lfHeight = height;
    f.lfWeight = weight;
    return f;
}

Ink Draw(const std::string& text, const options::CaptionFont& font, int32_t x = 20, int32_t y = 30,
         PageBitmap* out = nullptr) {
    PageBitmap page = test::WhitePage(400, 160);
    EXPECT_TRUE(DrawCaption(page, x, y, text, font, options::MakeColorRef(0, 0, 0)));
    const Ink ink = InkOn(page);
    if (out != nullptr) {
        *out = std::move(page);
    }
    return ink;
}

TEST(CaptionPlacement, TextLandsBelowAndRightOfItsCornerAndNowhereFar) {
    const Ink ink = Draw("Hello", Font(-20));
    ASSERT_GT(ink.count, 50);
    EXPECT_GE(ink.left, 20 - 1);
    EXPECT_GE(ink.top, 30 - 1);
    EXPECT_LE(ink.right, 20 + 5 * 20);  // five letters, none wider than the em
    EXPECT_LE(ink.bottom, 30 + 2 * 20);
    EXPECT_LT(ink.left, 20 + 6);  // starts at the corner, not somewhere else
    EXPECT_LT(ink.top, 30 + 10);
}

TEST(CaptionPlacement, EmptyTextChangesNothingAndTextAtTheEdgeIsCutByThePage) {
    EXPECT_EQ(Draw("", Font(-20)).count, 0);
    const Ink edge = Draw("Wide caption text", Font(-30), 380, 140);
    EXPECT_GT(edge.count, 0);
    EXPECT_LE(edge.right, 399);
    EXPECT_LE(edge.bottom, 159);
}

TEST(CaptionColour, UsesTheStoredColourWithRedInTheLowByte) {
    PageBitmap page = test::WhitePage(200, 60);
    ASSERT_TRUE(DrawCaption(page, 5, 5, "MMMM", Font(-30), options::MakeColorRef(255, 0, 0)));
    int solid = 0;
    for (int32_t y = 0; y < page.height(); ++y) {
        for (int32_t x = 0; x < page.width(); ++x) {
            const Rgb p = page.pixel(x, y);
            // Red over white, antialiased: red stays full, green and blue fall together.
            ASSERT_GE(p.r, 250) << x << "," << y;
            ASSERT_LE(std::abs(p.g - p.b), 2) << x << "," << y;
            solid += (p.g < 10) ? 1 : 0;
        }
    }
    EXPECT_GT(solid, 20);
}

TEST(CaptionFont, NegativeHeightIsTheCharacterHeightPositiveTheCellHeight) {
    const Ink small = Draw("H", Font(-13));
    const Ink large = Draw("H", Font(-40));
    // A capital H is about three quarters of the em tall.
    EXPECT_NEAR(large.height(), 40 * 0.73, 6);
    EXPECT_GT(large.height(), 2.5 * small.height());
    // The same number as a cell height leaves less room for the letters themselves.
    const Ink cell = Draw("H", Font(40));
    EXPECT_LT(cell.height(), large.height());
    EXPECT_GT(cell.height(), large.height() * 0.6);
}

TEST(CaptionFont, WeightItalicUnderlineAndStrikeOutChangeTheInk) {
    const options::CaptionFont plain = Font(-30);
    const Ink base = Draw("Iiii", plain);

    EXPECT_GT(Draw("Iiii", Font(-30, 700)).count, base.count * 1.2);

    options::CaptionFont italic = plain;
    italic.lfItalic = 1;
    const Ink slanted = Draw("Iiii", italic);
    EXPECT_GT(slanted.right - slanted.left, 0);
    PageBitmap a, b;
    Draw("I", plain, 20, 30, &a);
    Draw("I", italic, 20, 30, &b);
    EXPECT_NE(std::memcmp(a.data(), b.data(), a.byteSize()), 0);

    options::CaptionFont underline = plain;
    underline.lfUnderline = 1;
    const Ink under = Draw("Iiii", underline);
    EXPECT_GT(under.bottom, base.bottom);  // a line below the baseline
    EXPECT_GT(under.count, base.count);

    options::CaptionFont strike = plain;
    strike.lfStrikeOut = 1;
    const Ink struck = Draw("Iiii", strike);
    EXPECT_GT(struck.count, base.count);
    EXPECT_LE(struck.bottom, base.bottom + 1);  // through the letters, not below them
}

TEST(CaptionFont, MissingFaceFallsBackToTheDefaultSansFont) {
    options::CaptionFont missing = Font(-24);
    missing.lfFaceName = "No Such Face Anywhere 1234";
    PageBitmap fallback, defaulted;
    Draw("Fallback", missing, 20, 30, &fallback);
    Draw("Fallback", Font(-24), 20, 30, &defaulted);
    EXPECT_EQ(std::memcmp(fallback.data(), defaulted.data(), fallback.byteSize()), 0);
    EXPECT_GT(InkOn(fallback).count, 0);
}

}  // namespace
}  // namespace vellumo::imaging
