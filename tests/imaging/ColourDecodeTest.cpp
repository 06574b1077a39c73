// Colours decided while decoding: deep sources converted before they are cut to 8 bits,
// ink pages drawn through their CMYK profile.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <png.h>
#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "CmykJpeg.h"
#include "ReadTestSupport.h"
#include "imaging/ImageFile.h"

namespace vellumo::imaging {
namespace {

using test::Corpora;

constexpr int kWidth = 1024;

// A dark ramp of linear light, 0 to 4.7%: the shadows where an early cut to 8 bits
// loses a dozen sRGB levels between two of its own.
uint16_t RampSample(int x) {
    return static_cast<uint16_t>(x * 3);
}

uint8_t SrgbOfLinear(double v) {
    const double e = v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(e * 255));
}

void WriteDeepPng(const std::filesystem::path& path, const IccProfile& icc) {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(out, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, kWidth, 2, 16, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_iCCP(png, info, "linear", PNG_COMPRESSION_TYPE_BASE, icc.data(),
                 static_cast<png_uint_32>(icc.size()));
    png_write_info(png, info);
    std::vector<uint8_t> row(kWidth * 6);
    for (int x = 0; x < kWidth; ++x) {
        for (int c = 0; c < 3; ++c) {
            row[x * 6 + c * 2] = static_cast<uint8_t>(RampSample(x) >> 8);  // big-endian
            row[x * 6 + c * 2 + 1] = static_cast<uint8_t>(RampSample(x));
        }
    }
    png_write_row(png, row.data());
    png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

void WriteDeepTiff(const std::filesystem::path& path, const IccProfile& icc, bool grey) {
    TIFF* tif = TIFFOpen(path.string().c_str(), "w");
    ASSERT_NE(tif, nullptr);
    const uint16_t samples = grey ? 1 : 3;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(icc.size()), icc.data());
    std::vector<uint16_t> row(kWidth * samples);
    for (int x = 0; x < kWidth; ++x) {
        for (int c = 0; c < samples; ++c) {
            row[x * samples + c] = RampSample(x);
        }
    }
    for (uint32_t y = 0; y < 2; ++y) {
        ASSERT_EQ(TIFFWriteScanline(tif, row.data(), y, 0), 1);
    }
    TIFFClose(tif);
}

// The same ramp with a profile of linear light (sRGB primaries): converted while the
// samples have 16 bits, every page pixel is within one level of the exact sRGB value.
// Kept as decoded (--colour keep), the pixels are the samples cut to 8 bits.
TEST(DecodeColour, DeepSourcesAreConvertedBeforeTheyAreCutTo8Bits) {
    const IccProfile linear = MakeRgbProfile(Chromaticities{}, ToneCurve::Gamma, 1.0, "linear");
    ASSERT_FALSE(linear.empty());
    test::ScratchDir dir;
    WriteDeepPng(dir / "ramp.png", linear);
    WriteDeepTiff(dir / "ramp.tif", linear, false);
    WriteDeepTiff(dir / "grey.tif", linear, true);
    // Lossless JPEG XL keeps the 16 bits and the profile.
    const std::string cjxl = "cjxl -d 0 '" + (dir / "ramp.png").string() + "' '" +
                             (dir / "ramp.jxl").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cjxl.c_str()), 0) << cjxl;
    for (const char* name : {"ramp.png", "ramp.tif", "grey.tif", "ramp.jxl"}) {
        for (const bool keep : {false, true}) {
            SCOPED_TRACE(std::string(name) + (keep ? ", colours kept" : ""));
            ImageFile image = ImageFile::Open(dir / name);
            ASSERT_TRUE(image.IsValid()) << image.Error();
            PageBitmap page = test::WhitePage(kWidth, 2);
            ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, kWidth, 2}, 1, keep)) << image.Error();
            int worst = 0;
            for (int x = 0; x < kWidth; ++x) {
                const int expected =
                    keep ? (RampSample(x) + 128) / 257 : SrgbOfLinear(RampSample(x) / 65535.0);
                const Rgb p = page.pixel(x, 1);
                worst = std::max({worst, std::abs(p.r - expected), std::abs(p.g - expected),
                                  std::abs(p.b - expected)});
            }
            EXPECT_LE(worst, 1);
        }
    }
}

// A CMYK input profile that prints every ink as its neighbour's complement: cyan ink
// comes out yellow (red and blue trade places against the plain inversion), so a page
// drawn through the profile cannot be mistaken for one drawn without it.
IccProfile SwappingCmykProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_16, lab, TYPE_Lab_16, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigInputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    const std::function<void(const cmsUInt16Number*, cmsUInt16Number*)> sample =
        [&](const cmsUInt16Number* ink, cmsUInt16Number* out) {
            const double k = 1.0 - ink[3] / 65535.0;
            cmsUInt16Number rgb[3];
            for (int c = 0; c < 3; ++c) {
                rgb[2 - c] = static_cast<cmsUInt16Number>((65535 - ink[c]) * k + 0.5);
            }
            cmsDoTransform(toLab, rgb, out, 1);
        };
    cmsStageSampleCLut16bit(
        grid,
        [](const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
            (*static_cast<decltype(sample)*>(cargo))(in, out);
            return TRUE;
        },
        const_cast<void*>(static_cast<const void*>(&sample)), 0);
    // The AToB form wants its A (input) and B (output) curves, identities here.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, grid);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    IccProfile bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsPipelineFree(pipeline);
    cmsCloseProfile(profile);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return bytes;
}

// 16 x 16 pixels, quadrants of pure cyan, magenta, yellow and no ink.
uint8_t InkAt(int x, int y, int channel) {
    const int quadrant = (y >= 8) * 2 + (x >= 8);
    return quadrant == channel && channel < 3 ? 255 : 0;
}

void WriteInkTiff(const std::filesystem::path& path, const IccProfile& icc) {
    TIFF* tif = TIFFOpen(path.string().c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 16);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 16);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(icc.size()), icc.data());
    for (int y = 0; y < 16; ++y) {
        uint8_t row[16 * 4];
        for (int x = 0; x < 16; ++x) {
            for (int c = 0; c < 4; ++c) {
                row[x * 4 + c] = InkAt(x, y, c);
            }
        }
        ASSERT_EQ(TIFFWriteScanline(tif, row, static_cast<uint32_t>(y), 0), 1);
    }
    TIFFClose(tif);
}

TEST(DecodeColour, InkPagesWithAProfileAreDrawnThroughIt) {
    const IccProfile inks = SwappingCmykProfile();
    ASSERT_GT(inks.size(), 128u);
    test::ScratchDir dir;
    WriteInkTiff(dir / "inks.tif", inks);
    test::WriteCmykJpeg(dir / "inks.jpg", JCS_CMYK, true, InkAt, inks);
    for (const char* name : {"inks.tif", "inks.jpg"}) {
        for (const bool keep : {false, true}) {
            SCOPED_TRACE(std::string(name) + (keep ? ", colours kept" : ""));
            ImageFile image = ImageFile::Open(dir / name);
            ASSERT_TRUE(image.IsValid()) << image.Error();
            PageBitmap page = test::WhitePage(16, 16);
            ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, 16, 16}, 1, keep)) << image.Error();
            const auto near = [](Rgb a, Rgb b) {
                return std::abs(a.r - b.r) <= 8 && std::abs(a.g - b.g) <= 8 &&
                       std::abs(a.b - b.b) <= 8;
            };
            const Rgb cyan = page.pixel(3, 3), magenta = page.pixel(12, 3),
                      yellow = page.pixel(3, 12), none = page.pixel(12, 12);
            EXPECT_TRUE(near(cyan, {255, 255, 0}))
                << int(cyan.r) << " " << int(cyan.g) << " " << int(cyan.b);
            EXPECT_TRUE(near(magenta, {255, 0, 255}));
            EXPECT_TRUE(near(yellow, {0, 255, 255}));
            EXPECT_TRUE(near(none, {255, 255, 255}));
        }
    }
}

}  // namespace
}  // namespace vellumo::imaging
