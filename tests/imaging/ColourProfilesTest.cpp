// Colour profiles: which count as sRGB, and what converting from one does to pixels.

#include <gtest/gtest.h>
#include <lcms2.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "imaging/ColourProfiles.h"

namespace vellumo::imaging {
namespace {

Chromaticities AdobeRgb() {
    Chromaticities c;
    c.redX = 0.64, c.redY = 0.33, c.greenX = 0.21, c.greenY = 0.71, c.blueX = 0.15, c.blueY = 0.06;
    return c;
}

TEST(ColourProfiles, OnlyProfilesWithSrgbPrimariesAndCurveCountAsSrgb) {
    const auto srgb = SrgbProfile();
    struct Case {
        const char* name;
        IccProfile icc;
        bool srgb;
    };
    const Case cases[] = {
        {"none", {}, true},
        {"the pages' own", IccProfile(srgb.begin(), srgb.end()), true},
        {"made from sRGB's values", MakeRgbProfile(Chromaticities{}, ToneCurve::Srgb), true},
        {"sRGB primaries, gamma 1.8", MakeRgbProfile(Chromaticities{}, ToneCurve::Gamma, 1.8),
         false},
        {"sRGB primaries, BT.709 curve", MakeRgbProfile(Chromaticities{}, ToneCurve::Bt709), false},
        {"Adobe RGB", MakeRgbProfile(AdobeRgb(), ToneCurve::Gamma, 2.2), false},
        {"not a profile", IccProfile(200, 7), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsSrgbEquivalent(c.icc), c.srgb);
        EXPECT_EQ(SrgbTransform::For(c.icc, PixelLayout::Rgb8) == nullptr,
                  c.srgb || c.icc.size() == 200);
    }
    EXPECT_EQ(ProfileDescription(MakeRgbProfile(AdobeRgb(), ToneCurve::Gamma, 2.2, "Wide")),
              "Wide");
    EXPECT_EQ(ProfileDescription(IccProfile(200, 7)), "unreadable ICC profile");
}

TEST(ColourProfiles, ConversionKeepsGreysAndWhiteGainsSaturationAndSplitsRowsExactly) {
    const IccProfile adobe = MakeRgbProfile(AdobeRgb(), ToneCurve::Gamma, 2.2);
    const int width = 256, height = 300;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            // Row 0 is grey, the others mix the channels.
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y == 0 ? x : (x * 7 + y) % 256);
            p[2] = static_cast<uint8_t>(y == 0 ? x : (x + y * 3) % 256);
        }
    }
    std::vector<uint8_t> oneThread = pixels;
    std::vector<uint8_t> fourThreads = pixels;
    ConvertToSrgb(adobe, PixelLayout::Rgb8, oneThread.data(), width, height, width * 3, 1);
    ConvertToSrgb(adobe, PixelLayout::Rgb8, fourThreads.data(), width, height, width * 3, 4);
    EXPECT_EQ(oneThread, fourThreads);
    for (int x = 0; x < width; ++x) {
        const uint8_t* p = &oneThread[static_cast<size_t>(x) * 3];
        EXPECT_LE(std::abs(p[0] - p[1]) + std::abs(p[1] - p[2]), 2) << x;
        if (x > 0) {
            EXPECT_GE(p[0], p[-3]) << x;  // greys stay in order
        }
    }
    // Black and white stay; mid grey has the same luminance in sRGB's curve (about 129).
    EXPECT_LE(oneThread[0], 1);
    EXPECT_GE(oneThread[255 * 3], 254);
    EXPECT_NEAR(oneThread[128 * 3], 129, 2);
    // Adobe RGB's pure green lies outside sRGB: it clips to sRGB's most saturated green,
    // and a moderate Adobe green becomes a stronger sRGB one.
    uint8_t green[6] = {0, 255, 0, 100, 160, 100};
    ConvertToSrgb(adobe, PixelLayout::Rgb8, green, 2, 1, 6, 1);
    EXPECT_LE(green[0], 5);
    EXPECT_GE(green[1], 250);
    EXPECT_LT(green[3], 100);
    EXPECT_GT(green[4], 160);
}

// Matrix/curve profiles convert through tables of our own: every colour lands within one
// level of LittleCMS's own conversion of it.
TEST(ColourProfiles, MatrixProfilesConvertAsLittleCmsDoesToWithinOneLevel) {
    struct Case {
        const char* name;
        IccProfile icc;
    };
    std::vector<Case> cases = {
        {"Adobe RGB", MakeRgbProfile(AdobeRgb(), ToneCurve::Gamma, 2.2)},
        {"sRGB primaries, gamma 1.8", MakeRgbProfile(Chromaticities{}, ToneCurve::Gamma, 1.8)},
        {"Adobe primaries, BT.709 curve", MakeRgbProfile(AdobeRgb(), ToneCurve::Bt709)},
        {"linear light", MakeRgbProfile(Chromaticities{}, ToneCurve::Gamma, 1.0)},
    };
    // A version 2 profile as cameras and editors write it, when the system has one.
    if (std::FILE* f = std::fopen("/usr/share/color/icc/compatibleWithAdobeRGB1998.icc", "rb")) {
        IccProfile bytes(1 << 20);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        cases.push_back({"Adobe RGB (1998) file", bytes});
    }
    // Every colour on a grid of 4 steps per channel, and its neighbours.
    std::vector<uint8_t> colours;
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 2) {
                colours.insert(colours.end(), {static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                                               static_cast<uint8_t>(b)});
            }
        }
    }
    const size_t count = colours.size() / 3;
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.icc.empty());
        cmsHPROFILE source =
            cmsOpenProfileFromMem(c.icc.data(), static_cast<cmsUInt32Number>(c.icc.size()));
        ASSERT_NE(source, nullptr);
        cmsHTRANSFORM reference = cmsCreateTransform(
            source, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
            cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE | cmsFLAGS_NOOPTIMIZE);
        std::vector<uint8_t> expected(colours.size());
        cmsDoTransform(reference, colours.data(), expected.data(),
                       static_cast<cmsUInt32Number>(count));
        cmsDeleteTransform(reference);
        cmsCloseProfile(source);
        std::vector<uint8_t> ours = colours;
        ConvertToSrgb(c.icc, PixelLayout::Rgb8, ours.data(), static_cast<int32_t>(count), 1,
                      colours.size(), 1);
        int worst = 0;
        for (size_t i = 0; i < colours.size(); ++i) {
            worst = std::max(worst, std::abs(ours[i] - expected[i]));
        }
        EXPECT_LE(worst, 1);
    }
    cmsCloseProfile(srgb);
}

}  // namespace
}  // namespace vellumo::imaging
