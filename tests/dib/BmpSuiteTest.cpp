// The reader against a public BMP conformance suite: good files must match the suite's
// reference renderings (decoded by Qt), bad and questionable files must fail cleanly or
// load with sane dimensions.

#include <gtest/gtest.h>
#include <QImage>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "dib/IndexedBitmap.h"

namespace vellumo::dib {
namespace {

namespace fs = std::filesystem;

fs::path Suite() {
    return fs::path(VELLUMO_CORPORA_DIR) / "bmpsuite";
}

std::set<std::string> BmpFilesIn(const char* folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Suite() / folder)) {
        if (entry.path().extension() == ".bmp") {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

// Opaque reference pixels that `image` misses by more than `tolerance` in a channel
// (transparent ones have no defined colour to compare with).
int Mismatches(const CIndexedBitmap& image, const QImage& reference, int tolerance) {
    const QImage argb = reference.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    const int32_t height = image.header.biHeight;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < image.header.biWidth; ++x) {
            const QRgb want = argb.pixel(x, height - 1 - y);
            const RGBQUAD c = image.ReadColor(x, y);
            if (qAlpha(want) == 255 && (std::abs(c.rgbRed - qRed(want)) > tolerance ||
                                        std::abs(c.rgbGreen - qGreen(want)) > tolerance ||
                                        std::abs(c.rgbBlue - qBlue(want)) > tolerance)) {
                ++count;
            }
        }
    }
    return count;
}

// Loads `file` (folder/name) and compares it with `reference`; an empty text when alike.
std::string CompareWithReference(const std::string& file, const std::string& reference,
                                 int tolerance = 0) {
    CIndexedBitmap image;
    if (!image.LoadBmp(Suite() / file)) {
        return std::string("load failed: ") + image.lastError;
    }
    const QImage expected(QString::fromStdString((Suite() / "reference" / reference).string()));
    if (expected.isNull()) {
        return "reference not decoded";
    }
    if (expected.width() != image.header.biWidth || expected.height() != image.header.biHeight) {
        return "size differs";
    }
    const int bad = Mismatches(image, expected, tolerance);
    return bad == 0 ? std::string() : std::to_string(bad) + " pixels differ";
}

// What a file of the suite must give: a failure with `reason`, or an image that matches
// `reference` (when given) or at least has the suite's 127 x 64 size.
struct Outcome {
    const char* reason = nullptr;
    const char* reference = nullptr;
};

void CheckFolder(const char* folder, const std::map<std::string, Outcome>& outcomes) {
    for (const std::string& name : BmpFilesIn(folder)) {
        const std::string file = std::string(folder) + "/" + name;
        const auto it = outcomes.find(name);
        ASSERT_NE(it, outcomes.end()) << "no outcome listed for " << file;
        const Outcome& want = it->second;
        CIndexedBitmap image;
        const bool loaded = image.LoadBmp(Suite() / file);
        if (want.reason != nullptr) {
            EXPECT_FALSE(loaded) << file;
            EXPECT_STREQ(image.lastError, want.reason) << file;
            EXPECT_FALSE(image.HasImage()) << file;
        } else if (want.reference != nullptr) {
            EXPECT_EQ(CompareWithReference(file, want.reference, 1), "") << file;
        } else {
            ASSERT_TRUE(loaded) << file << ": " << image.lastError;
            EXPECT_EQ(image.header.biWidth, 127) << file;
            EXPECT_EQ(image.header.biHeight, 64) << file;
        }
    }
}

class DibBmpSuite : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(Suite() / "g")) {
            GTEST_SKIP() << "BMP suite not present at " << Suite();
        }
    }
};

TEST_F(DibBmpSuite, EveryGoodFileMatchesItsReference) {
    const std::map<std::string, std::string> references = {
        {"pal1.bmp", "pal1.png"},
        {"pal1wb.bmp", "pal1.png"},
        {"pal1bg.bmp", "pal1bg.png"},
        {"pal4.bmp", "pal4.png"},
        {"pal4gs.bmp", "pal4gs.png"},
        {"pal4rle.bmp", "pal4.png"},
        {"pal8.bmp", "pal8.png"},
        {"pal8-0.bmp", "pal8.png"},
        {"pal8gs.bmp", "pal8gs.png"},
        {"pal8rle.bmp", "pal8.png"},
        {"pal8w124.bmp", "pal8w124.png"},
        {"pal8w125.bmp", "pal8w125.png"},
        {"pal8w126.bmp", "pal8w126.png"},
        {"pal8topdown.bmp", "pal8.png"},
        {"pal8nonsquare.bmp", "pal8nonsquare-e.png"},
        {"pal8os2.bmp", "pal8.png"},
        {"pal8v4.bmp", "pal8.png"},
        {"pal8v5.bmp", "pal8.png"},
        {"rgb16.bmp", "rgb16.png"},
        {"rgb16bfdef.bmp", "rgb16.png"},
        {"rgb16-565.bmp", "rgb16-565.png"},
        {"rgb16-565pal.bmp", "rgb16-565.png"},
        {"rgb24.bmp", "rgb24.png"},
        {"rgb24pal.bmp", "rgb24.png"},
        {"rgb32.bmp", "rgb24.png"},
        {"rgb32bfdef.bmp", "rgb24.png"},
        {"rgb32bf.bmp", "rgb24.png"}};
    for (const std::string& name : BmpFilesIn("g")) {
        const auto it = references.find(name);
        ASSERT_NE(it, references.end()) << "no reference listed for g/" << name;
        EXPECT_EQ(CompareWithReference("g/" + name, it->second), "") << "g/" << name;
    }
}

TEST_F(DibBmpSuite, BadFilesAreRefusedOrLoadWithTheirDamage) {
    // Broken fields the reader does not use leave a correct image; broken run-length
    // codes, indexes and truncation give a clipped one.
    CheckFolder("b", {{"badbitcount.bmp", {"Error reading BMP info"}},
                      {"badwidth.bmp", {"Error reading BMP info"}},
                      {"reallybig.bmp", {"Can't allocate memory"}},
                      {"rletopdown.bmp", {"compression type not supported"}},
                      {"badbitssize.bmp", {nullptr, "pal1.png"}},
                      {"baddens1.bmp", {nullptr, "pal1.png"}},
                      {"baddens2.bmp", {nullptr, "pal1.png"}},
                      {"badfilesize.bmp", {nullptr, "pal1.png"}},
                      {"badheadersize.bmp", {nullptr, "pal1.png"}},
                      {"badplanes.bmp", {nullptr, "pal1.png"}},
                      {"badpalettesize.bmp", {nullptr, "pal8.png"}},
                      {"rgb16-880.bmp", {nullptr, "rgb16-880.png"}},
                      {"badrle.bmp", {}},
                      {"badrlebis.bmp", {}},
                      {"badrleter.bmp", {}},
                      {"badrle4.bmp", {}},
                      {"badrle4bis.bmp", {}},
                      {"badrle4ter.bmp", {}},
                      {"pal8badindex.bmp", {}},
                      {"shortfile.bmp", {}}});
}

TEST_F(DibBmpSuite, QuestionableFilesMatchTheirReferenceOrAreRefused) {
    // Colour profiles are not applied (rgb24prof2 swaps channels through its profile).
    // Pixels skipped by run-length codes are palette index 0 (the "-0" renderings).
    CheckFolder("q", {{"pal1huffmsb.bmp", {"compression type not supported"}},
                      {"rgb24jpeg.bmp", {"compression type not supported"}},
                      {"rgb24png.bmp", {"compression type not supported"}},
                      {"rgb24rle24.bmp", {"unknown compression"}},
                      {"rgba64.bmp", {"Error reading BMP info"}},
                      {"rgb24prof2.bmp", {}},
                      {"pal1p1.bmp", {nullptr, "pal1p1.png"}},
                      {"pal2.bmp", {nullptr, "pal2.png"}},
                      {"pal2color.bmp", {nullptr, "pal2color.png"}},
                      {"pal4rlecut.bmp", {nullptr, "pal4rlecut-0.png"}},
                      {"pal4rletrns.bmp", {nullptr, "pal4rletrns-0.png"}},
                      {"pal8rlecut.bmp", {nullptr, "pal8rlecut-0.png"}},
                      {"pal8rletrns.bmp", {nullptr, "pal8rletrns-0.png"}},
                      {"pal8offs.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2-hs.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2-sz.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2sp.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2v2.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2v2-16.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2v2-40sz.bmp", {nullptr, "pal8.png"}},
                      {"pal8os2v2-sz.bmp", {nullptr, "pal8.png"}},
                      {"pal8oversizepal.bmp", {nullptr, "pal8.png"}},
                      {"rgb16-231.bmp", {nullptr, "rgb16-231.png"}},
                      {"rgb16-3103.bmp", {nullptr, "rgb16-3103.png"}},
                      {"rgb16faketrns.bmp", {nullptr, "rgb16.png"}},
                      {"rgb24largepal.bmp", {nullptr, "rgb24.png"}},
                      {"rgb24lprof.bmp", {nullptr, "rgb24.png"}},
                      {"rgb24prof.bmp", {nullptr, "rgb24.png"}},
                      {"rgb32-111110.bmp", {nullptr, "rgb24.png"}},
                      {"rgb32-7187.bmp", {nullptr, "rgb32-7187.png"}},
                      {"rgb32-xbgr.bmp", {nullptr, "rgb24.png"}},
                      {"rgb32fakealpha.bmp", {nullptr, "rgb24.png"}},
                      {"rgb32h52.bmp", {nullptr, "rgb24.png"}},
                      {"rgba16-1924.bmp", {nullptr, "rgba16-1924.png"}},
                      {"rgba16-4444.bmp", {nullptr, "rgba16-4444.png"}},
                      {"rgba16-5551.bmp", {nullptr, "rgba16-5551.png"}},
                      {"rgba32-1.bmp", {nullptr, "rgba32.png"}},
                      {"rgba32-2.bmp", {nullptr, "rgba32.png"}},
                      {"rgba32-1010102.bmp", {nullptr, "rgba32-1010102.png"}},
                      {"rgba32-61754.bmp", {nullptr, "rgba32-61754.png"}},
                      {"rgba32-81284.bmp", {nullptr, "rgba32-81284.png"}},
                      {"rgba32abf.bmp", {nullptr, "rgba32.png"}},
                      {"rgba32h56.bmp", {nullptr, "rgba32.png"}}});
    // An OS/2 bitmap array wraps the BMP in a header of its own: not read.
    CheckFolder("x", {{"ba-bm.bmp", {"Error reading BMP info"}}});
}

}  // namespace
}  // namespace vellumo::dib
