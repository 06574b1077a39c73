// The newer photo formats over the shared "modern" corpus: every valid file that an
// independent decoder reads opens with the frames and size it found, and its pixels
// match what that decoder (heif-convert, djxl, dcraw_emu, opj_decompress, ImageMagick)
// makes of it; broken files are refused with a message, never a crash.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cctype>
#include <cstdlib>
#include <map>

#include "ReadTestSupport.h"
#include "imaging/ImageFile.h"
#include "support/CorpusManifest.h"

namespace vellumo::imaging {
namespace {

namespace fs = std::filesystem;

using test::ModernFile;

fs::path ModernDir() {
    return test::Corpora() / "modern";
}

std::vector<ModernFile> ReadManifest() {
    return test::ReadModernManifest(ModernDir() / "MANIFEST.tsv");
}

// The folders whose files this program now reads, and the independent decoder's command
// (input, output PNG/PPM) used for the pixel comparison; empty where sizes and frame
// counts are compared but not pixels.
const std::map<std::string, std::string>& Families() {
    static const std::map<std::string, std::string> families = {
        {"heif", "heif-convert -q 100 '%1' '%2.png' >/dev/null 2>&1"},
        {"avif", "heif-convert -q 100 '%1' '%2.png' >/dev/null 2>&1"},
        // djxl 0.7 writes samples of 9 to 15 bits into its PNGs wrongly: only 8 and 16.
        {"jxl", "jxlinfo '%1' | grep -qE ' (8|16)-bit' && djxl '%1' '%2.png' >/dev/null 2>&1"},
        {"raw", "dcraw_emu -w -Z '%2.ppm' '%1' >/dev/null 2>&1"},
        {"jp2", "opj_decompress -i '%1' -o '%2.png' >/dev/null 2>&1"},
        {"psd", "convert '%1[0]' '%2.png' >/dev/null 2>&1"},
        // Netpbm, not ImageMagick 6.9, which reads bottom-up files upside down. Neither
        // mirrors right-to-left files: the origins test below covers those.
        {"tga", "tgatoppm '%1' > '%2.ppm' 2>/dev/null"},
        {"webp", ""},
        {"svg", ""},
        {"emf", ""},
        {"wmf", ""},
        {"tiff-float", ""},  // clamping checked on made pages in the TIFF reader tests
    };
    return families;
}

// Pixels compared with the reference decoder: its family has one, and the picture is of
// a size a test can decode in full (not the 200-megapixel HEIC).
constexpr int64_t kMaxComparedPixels = 40'000'000;
bool Compared(const ModernFile& f) {
    return test::ModernMustRead(f) && !Families().at(f.family()).empty() &&
           f.path != "tga/kif_top_right.tga" && int64_t{f.width} * f.height <= kMaxComparedPixels;
}

int TotalFrames(const ImageFile& image) {
    int total = 0;
    for (const FrameDimensionCount& d : image.FrameDimensions()) {
        total += static_cast<int>(d.count);
    }
    return total;
}

// Drawings with text need the font database, which needs an application.
class ModernFormats : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "imaging_modern_tests";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
};

TEST_F(ModernFormats, ValidFilesOpenWithTheirFramesAndSizeAndBrokenOnesAreRefusedCleanly) {
    if (!fs::exists(ModernDir() / "MANIFEST.tsv")) {
        GTEST_SKIP() << "modern corpus not available";
    }
    int checked = 0;
    for (const ModernFile& f : ReadManifest()) {
        SCOPED_TRACE(f.path);
        ImageFile image = ImageFile::Open(ModernDir() / f.path);
        if (!test::ModernMustRead(f)) {
            // Anything else may be read or refused, but a refusal says why.
            EXPECT_TRUE(image.IsValid() || !image.Error().empty());
            if (image.IsValid()) {
                const QImage frame = image.DecodeForDisplay(QSize(64, 64));
                EXPECT_TRUE(!frame.isNull() || !image.Error().empty());
            }
            continue;
        }
        ASSERT_TRUE(image.IsValid()) << image.Error();
        const bool vector = f.family() == "emf" || f.family() == "svg" || f.family() == "wmf";
        // Raw files list no frames; for Photoshop files the manifest counts the layers too,
        // which are not pages.
        if (f.frames > 0 && f.family() != "raw" && f.family() != "psd") {
            EXPECT_EQ(TotalFrames(image), f.frames);
        }
        // Raw pixels stay as the sensor holds them, the manifest gives the upright size;
        // for JPEG XL and Photoshop files it gives the stored size (the pixel comparison
        // checks the turn).
        const bool turned = image.ExifOrientation() >= 5;
        const QSize size =
            turned ? QSize(image.Height(), image.Width()) : QSize(image.Width(), image.Height());
        if (f.family() == "jxl" || f.family() == "psd") {
            EXPECT_TRUE(size == QSize(f.width, f.height) || size == QSize(f.height, f.width));
        } else if (!vector) {
            EXPECT_EQ(size, QSize(f.width, f.height));
        }
        // Files without a reference comparison below are decoded here (the very large
        // ones only by the conversion of the whole corpus, in the convert tests).
        if (!Compared(f) && int64_t{f.width} * f.height <= kMaxComparedPixels) {
            const QImage frame = image.DecodeForDisplay(QSize(64, 64));
            EXPECT_FALSE(frame.isNull()) << image.Error();
            EXPECT_GE(frame.width(), std::min(64, image.Width()));
        }
        ++checked;
    }
    EXPECT_GE(checked, 60);
}

// Mean absolute difference per channel, both images as 8-bit RGB over white; against a
// reference without alpha (Netpbm's), our colours are taken as they are, alpha ignored.
double MeanDifference(QImage a, QImage b) {
    if (!b.hasAlphaChannel() && a.hasAlphaChannel()) {
        a = a.convertToFormat(QImage::Format_RGBA8888);
        a.reinterpretAsFormat(QImage::Format_RGBX8888);
    }
    auto overWhite = [](QImage& image) {
        QImage flat(image.size(), QImage::Format_RGB888);
        flat.fill(Qt::white);
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < image.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uchar* out = flat.scanLine(y);
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(in[x]);
                out[3 * x] = static_cast<uchar>(qRed(in[x]) + 255 - alpha);
                out[3 * x + 1] = static_cast<uchar>(qGreen(in[x]) + 255 - alpha);
                out[3 * x + 2] = static_cast<uchar>(qBlue(in[x]) + 255 - alpha);
            }
        }
        image = flat;
    };
    overWhite(a);
    overWhite(b);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 3; ++x) {
            sum += std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// The files compared, one test case each (named after the file), so that the slow ones
// (large photos through two decoders) run side by side and each stays within its time.
std::vector<std::string> ComparedFiles() {
    std::vector<std::string> paths;
    for (const ModernFile& f : ReadManifest()) {
        if (Compared(f)) {
            paths.push_back(f.path);
        }
    }
    return paths;
}

class ModernFile_ : public ModernFormats, public ::testing::WithParamInterface<std::string> {};

TEST_P(ModernFile_, FirstFrameMatchesAnIndependentDecoder) {
    ModernFile f;
    for (const ModernFile& row : ReadManifest()) {
        f = row.path == GetParam() ? row : f;
    }
    ASSERT_EQ(f.path, GetParam());
    test::ScratchDir scratch;
    const std::string output = (scratch / "reference").string();
    std::string command = Families().at(f.family());
    for (size_t at; (at = command.find("%1")) != std::string::npos;) {
        command.replace(at, 2, (ModernDir() / f.path).string());
    }
    command.replace(command.find("%2"), 2, output);
    if (std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "the reference decoder (installed by scripts/setup.sh) fails on it";
    }
    // heif-convert writes one file per image (name-1.png, ...) when there are several.
    QImage reference(QString::fromStdString(
        output + (f.family() == "raw" || f.family() == "tga" ? ".ppm" : ".png")));
    if (reference.isNull()) {
        reference.load(QString::fromStdString(output + "-1.png"));
    }
    if (reference.isNull()) {
        GTEST_SKIP() << "the reference decoder wrote nothing readable (odd ICC profiles)";
    }
    ImageFile image = ImageFile::Open(ModernDir() / f.path);
    ASSERT_TRUE(image.IsValid()) << image.Error();
    // The reference decoders leave the pixels in the file's colour space.
    QImage ours = image.DecodeForDisplay(QSize(), true);
    ASSERT_FALSE(ours.isNull()) << image.Error();
    // dcraw_emu turns the picture upright; we report the turn instead.
    const int orientation = f.family() == "raw" ? image.ExifOrientation() : 0;
    if (orientation == 3) {
        ours = ours.transformed(QTransform().rotate(180));
    } else if (orientation == 6) {
        ours = ours.transformed(QTransform().rotate(90));
    } else if (orientation == 8) {
        ours = ours.transformed(QTransform().rotate(270));
    }
    ASSERT_EQ(ours.size(), reference.size());
    EXPECT_LT(MeanDifference(ours, reference), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Modern, ModernFile_, ::testing::ValuesIn(ComparedFiles()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });
// Without the corpus there is nothing to compare.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ModernFile_);

// One picture stored from different corners and in other formats reads the same.
TEST_F(ModernFormats, TgaOriginsGiveTheSamePicture) {
    const std::vector<std::string> same = {"tga/kif_top_right.tga", "tga/kif_bottom_left.tga",
                                           "jxl/kif_orientation6.jxl"};
    for (const std::string& name : same) {
        VELLUMO_REQUIRE_FILE(ModernDir() / name);
    }
    const QImage first = ImageFile::Open(ModernDir() / same[0]).DecodeForDisplay(QSize());
    ASSERT_FALSE(first.isNull());
    for (size_t i = 1; i < same.size(); ++i) {
        const QImage other = ImageFile::Open(ModernDir() / same[i]).DecodeForDisplay(QSize());
        ASSERT_EQ(other.size(), first.size()) << same[i];
        EXPECT_LT(MeanDifference(first, other), 1.0) << same[i];
    }
}

}  // namespace
}  // namespace vellumo::imaging
