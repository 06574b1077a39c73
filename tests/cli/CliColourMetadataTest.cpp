// vellumo-cli and the photos' colour profiles, camera data and orientation, checked with
// independent tools: LittleCMS's tificc for colours, exiftool and libtiff for metadata.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli/CliTestSupport.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kSrgbIcc = "/usr/share/color/icc/sRGB.icc";
constexpr const char* kAdobeIcc = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";

bool Have(const std::string& file) {
    return fs::exists(file);
}

ProcessResult Tool(const std::string& name, const std::vector<std::string>& args) {
    return RunProcess("/usr/bin/" + name, args);
}

// Gradients over the whole range of every channel, like the colours of a photo.
bool WriteGradient(const std::string& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb(x * 255 / (width - 1), y * 255 / (height - 1),
                                (x + y) * 255 / (width + height - 2)));
        }
    }
    return image.save(QString::fromStdString(path));
}

// CIE L*a*b* of an sRGB pixel (D65), for colour differences.
std::array<double, 3> Lab(int r, int g, int b) {
    const auto linear = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double R = linear(r), G = linear(g), B = linear(b);
    const double X = (0.4124 * R + 0.3576 * G + 0.1805 * B) / 0.95047;
    const double Y = 0.2126 * R + 0.7152 * G + 0.0722 * B;
    const double Z = (0.0193 * R + 0.1192 * G + 0.9505 * B) / 1.08883;
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    return {116 * f(Y) - 16, 500 * (f(X) - f(Y)), 200 * (f(Y) - f(Z))};
}

// Mean CIE76 colour difference of two pages of one size; -1 when the sizes differ.
double MeanDeltaE(const TiffPage& a, const TiffPage& b) {
    if (a.width != b.width || a.height != b.height || a.abgr.empty()) {
        return -1;
    }
    double sum = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const auto p = Lab(a.red(x, y), a.green(x, y), a.blue(x, y));
            const auto q = Lab(b.red(x, y), b.green(x, y), b.blue(x, y));
            sum += std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
        }
    }
    return sum / (static_cast<double>(a.width) * a.height);
}

std::string IccOfTiff(const std::string& path) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr) {
        return {};
    }
    uint32_t size = 0;
    const char* data = nullptr;
    std::string icc;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &size, &data) == 1) {
        icc.assign(data, size);
    }
    TIFFClose(tif);
    return icc;
}

// exiftool's values of `tags` ("-" for a missing one), one per tag.
std::vector<std::string> ExifTool(const std::string& file, const std::vector<std::string>& tags) {
    std::vector<std::string> args = {"-s", "-s", "-s", "-f"};
    for (const auto& tag : tags) {
        args.push_back("-" + tag);
    }
    args.push_back(file);
    std::istringstream lines(Tool("exiftool", args).out);
    std::vector<std::string> values;
    for (std::string line; std::getline(lines, line);) {
        values.push_back(line);
    }
    return values;
}

TEST(CliColour, ProfiledPhotoMatchesTheColourManagedReferenceOrKeepsItsProfile) {
    if (!Have("/usr/bin/tificc") || !Have("/usr/bin/convert") || !Have(kAdobeIcc)) {
        GTEST_SKIP() << "tificc, ImageMagick or the free ICC profiles absent";
    }
    TempFolder folder;
    const std::string adobe = folder / "adobe.jpg";
    ASSERT_TRUE(WriteGradient(folder / "plain.png", 96, 64));
    // The reference: LittleCMS's own tool, relative colorimetric with black-point
    // compensation, on the same pixels in a TIFF.
    ASSERT_EQ(Tool("convert", {folder / "plain.png", "-profile", kSrgbIcc, "-profile", kAdobeIcc,
                               "-quality", "95", adobe})
                  .exitCode,
              0);
    ASSERT_EQ(Tool("convert", {adobe, folder / "adobe.tif"}).exitCode, 0);
    ASSERT_EQ(
        Tool("tificc", {"-t1", "-b", folder / "adobe.tif", folder / "reference.tif"}).exitCode, 0);

    ASSERT_EQ(Cli({adobe, "-q", "-o", folder / "srgb.tif"}).exitCode, 0);
    ASSERT_EQ(Cli({adobe, "-q", "--colour", "keep", "-o", folder / "kept.tif"}).exitCode, 0);
    const auto reference = ReadTiffPages(folder / "reference.tif");
    const auto converted = ReadTiffPages(folder / "srgb.tif");
    const auto kept = ReadTiffPages(folder / "kept.tif");
    ASSERT_EQ(reference.size(), 1u);
    ASSERT_EQ(converted.size(), 1u);
    ASSERT_EQ(kept.size(), 1u);

    const double convertedDelta = MeanDeltaE(converted[0], reference[0]);
    EXPECT_GE(convertedDelta, 0);
    EXPECT_LT(convertedDelta, 1.0);
    EXPECT_GT(MeanDeltaE(kept[0], reference[0]), 1.0);  // the pixels as decoded are not sRGB
    EXPECT_THAT(ExifTool(folder / "srgb.tif", {"ProfileDescription"}), ElementsAre("sRGB"));
    const std::string adobeIcc = Tool("exiftool", {"-b", "-ICC_Profile", adobe}).out;
    ASSERT_FALSE(adobeIcc.empty());
    EXPECT_EQ(IccOfTiff(folder / "kept.tif"), adobeIcc);
    EXPECT_THAT(Cli({"--info", adobe}).out, HasSubstr("colour: Compatible with Adobe RGB (1998)"));
}

TEST(CliMetadata, PagesCarryCameraDataNamesAndNumbersGpsOnlyWhenAskedAndNothingWhenStripped) {
    if (!Have("/usr/bin/exiftool")) {
        GTEST_SKIP() << "exiftool absent";
    }
    TempFolder folder;
    const std::string photo = folder / "photo.jpg";
    ASSERT_TRUE(WriteGradient(photo, 48, 32));
    ASSERT_TRUE(WriteGradient(folder / "plain.png", 32, 48));
    ASSERT_EQ(
        Tool("exiftool", {"-q", "-overwrite_original", "-Make=Testmaker", "-Model=Model 7",
                          "-DateTimeOriginal=2020:01:02 03:04:05", "-ExposureTime=1/250",
                          "-FNumber=8", "-ISO=200", "-LensModel=Lens 50", "-GPSLatitude=48.5",
                          "-GPSLatitudeRef=N", "-GPSLongitude=2.25", "-GPSLongitudeRef=E", photo})
            .exitCode,
        0);
    const std::vector<std::string> tags = {"Make",         "Model",       "DateTimeOriginal",
                                           "ExposureTime", "ISO",         "LensModel",
                                           "GPSLatitude",  "Orientation", "ProfileDescription"};
    const std::vector<std::string> camera = {"Testmaker", "Model 7", "2020:01:02 03:04:05",
                                             "1/250",     "200",     "Lens 50"};
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* output;     // written with both inputs
        const char* firstPage;  // the file holding the photo's page
        bool cameraData;
        bool gps;
        bool profile;
    };
    const Case cases[] = {
        {"tiff", {}, "a.tif", "a.tif", true, false, true},
        {"tiff with GPS", {"--keep-gps"}, "a.tif", "a.tif", true, true, true},
        {"tiff stripped", {"--strip"}, "a.tif", "a.tif", false, false, false},
        {"jpeg", {}, "a.jpg", "a-1.jpg", true, false, true},
        {"png with GPS", {"--keep-gps"}, "a.png", "a-1.png", true, true, true},
        {"png stripped", {"--strip"}, "a.png", "a-1.png", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {photo, folder / "plain.png", "-q", "-y",
                                         "-o",  folder / c.output};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = Cli(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto values = ExifTool(folder / c.firstPage, tags);
        ASSERT_EQ(values.size(), tags.size());
        for (size_t i = 0; i < camera.size(); ++i) {
            EXPECT_EQ(values[i], c.cameraData ? camera[i] : "-") << tags[i];
        }
        EXPECT_EQ(values[6] != "-", c.gps) << values[6];
        EXPECT_EQ(values[8], c.profile ? "sRGB" : "-");
        // Pages are written upright, and say so wherever they carry the tag.
        const bool orientationTag = c.cameraData || std::string(c.output) == "a.tif";
        EXPECT_EQ(values[7], orientationTag ? "Horizontal (normal)" : "-");
    }
    // The second page of the album: its name, its place of two, the program.
    ASSERT_EQ(Cli({photo, folder / "plain.png", "-q", "-y", "-o", folder / "b.tif"}).exitCode, 0);
    EXPECT_THAT(ExifTool(folder / "b.tif", {"IFD1:PageName", "IFD1:PageNumber", "IFD0:PageNumber",
                                            "IFD1:Software", "IFD1:Make"}),
                ElementsAre("plain.png", "1 2", "0 2", HasSubstr("Vellumo"), "-"));
    ASSERT_EQ(
        Cli({photo, folder / "plain.png", "-q", "-y", "--strip", "-o", folder / "b.tif"}).exitCode,
        0);
    EXPECT_THAT(ExifTool(folder / "b.tif", {"IFD1:PageName", "IFD1:PageNumber", "IFD1:Software"}),
                ElementsAre("-", "1 2", "-"));
    EXPECT_THAT(Cli({"--info", photo}).out,
                HasSubstr("camera: Testmaker Model 7, 2020:01:02 03:04:05, "
                          "1/250 s, f/8, ISO 200"));
}

// A TIFF whose pixels are stored as `width` x `height` halves (red left, blue right) and
// that says they must be turned by `orientation` to stand upright.
bool WriteOrientedTiff(const std::string& path, int width, int height, int orientation) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        return false;
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, orientation);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[static_cast<size_t>(x) * 3] = x < width / 2 ? 255 : 0;
        row[static_cast<size_t>(x) * 3 + 2] = x < width / 2 ? 0 : 255;
    }
    bool ok = true;
    for (int y = 0; y < height; ++y) {
        ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y)) == 1 && ok;
    }
    TIFFClose(tif);
    return ok;
}

// Colours of the quadrant centres of a page: top-left, top-right, bottom-left, bottom-right.
std::string Quadrants(const TiffPage& page) {
    const auto colour = [&](int x, int y) {
        return page.red(x, y) > 200 && page.blue(x, y) < 60   ? 'r'
               : page.blue(x, y) > 200 && page.red(x, y) < 60 ? 'b'
                                                              : '?';
    };
    const int w = page.width, h = page.height;
    return {colour(w / 4, h / 4), colour(3 * w / 4, h / 4), colour(w / 4, 3 * h / 4),
            colour(3 * w / 4, 3 * h / 4)};
}

TEST(CliOrientation, TiffAndPngOrientationsTurnPagesUprightAndListTheirSizes) {
    if (!Have("/usr/bin/exiftool")) {
        GTEST_SKIP() << "exiftool absent";
    }
    TempFolder folder;
    // Stored 40x20 with red on the left; orientation 6 turns it clockwise: red on top.
    ASSERT_TRUE(WriteOrientedTiff(folder / "six.tif", 40, 20, 6));
    // Orientation 3 turns it half round: red on the right.
    ASSERT_TRUE(WriteOrientedTiff(folder / "three.tif", 40, 20, 3));
    QImage halves(40, 20, QImage::Format_RGB32);
    halves.fill(Qt::blue);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            halves.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    ASSERT_TRUE(halves.save(QString::fromStdString(folder / "eight.png")));
    ASSERT_EQ(
        Tool("exiftool", {"-q", "-overwrite_original", "-Orientation#=8", folder / "eight.png"})
            .exitCode,
        0);
    const std::vector<std::string> inputs = {folder / "six.tif", folder / "three.tif",
                                             folder / "eight.png"};

    std::vector<std::string> args = inputs;
    args.insert(args.end(), {"-q", "-o", folder / "as-stored.tif"});
    ASSERT_EQ(Cli(args).exitCode, 0);
    const auto stored = ReadTiffPages(folder / "as-stored.tif");
    ASSERT_EQ(stored.size(), 3u);
    for (const auto& page : stored) {
        EXPECT_EQ(Quadrants(page), "rbrb");  // as stored: red left, blue right
    }

    args.push_back("--auto-orient");
    args.push_back("-y");
    ASSERT_EQ(Cli(args).exitCode, 0);
    const auto upright = ReadTiffPages(folder / "as-stored.tif");
    ASSERT_EQ(upright.size(), 3u);
    EXPECT_EQ(Quadrants(upright[0]), "rrbb");
    EXPECT_EQ(Quadrants(upright[1]), "brbr");
    EXPECT_EQ(Quadrants(upright[2]), "bbrr");  // 8: turned anticlockwise, red at the bottom
    EXPECT_THAT(TiffSizes(folder / "as-stored.tif"), ElementsAre("20x40", "40x20", "20x40"));

    std::vector<std::string> list = inputs;
    list.insert(list.end(), {"--list", "--auto-orient", "--width", "10"});
    const std::string listed = Cli(list).out;
    EXPECT_THAT(listed, HasSubstr("six.tif\tframe 1 of 1\t40x20\t10x20\n"));
    EXPECT_THAT(listed, HasSubstr("three.tif\tframe 1 of 1\t40x20\t10x5\n"));
    EXPECT_THAT(listed, HasSubstr("eight.png\tframe 1 of 1\t40x20\t10x20\n"));
}

}  // namespace
}  // namespace vellumo::test
