// Opening real files: sizes, frames, resolution and orientation from the header, and
// the decoded pixels drawn onto pages.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
// clang-format on

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "CmykJpeg.h"
#include "ReadTestSupport.h"
#include "imaging/ImageFile.h"
#include "imaging/ReadFile.h"
#include "imaging/Resampler.h"
#include "imaging/TiffSamples.h"

namespace vellumo::imaging {
namespace {

using test::Corpora;

std::vector<std::filesystem::path> CameraJpegs() {
    std::vector<std::filesystem::path> files;
    const auto dir = Corpora() / "exif-samples" / "jpg";
    if (!std::filesystem::exists(dir)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.path().extension() == ".jpg") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// ---- probing ----

TEST(ProbeJpeg, CameraPhotoSizesMatchAnIndependentReader) {
    const auto files = CameraJpegs();
    if (files.empty()) {
        GTEST_SKIP() << "exif-samples corpus not available";
    }
    int compared = 0;
    for (const auto& path : files) {
        const QSize expected = QImageReader(QString::fromStdString(path.string()), "jpeg").size();
        ImageFile image = ImageFile::Open(path);
        if (!expected.isValid()) {
            continue;  // a file Qt cannot read either
        }
        ASSERT_TRUE(image.IsValid()) << path << ": " << image.Error();
        EXPECT_EQ(image.FormatName(), "JPEG");
        EXPECT_EQ(image.Width(), expected.width()) << path;
        EXPECT_EQ(image.Height(), expected.height()) << path;
        const auto dims = image.FrameDimensions();
        ASSERT_EQ(dims.size(), 1u);
        EXPECT_EQ(dims[0].dimension, FrameDimension::Page);
        EXPECT_EQ(dims[0].count, 1u);
        EXPECT_GT(image.HorizontalResolution(), 0);
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

// Cut a photo right after its start-of-scan header: no pixel data at all is left,
// yet opening reports the size, because opening reads the header only. Drawing it
// then fails instead of producing a grey page.
TEST(ProbeJpeg, OpeningReadsTheHeaderOnly) {
    const auto path = test::Corpora() / "exif-orientation" / "Landscape_1.jpg";
    VELLUMO_REQUIRE_FILE(path);
    std::vector<uint8_t> bytes = test::ReadBytes(path);
    size_t sos = 0;
    for (size_t i = 2; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) {
            sos = i + 2 + ((bytes[i + 2] << 8) | bytes[i + 3]);
            break;
        }
    }
    ASSERT_GT(sos, 0u);
    bytes.resize(sos);
    test::ScratchDir dir;
    test::WriteBytes(dir / "header-only.jpg", bytes);

    ImageFile image = ImageFile::Open(dir / "header-only.jpg");
    ASSERT_TRUE(image.IsValid()) << image.Error();
    EXPECT_EQ(image.Width(), 1800);
    EXPECT_EQ(image.Height(), 1200);
    PageBitmap page = test::WhitePage(180, 120);
    EXPECT_FALSE(image.DrawActiveFrame(page, {0, 0, 180, 120}));
    EXPECT_FALSE(image.Error().empty());
}

TEST(ProbeJpeg, ExifOrientationOfEachExampleIsItsNumber) {
    int checked = 0;
    for (const char* kind : {"Landscape", "Portrait"}) {
        for (int n = 0; n <= 8; ++n) {
            const auto path = Corpora() / "exif-orientation" /
                              (std::string(kind) + "_" + std::to_string(n) + ".jpg");
            if (!std::filesystem::exists(path)) {
                continue;
            }
            ImageFile image = ImageFile::Open(path);
            ASSERT_TRUE(image.IsValid()) << path;
            EXPECT_EQ(image.ExifOrientation(), n) << path;  // _0 carries an invalid value
            ++checked;
        }
    }
    if (checked == 0) {
        GTEST_SKIP() << "exif-orientation corpus not available";
    }
    EXPECT_EQ(checked, 18);
}

// Files written here with a known resolution in each format's own field.
TEST(ProbeResolution, ReadFromEachFormatsHeaderAnd96WhenNone) {
    test::ScratchDir dir;
    QImage picture(16, 8, QImage::Format_RGB888);
    picture.fill(Qt::darkCyan);
    const struct {
        const char* name;
        const char* format;
        double dpi;
    } cases[] = {{"a.png", "png", 300}, {"a.jpg", "jpeg", 200}, {"a.bmp", "bmp", 150}};
    for (const auto& c : cases) {
        QImage copy = picture;
        copy.setDotsPerMeterX(static_cast<int>(std::lround(c.dpi / 0.0254)));
        copy.setDotsPerMeterY(copy.dotsPerMeterX());
        ASSERT_TRUE(copy.save(QString::fromStdString((dir / c.name).string()), c.format));
        ImageFile image = ImageFile::Open(dir / c.name);
        ASSERT_TRUE(image.IsValid()) << c.name;
        EXPECT_NEAR(image.HorizontalResolution(), c.dpi, 0.6) << c.name;
    }

    // TIFF in dots per centimetre.
    const std::string tiffPath = (dir / "a.tif").string();
    TIFF* tif = TIFFOpen(tiffPath.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 4);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 100.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 100.0f);
    uint8_t row[12] = {};
    ASSERT_EQ(TIFFWriteScanline(tif, row, 0, 0), 1);
    ASSERT_EQ(TIFFWriteScanline(tif, row, 1, 0), 1);
    TIFFClose(tif);
    EXPECT_NEAR(ImageFile::Open(dir / "a.tif").HorizontalResolution(), 254.0, 0.01);

    // GIF records no resolution at all.
    const auto gif = Corpora() / "gif-test-suite" / "gifs" / "animated_loop.gif";
    if (std::filesystem::exists(gif)) {
        EXPECT_DOUBLE_EQ(ImageFile::Open(gif).HorizontalResolution(), 96.0);
    }
}

TEST(ProbeFormat, ContentNotTheNameDecidesTheDecoder) {
    test::ScratchDir dir;
    QImage picture(10, 6, QImage::Format_RGB888);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "really-a-png.jpg").string()), "png"));
    ImageFile image = ImageFile::Open(dir / "really-a-png.jpg");
    ASSERT_TRUE(image.IsValid()) << image.Error();
    EXPECT_EQ(image.FormatName(), "PNG");
    EXPECT_EQ(image.Width(), 10);
}

TEST(ProbeFormat, MissingAndNonImageFilesAreNotValidAndEveryCallFails) {
    test::ScratchDir dir;
    test::WriteBytes(dir / "notes.jpg", {'h', 'e', 'l', 'l', 'o', '\n'});
    for (const auto& path : {dir / "notes.jpg", dir / "missing.png", dir.path()}) {
        ImageFile image = ImageFile::Open(path);
        EXPECT_FALSE(image.IsValid()) << path;
        EXPECT_FALSE(image.Error().empty());
        EXPECT_TRUE(image.FrameDimensions().empty());
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(image.Height(), 0);
        EXPECT_FALSE(image.SelectActiveFrame(FrameDimension::Page, 0));
        PageBitmap page = test::WhitePage(4, 4);
        EXPECT_FALSE(image.DrawActiveFrame(page, {0, 0, 4, 4}));
        EXPECT_TRUE(image.DecodeForDisplay(QSize(4, 4)).isNull());
    }
}

// ---- multi-frame files ----

// Four pages of different sizes, colours and resolutions, written with libtiff.
std::filesystem::path WriteFourPageTiff(const test::ScratchDir& dir) {
    const auto path = dir / "four.tif";
    TIFF* tif = TIFFOpen(path.string().c_str(), "w");
    EXPECT_NE(tif, nullptr);
    const struct {
        uint32_t w, h;
        uint8_t r, g, b;
        float dpi;
    } pages[] = {{40, 30, 255, 0, 0, 72},
                 {25, 60, 0, 255, 0, 150},
                 {70, 10, 0, 0, 255, 300},
                 {33, 33, 90, 90, 90, 96}};
    for (const auto& p : pages) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, p.w);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, p.h);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, p.dpi);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, p.dpi);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        std::vector<uint8_t> row(p.w * 3);
        for (uint32_t x = 0; x < p.w; ++x) {
            row[x * 3] = p.r;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.b;
        }
        for (uint32_t y = 0; y < p.h; ++y) {
            EXPECT_EQ(TIFFWriteScanline(tif, row.data(), y, 0), 1);
        }
        EXPECT_EQ(TIFFWriteDirectory(tif), 1);
    }
    TIFFClose(tif);
    return path;
}

TEST(MultiFrame, FourPageTiffGivesOneFrameEachWithItsOwnSizeAndResolution) {
    test::ScratchDir dir;
    ImageFile image = ImageFile::Open(WriteFourPageTiff(dir));
    ASSERT_TRUE(image.IsValid()) << image.Error();
    EXPECT_EQ(image.FormatName(), "TIFF");
    const auto dims = image.FrameDimensions();
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0].dimension, FrameDimension::Page);
    ASSERT_EQ(dims[0].count, 4u);

    const struct {
        int32_t w, h;
        Rgb colour;
        double dpi;
    } expected[] = {{40, 30, {255, 0, 0}, 72},
                    {25, 60, {0, 255, 0}, 150},
                    {70, 10, {0, 0, 255}, 300},
                    {33, 33, {90, 90, 90}, 96}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(image.SelectActiveFrame(FrameDimension::Page, i));
        EXPECT_EQ(image.Width(), expected[i].w);
        EXPECT_EQ(image.Height(), expected[i].h);
        EXPECT_NEAR(image.HorizontalResolution(), expected[i].dpi, 0.01);
        PageBitmap page = test::WhitePage(expected[i].w, expected[i].h);
        ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, expected[i].w, expected[i].h}));
        EXPECT_EQ(page.pixel(0, 0), expected[i].colour);
        EXPECT_EQ(page.pixel(expected[i].w - 1, expected[i].h - 1), expected[i].colour);
    }
    // Out of range, or in a dimension the file does not have: the active frame stays.
    EXPECT_FALSE(image.SelectActiveFrame(FrameDimension::Page, 4));
    EXPECT_FALSE(image.SelectActiveFrame(FrameDimension::Time, 0));
    EXPECT_EQ(image.Width(), 33);
}

TEST(MultiFrame, TiffDirectoryLoopsEndAndEveryListedPageIsUsable) {
    const auto dir = Corpora() / "libtiff" / "test-images";
    VELLUMO_REQUIRE_FILE(dir);
    for (const char* name : {"test_ifd_loop_to_self.tif", "test_ifd_loop_to_first.tif",
                             "test_ifd_loop_subifd.tif", "test_two_ifds.tif"}) {
        ImageFile image = ImageFile::Open(dir / name);
        ASSERT_TRUE(image.IsValid()) << name << ": " << image.Error();
        const auto dims = image.FrameDimensions();
        ASSERT_EQ(dims.size(), 1u);
        EXPECT_GE(dims[0].count, 1u) << name;
        EXPECT_LE(dims[0].count, 5u) << name << ": the loop was followed";
        for (uint32_t i = 0; i < dims[0].count; ++i) {
            ASSERT_TRUE(image.SelectActiveFrame(FrameDimension::Page, static_cast<int32_t>(i)));
            PageBitmap page =
                test::WhitePage(std::max(1, image.Width()), std::max(1, image.Height()));
            image.DrawActiveFrame(page, {0, 0, page.width(), page.height()});
        }
    }
    EXPECT_EQ(ImageFile::Open(dir / "test_two_ifds.tif").FrameDimensions()[0].count, 2u);
}

PageBitmap DrawWhole(const std::filesystem::path& path) {
    ImageFile image = ImageFile::Open(path);
    EXPECT_TRUE(image.IsValid()) << path << ": " << image.Error();
    PageBitmap page = test::WhitePage(std::max(1, image.Width()), std::max(1, image.Height()));
    EXPECT_TRUE(image.DrawActiveFrame(page, {0, 0, page.width(), page.height()}))
        << path << ": " << image.Error();
    return page;
}

QImage View(const PageBitmap& page) {
    return QImage(page.data(), page.width(), page.height(), static_cast<qsizetype>(page.stride()),
                  QImage::Format_RGB888);
}

// Our sample reader against libtiff's own RGBA reader, on the pages both can read.
TEST(DecodeTiff, OwnSampleReaderAgreesWithLibtiffWhereBothRead) {
    const auto dir = Corpora() / "libtiff-pics" / "depth";
    VELLUMO_REQUIRE_FILE(dir);
    for (const char* name :
         {"flower-minisblack-02.tif", "flower-minisblack-04.tif", "flower-minisblack-08.tif",
          "flower-minisblack-16.tif", "flower-palette-02.tif", "flower-palette-04.tif",
          "flower-palette-08.tif", "flower-rgb-contig-08.tif", "flower-rgb-contig-16.tif",
          "flower-rgb-planar-08.tif", "flower-rgb-planar-16.tif", "flower-separated-contig-08.tif",
          "flower-separated-planar-08.tif"}) {
        const PageBitmap viaLibtiff = DrawWhole(dir / name);
        TIFF* tif = TIFFOpen((dir / name).string().c_str(), "r");
        ASSERT_NE(tif, nullptr) << name;
        std::string error;
        const QImage ours =
            DecodeTiffSamples(tif, viaLibtiff.width(), viaLibtiff.height(), {}, error);
        TIFFClose(tif);
        ASSERT_FALSE(ours.isNull()) << name << ": " << error;
        EXPECT_LT(test::MeanAbsDiff(viaLibtiff, ours), 0.5) << name;  // CMYK rounds differently
    }
}

// Sizes only our reader takes: the same picture stored contiguous and planar decodes
// the same, and looks like the 8-bit picture up to the coarser steps.
TEST(DecodeTiff, SampleSizesLibtiffRefusesDecodeInBothLayouts) {
    const auto dir = Corpora() / "libtiff-pics" / "depth";
    VELLUMO_REQUIRE_FILE(dir);
    const PageBitmap reference = DrawWhole(dir / "flower-rgb-contig-08.tif");
    for (const int bits : {2, 4, 10, 12, 14}) {
        char contig[64], planar[64];
        std::snprintf(contig, sizeof contig, "flower-rgb-contig-%02d.tif", bits);
        std::snprintf(planar, sizeof planar, "flower-rgb-planar-%02d.tif", bits);
        const PageBitmap a = DrawWhole(dir / contig);
        const PageBitmap b = DrawWhole(dir / planar);
        ASSERT_EQ(a.byteSize(), b.byteSize());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.byteSize()), 0) << bits;
        const double tolerance = bits == 2 ? 45.0 : bits == 4 ? 12.0 : 2.0;
        EXPECT_LT(test::MeanAbsDiff(a, View(reference)), tolerance) << contig;
    }
    for (const char* name :
         {"flower-minisblack-10.tif", "flower-minisblack-12.tif", "flower-minisblack-14.tif"}) {
        EXPECT_LT(test::MeanAbsDiff(DrawWhole(dir / name),
                                    View(DrawWhole(dir / "flower-minisblack-08.tif"))),
                  2.0)
            << name;
    }
    const PageBitmap cmyk16 = DrawWhole(dir / "flower-separated-contig-16.tif");
    EXPECT_LT(test::MeanAbsDiff(cmyk16, View(DrawWhole(dir / "flower-separated-contig-08.tif"))),
              2.0);
    const PageBitmap cmyk16planar = DrawWhole(dir / "flower-separated-planar-16.tif");
    EXPECT_EQ(std::memcmp(cmyk16.data(), cmyk16planar.data(), cmyk16.byteSize()), 0);
    EXPECT_LT(test::MeanAbsDiff(DrawWhole(dir / "flower-palette-16.tif"),
                                View(DrawWhole(dir / "flower-palette-08.tif"))),
              40.0);
}

TEST(MultiFrame, AnimatedGifHasOneFramePerImageInTheTimeDimension) {
    const auto path = Corpora() / "gif-test-suite" / "gifs" / "animated_loop.gif";
    VELLUMO_REQUIRE_FILE(path);
    ImageFile image = ImageFile::Open(path);
    ASSERT_TRUE(image.IsValid()) << image.Error();
    EXPECT_EQ(image.FormatName(), "GIF");
    const auto dims = image.FrameDimensions();
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0].dimension, FrameDimension::Time);
    EXPECT_EQ(dims[0].count, 4u);
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(image.SelectActiveFrame(FrameDimension::Time, i));
        EXPECT_EQ(image.Width(), 100);
        EXPECT_EQ(image.Height(), 100);
    }
    EXPECT_FALSE(image.SelectActiveFrame(FrameDimension::Page, 0));
}

TEST(MultiFrame, IconShowsItsLargestImageAsTheOnlyFrame) {
    const auto path = Corpora() / "mozilla-ico" / "mozilla" / "ico-mixed" / "mixed-bmp-png.ico";
    VELLUMO_REQUIRE_FILE(path);
    ImageFile image = ImageFile::Open(path);
    ASSERT_TRUE(image.IsValid()) << image.Error();
    const auto dims = image.FrameDimensions();
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0].count, 1u);
    EXPECT_EQ(image.Width(), 48);  // entries of 48, 32, 24 and 16 pixels
    EXPECT_EQ(image.Height(), 48);
    const QImage reference(
        QString::fromStdString((path.parent_path() / "mixed-bmp-png48.png").string()));
    ASSERT_FALSE(reference.isNull());
    PageBitmap page = test::WhitePage(48, 48);
    ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, 48, 48}));
    EXPECT_LT(test::MeanAbsDiff(page, test::OverWhite(reference)), 1.0);
}

// ---- decoding and drawing ----

// The reduced-scale decode plus our bicubic stays close to a full decode by another
// decoder followed by the same bicubic.
TEST(DecodeJpeg, ReducedScaleDecodeMatchesFullDecodeThenScale) {
    const auto path = Corpora() / "exif-orientation" / "Landscape_1.jpg";
    VELLUMO_REQUIRE_FILE(path);
    QImage full(QString::fromStdString(path.string()), "jpeg");
    ASSERT_FALSE(full.isNull());
    full.convertTo(QImage::Format_RGB888);
    for (const auto& [w, h] : {std::pair{1024, 683}, std::pair{400, 266}, std::pair{200, 133}}) {
        PageBitmap expected = test::WhitePage(w, h);
        ASSERT_TRUE(DrawBicubic({full.constBits(), full.width(), full.height(),
                                 static_cast<size_t>(full.bytesPerLine()), SourceLayout::Rgb},
                                {expected.data(), w, h, expected.stride()}, {0, 0, w, h}));
        ImageFile image = ImageFile::Open(path);
        PageBitmap page = test::WhitePage(w, h);
        ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, w, h})) << image.Error();
        QImage expectedImage(expected.data(), w, h, static_cast<qsizetype>(expected.stride()),
                             QImage::Format_RGB888);
        EXPECT_LT(test::MeanAbsDiff(page, expectedImage), 2.0) << w << "x" << h;
    }
}

// The reduced scale keeps twice the target's size, so that scaling still has detail to
// work with.
TEST(DecodeJpeg, ReducedScaleCoversTwiceTheTarget) {
    const auto path = Corpora() / "exif-orientation" / "Landscape_1.jpg";
    VELLUMO_REQUIRE_FILE(path);
    ImageFile image = ImageFile::Open(path);
    const struct {
        QSize target, decoded;
    } cases[] = {
        {QSize(100, 50), QSize(225, 150)},     // 1/8 of 1800 x 1200
        {QSize(200, 100), QSize(450, 300)},    // 1/8 would be less than twice as wide
        {QSize(400, 300), QSize(900, 600)},    // 1/4 would be less than twice as high
        {QSize(800, 500), QSize(1800, 1200)},  // 1/2 would be less than twice as wide
        {QSize(), QSize(1800, 1200)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(image.DecodeForDisplay(c.target).size(), c.decoded) << c.target.width();
    }
}

// A photo drawn whole at its own size is decoded straight onto the page; the page must
// hold exactly the full decode, colour conversion included, for every kind of JPEG.
TEST(DecodeJpeg, PhotoAtItsOwnSizeIsDecodedOntoThePageAsDecoded) {
    std::vector<std::filesystem::path> paths = {
        Corpora() / "exif-orientation" / "Landscape_1.jpg",
        Corpora() / "exif-samples" / "jpg" / "orientation" / "landscape_3.jpg"};  // a profile
    const auto suite = Corpora() / "jpegsuite" / "jpeg";
    VELLUMO_REQUIRE_FILE(paths[0]);
    if (std::filesystem::exists(suite)) {
        for (const auto& file : std::filesystem::recursive_directory_iterator(suite)) {
            if (file.path().extension() == ".jpg") {
                paths.push_back(file.path());  // progressive, arithmetic, grey, CMYK...
            }
        }
    }
    int compared = 0;
    for (const auto& path : paths) {
        ImageFile image = ImageFile::Open(path);
        if (!image.IsValid()) {
            continue;
        }
        const QImage decoded = image.DecodeForDisplay(QSize());
        if (decoded.isNull() || decoded.format() != QImage::Format_RGB888) {
            continue;  // a file only the scaler's path takes, or one that does not decode
        }
        PageBitmap page = test::WhitePage(decoded.width(), decoded.height());
        ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, page.width(), page.height()}, 2))
            << path << ": " << image.Error();
        for (int32_t y = 0; y < page.height(); ++y) {
            ASSERT_EQ(std::memcmp(page.row(y), decoded.constScanLine(y), page.stride()), 0)
                << path << " row " << y;
        }
        ++compared;
    }
    EXPECT_GE(compared, 2);
}

// Four quadrants of pure ink: cyan, magenta, yellow, half black.
uint8_t QuadrantInk(int x, int y, int channel) {
    const int quadrant = x < 8 && y < 8 ? 0 : x >= 8 && y < 8 ? 1 : x < 8 ? 2 : 3;
    return quadrant != channel ? 0 : quadrant == 3 ? 128 : 255;
}

TEST(DecodeJpeg, CmykAndYcckPhotosComeOutInTheirInkColours) {
    test::ScratchDir dir;
    const struct {
        const char* name;
        J_COLOR_SPACE stored;
        bool adobe;
    } cases[] = {{"adobe-cmyk.jpg", JCS_CMYK, true},
                 {"ycck.jpg", JCS_YCCK, true},
                 {"plain-cmyk.jpg", JCS_CMYK, false}};
    for (const auto& c : cases) {
        test::WriteCmykJpeg(dir / c.name, c.stored, c.adobe, QuadrantInk);
        ImageFile image = ImageFile::Open(dir / c.name);
        ASSERT_TRUE(image.IsValid()) << c.name << ": " << image.Error();
        PageBitmap page = test::WhitePage(16, 16);
        ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, 16, 16})) << image.Error();
        const auto near = [](Rgb a, Rgb b) {
            return std::abs(a.r - b.r) <= 6 && std::abs(a.g - b.g) <= 6 && std::abs(a.b - b.b) <= 6;
        };
        EXPECT_TRUE(near(page.pixel(3, 3), {0, 255, 255})) << c.name;
        EXPECT_TRUE(near(page.pixel(12, 3), {255, 0, 255})) << c.name;
        EXPECT_TRUE(near(page.pixel(3, 12), {255, 255, 0})) << c.name;
        EXPECT_TRUE(near(page.pixel(12, 12), {127, 127, 127})) << c.name;
    }
    // The suite's CMYK files decode too (their inks follow the other convention, so
    // only their decoding is checked here).
    const auto suite = Corpora() / "jpegsuite" / "jpeg" / "baseline" / "32x32x8_cmyk.jpg";
    if (std::filesystem::exists(suite)) {
        ImageFile image = ImageFile::Open(suite);
        PageBitmap page = test::WhitePage(32, 32);
        EXPECT_TRUE(image.DrawActiveFrame(page, {0, 0, 32, 32})) << image.Error();
    }
}

TEST(DecodeAlpha, TransparentAreasShowTheWhitePage) {
    test::ScratchDir dir;
    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) {
            picture.setPixel(x, y, qRgba(200, 30, 10, 255));
        }
    }
    ASSERT_TRUE(picture.save(QString::fromStdString((dir / "half.png").string()), "png"));
    ImageFile image = ImageFile::Open(dir / "half.png");
    ASSERT_TRUE(image.IsValid()) << image.Error();
    PageBitmap page = test::WhitePage(80, 40);
    ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, 80, 40}));
    EXPECT_EQ(page.pixel(5, 20), kWhite);
    EXPECT_EQ(page.pixel(30, 5), kWhite);
    EXPECT_EQ(page.pixel(75, 20), (Rgb{200, 30, 10}));
}

// The suite's expected pixels: a JSON array of straight RGBA samples, 8-bit, or 16-bit
// for a few files that have no 8-bit version.
std::optional<QImage> ExpectedPng(const std::filesystem::path& json, int32_t w, int32_t h) {
    const std::vector<uint8_t> text = test::ReadBytes(json);
    std::vector<int> values;
    int current = -1;
    for (const uint8_t ch : text) {
        if (ch >= '0' && ch <= '9') {
            current = (current < 0 ? 0 : current * 10) + (ch - '0');
        } else if (current >= 0) {
            values.push_back(current);
            current = -1;
        }
    }
    if (values.size() != static_cast<size_t>(w) * static_cast<size_t>(h) * 4) {
        return std::nullopt;
    }
    const bool sixteen = *std::max_element(values.begin(), values.end()) > 255;
    QImage image(w, h, QImage::Format_RGBA8888);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w * 4; ++x) {
            const int v = values[static_cast<size_t>(y * w * 4 + x)];
            image.scanLine(y)[x] = static_cast<uint8_t>(sixteen ? (v * 255 + 32767) / 65535 : v);
        }
    }
    return image;
}

TEST(DecodePng, EveryValidFileOfTheSuiteMatchesItsExpectedPixels) {
    const auto dir = Corpora() / "pngsuite";
    VELLUMO_REQUIRE_FILE(dir / "expected-rgba-json");
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "png")) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".png" || stem[0] == 'x') {
            continue;  // x*: the deliberately corrupt files, checked with the hostile ones
        }
        auto json = dir / "expected-rgba-json" / (stem + "_to8.json");  // 16-bit files
        if (!std::filesystem::exists(json)) {
            json = dir / "expected-rgba-json" / (stem + ".json");
        }
        ImageFile image = ImageFile::Open(entry.path());
        ASSERT_TRUE(image.IsValid()) << stem << ": " << image.Error();
        const int32_t w = image.Width(), h = image.Height();
        PageBitmap page = test::WhitePage(w, h);
        // The suite's expected pixels are the stored samples, before gAMA/cHRM/iCCP apply.
        ASSERT_TRUE(image.DrawActiveFrame(page, {0, 0, w, h}, 1, true))
            << stem << ": " << image.Error();
        if (!std::filesystem::exists(json)) {
            continue;
        }
        const auto expected = ExpectedPng(json, w, h);
        ASSERT_TRUE(expected.has_value()) << json;
        // 16-bit samples may round one step differently.
        EXPECT_LT(test::MeanAbsDiff(page, test::OverWhite(*expected)), 0.5) << stem;
        ++compared;
    }
    EXPECT_GT(compared, 150);
}

// ---- valid files other readers take ----

// Largest difference in any channel between a page and an image of its size, over the
// image's opaque pixels (a page keeps colours only).
int MaxDiff(const PageBitmap& page, const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.size() != QSize(page.width(), page.height())) {
        return 256;
    }
    int worst = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QRgb want = argb.pixel(x, y);
            const uint8_t* got = page.row(y) + x * 3;
            if (qAlpha(want) == 255) {
                worst = std::max({worst, std::abs(got[0] - qRed(want)),
                                  std::abs(got[1] - qGreen(want)), std::abs(got[2] - qBlue(want))});
            }
        }
    }
    return worst;
}

QImage FloatTiffExpected() {
    QImage expected(2, 1, QImage::Format_RGB888);
    expected.setPixel(0, 0, qRgb(0, 128, 255));
    expected.setPixel(1, 0, qRgb(64, 255, 0));
    return expected;
}

void WriteFloatTiff(const std::filesystem::path& path) {
    TIFF* tif = TIFFOpen(path.string().c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 2);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    float row[6] = {-1.0f, 0.5f, 2.0f, 0.25f, 1.0f, std::nanf("")};  // clamped to 0..1
    ASSERT_EQ(TIFFWriteScanline(tif, row, 0, 0), 1);
    TIFFClose(tif);
}

// A 2 x 1 GIF without any colour table: pixels 0 and 1 of the stand-in table.
std::vector<uint8_t> GifWithoutColourTable() {
    return {'G',  'I', 'F',  '8',  '9', 'a', 2, 0, 1, 0,    0x00, 0, 0,  // screen, no table
            0x2C, 0,   0,    0,    0,   2,   0, 1, 0, 0x00,              // image, no table
            2,    2,   0x44, 0x0A, 0,   0x3B};                           // codes: clear, 0, 1, end
}

TEST(ValidFiles, LayoutsOtherReadersTakeOpenAndDrawTheirPixels) {
    const auto bmp = Corpora() / "bmpsuite";
    VELLUMO_REQUIRE_FILE(bmp);
    const auto jpeg = Corpora() / "jpegsuite" / "jpeg" / "baseline" / "32x32x8_ycbcr.jpg";
    VELLUMO_REQUIRE_FILE(jpeg);
    test::ScratchDir dir;

    // A bare DIB: the BMP without its 14-byte file header.
    std::vector<uint8_t> dib = test::ReadBytes(bmp / "g" / "rgb24.bmp");
    dib.erase(dib.begin(), dib.begin() + 14);
    test::WriteBytes(dir / "bare.dib", dib);
    // Junk between the start of image and the first marker.
    std::vector<uint8_t> junk = test::ReadBytes(jpeg);
    junk.insert(junk.begin() + 2, {0x00, 0x12, 0x34, 0x56, 0x78});
    test::WriteBytes(dir / "junk.jpg", junk);
    test::WriteBytes(dir / "no-table.gif", GifWithoutColourTable());
    WriteFloatTiff(dir / "float.tif");
    QImage greyPair(2, 1, QImage::Format_RGB888);
    greyPair.setPixel(0, 0, qRgb(0, 0, 0));
    greyPair.setPixel(1, 0, qRgb(255, 255, 255));

    const auto reference = [&](const char* name) {
        return QImage(QString::fromStdString((bmp / "reference" / name).string()));
    };
    const struct {
        std::filesystem::path path;
        QImage expected;
        int tolerance;
    } cases[] = {
        // Bit fields read exactly: 5 and 6 bits widened by repeating their top bits.
        {bmp / "g" / "rgb16-565.bmp", reference("rgb16-565.png"), 0},
        {bmp / "g" / "rgb16.bmp", reference("rgb16.png"), 0},
        {bmp / "q" / "rgb32h52.bmp", reference("rgb24.png"), 0},  // 52-byte header
        {bmp / "q" / "rgba32h56.bmp", test::OverWhite(reference("rgba32.png")), 1},  // 56 bytes
        {bmp / "q" / "rgba16-4444.bmp", test::OverWhite(reference("rgba16-4444.png")), 1},
        {dir / "bare.dib", reference("rgb24.png"), 0},
        {dir / "junk.jpg", View(DrawWhole(jpeg)).copy(), 0},  // copied before the page goes
        {dir / "no-table.gif", greyPair, 0},
        {dir / "float.tif", FloatTiffExpected(), 1},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.expected.isNull()) << c.path;
        const PageBitmap page = DrawWhole(c.path);
        EXPECT_LE(MaxDiff(page, c.expected), c.tolerance) << c.path;
    }
}

// Rewrites a striped TIFF page as tiles of `tile` x `tile` pixels (a multiple of 16),
// same samples, planes and colour map.
void WriteTiledCopy(const std::filesystem::path& from, const std::filesystem::path& to,
                    uint32_t tile) {
    TIFF* in = TIFFOpen(from.string().c_str(), "r");
    ASSERT_NE(in, nullptr) << from;
    TIFF* out = TIFFOpen(to.string().c_str(), "w");
    ASSERT_NE(out, nullptr) << to;
    uint32_t w = 0, h = 0;
    uint16_t bits = 0, spp = 0, photometric = 0, planar = 0, format = SAMPLEFORMAT_UINT;
    TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(in, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(in, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetField(in, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(in, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLEFORMAT, &format);
    for (const uint32_t tag : {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH}) {
        TIFFSetField(out, tag, tag == TIFFTAG_IMAGEWIDTH ? w : h);
    }
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, spp);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, photometric);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, planar);
    TIFFSetField(out, TIFFTAG_SAMPLEFORMAT, format);
    TIFFSetField(out, TIFFTAG_TILEWIDTH, tile);
    TIFFSetField(out, TIFFTAG_TILELENGTH, tile);
    uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
    if (TIFFGetField(in, TIFFTAG_COLORMAP, &r, &g, &b) == 1) {
        TIFFSetField(out, TIFFTAG_COLORMAP, r, g, b);
    }
    const uint16_t planes = planar == PLANARCONFIG_SEPARATE ? spp : 1;
    const size_t rowBytes = static_cast<size_t>(TIFFScanlineSize(in));
    const size_t tileRow = static_cast<size_t>(TIFFTileRowSize(out));
    std::vector<uint8_t> rows(rowBytes * h), tileData(static_cast<size_t>(TIFFTileSize(out)));
    for (uint16_t p = 0; p < planes; ++p) {
        for (uint32_t y = 0; y < h; ++y) {
            ASSERT_EQ(TIFFReadScanline(in, rows.data() + y * rowBytes, y, p), 1);
        }
        for (uint32_t ty = 0; ty < h; ty += tile) {
            for (uint32_t tx = 0, offset = 0; tx < w; tx += tile, offset += tileRow) {
                std::fill(tileData.begin(), tileData.end(), 0);
                for (uint32_t y = ty; y < std::min(h, ty + tile); ++y) {
                    std::memcpy(tileData.data() + (y - ty) * tileRow,
                                rows.data() + y * rowBytes + offset,
                                std::min(tileRow, rowBytes - offset));
                }
                ASSERT_GE(TIFFWriteTile(out, tileData.data(), tx, ty, 0, p), 0);
            }
        }
    }
    TIFFClose(out);
    TIFFClose(in);
}

// Tiles of every sample size our reader takes decode as their striped originals do.
TEST(DecodeTiff, TiledPagesDecodeAsTheirStripedOriginals) {
    const auto depth = Corpora() / "libtiff-pics" / "depth";
    VELLUMO_REQUIRE_FILE(depth);
    test::ScratchDir dir;
    std::vector<std::filesystem::path> originals;
    for (const char* name :
         {"flower-rgb-planar-12.tif", "flower-rgb-contig-10.tif", "flower-minisblack-14.tif",
          "flower-separated-planar-16.tif", "flower-palette-16.tif", "flower-rgb-contig-04.tif"}) {
        originals.push_back(depth / name);
    }
    // A float page wider than one tile, with values past both ends of 0..1.
    {
        const auto path = dir / "float.tif";
        TIFF* tif = TIFFOpen(path.string().c_str(), "w");
        ASSERT_NE(tif, nullptr);
        const uint32_t w = 37, h = 21;
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 32);
        TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 4);
        std::vector<float> row(w * 3);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t i = 0; i < row.size(); ++i) {
                row[i] = static_cast<float>(i * 7 + y * 13) / 200.0f - 0.2f;
            }
            ASSERT_EQ(TIFFWriteScanline(tif, row.data(), y, 0), 1);
        }
        TIFFClose(tif);
        originals.push_back(path);
    }
    for (const auto& original : originals) {
        const auto tiled = dir / ("tiled-" + original.filename().string());
        WriteTiledCopy(original, tiled, 16);
        const PageBitmap want = DrawWhole(original);
        const PageBitmap got = DrawWhole(tiled);
        ASSERT_EQ(got.byteSize(), want.byteSize()) << tiled;
        EXPECT_EQ(std::memcmp(got.data(), want.data(), want.byteSize()), 0) << tiled;
    }
}

// ---- frames of animated PNG and multi-picture JPEG files, made here ----

std::vector<uint8_t> Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, format).write(image));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QImage SolidRgb(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

void Be32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) {
        out.push_back(static_cast<uint8_t>(v >> s));
    }
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    Be32(out, static_cast<uint32_t>(data.size()));
    const size_t from = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < out.size(); ++i) {
        crc ^= out[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    Be32(out, ~crc);
}

// The image data of a PNG (its IDAT chunks joined) and its header chunk's data.
std::vector<uint8_t> PngChunkData(const std::vector<uint8_t>& png, const char* type) {
    std::vector<uint8_t> data;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = (uint32_t{png[at]} << 24) | (uint32_t{png[at + 1]} << 16) |
                                (uint32_t{png[at + 2]} << 8) | png[at + 3];
        if (std::memcmp(png.data() + at + 4, type, 4) == 0) {
            data.insert(data.end(), png.begin() + static_cast<long>(at) + 8,
                        png.begin() + static_cast<long>(at + 8 + length));
        }
        at += 12 + length;
    }
    return data;
}

// A 2 x 1 animation: red; green blended over the right pixel, then cleared; blue over
// the left pixel.
std::vector<uint8_t> ThreeFramePng() {
    const auto red = Encoded(SolidRgb(2, 1, qRgb(255, 0, 0)), "png");
    std::vector<uint8_t> out(red.begin(), red.begin() + 8);
    Chunk(out, "IHDR", PngChunkData(red, "IHDR"));
    Chunk(out, "acTL", {0, 0, 0, 3, 0, 0, 0, 0});
    uint32_t sequence = 0;
    const auto control = [&](uint32_t w, uint32_t x, uint8_t dispose, uint8_t blend) {
        std::vector<uint8_t> c;
        for (const uint32_t v : {sequence++, w, 1u, x, 0u}) {
            Be32(c, v);
        }
        c.insert(c.end(), {0, 1, 0, 10, dispose, blend});
        Chunk(out, "fcTL", c);
    };
    control(2, 0, 0, 0);
    Chunk(out, "IDAT", PngChunkData(red, "IDAT"));
    for (const auto& [colour, x, dispose] : {std::tuple{qRgb(0, 255, 0), 1u, uint8_t{1}},
                                             std::tuple{qRgb(0, 0, 255), 0u, uint8_t{0}}}) {
        control(1, x, dispose, 1);
        std::vector<uint8_t> data;
        Be32(data, sequence++);
        const auto data1 = PngChunkData(Encoded(SolidRgb(1, 1, colour), "png"), "IDAT");
        data.insert(data.end(), data1.begin(), data1.end());
        Chunk(out, "fdAT", data);
    }
    Chunk(out, "IEND", {});
    return out;
}

// A red 8 x 8 JPEG whose index lists a blue 16 x 8 one stored after it.
std::vector<uint8_t> TwoPictureJpeg() {
    const auto first = Encoded(SolidRgb(8, 8, qRgb(255, 0, 0)), "jpeg");
    const auto second = Encoded(SolidRgb(16, 8, qRgb(0, 0, 255)), "jpeg");
    const uint32_t base = 10;  // the index header: after SOI, marker, length and "MPF\0"
    const uint32_t secondAt = static_cast<uint32_t>(first.size()) + 66;
    std::vector<uint8_t> index = {'I',  'I',  42, 0, 8,  0, 0, 0, 1,  0,        // one entry:
                                  0x02, 0xB0, 7,  0, 32, 0, 0, 0, 26, 0, 0, 0,  // pictures
                                  0,    0,    0,  0};
    for (const uint32_t offset : {0u, secondAt - base}) {
        const uint32_t fields[4] = {0, 0, offset, 0};
        for (const uint32_t v : fields) {
            for (int s = 0; s < 32; s += 8) {
                index.push_back(static_cast<uint8_t>(v >> s));
            }
        }
    }
    std::vector<uint8_t> out = {0xFF, 0xD8, 0xFF, 0xE2, 0, 64, 'M', 'P', 'F', 0};
    out.insert(out.end(), index.begin(), index.end());
    out.insert(out.end(), first.begin() + 2, first.end());
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

TEST(MultiFrame, AnimatedPngAndMultiPictureJpegListEveryFrame) {
    test::ScratchDir dir;
    test::WriteBytes(dir / "anim.png", ThreeFramePng());
    test::WriteBytes(dir / "pair.mpo", TwoPictureJpeg());

    ImageFile png = ImageFile::Open(dir / "anim.png");
    ASSERT_TRUE(png.IsValid()) << png.Error();
    ASSERT_EQ(png.FrameDimensions().size(), 1u);
    EXPECT_EQ(png.FrameDimensions()[0].dimension, FrameDimension::Time);
    ASSERT_EQ(png.FrameDimensions()[0].count, 3u);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb expected[3][2] = {{qRgb(255, 0, 0), qRgb(255, 0, 0)},
                                 {qRgb(255, 0, 0), qRgb(0, 255, 0)},
                                 {qRgb(0, 0, 255), white}};  // cleared: the page shows
    for (const int frame : {0, 1, 2, 1, 2}) {  // backwards once: composited again from 0
        ASSERT_TRUE(png.SelectActiveFrame(FrameDimension::Time, frame));
        PageBitmap page = test::WhitePage(2, 1);
        ASSERT_TRUE(png.DrawActiveFrame(page, {0, 0, 2, 1})) << png.Error();
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(View(page).pixel(x, 0), expected[frame][x]) << frame << " " << x;
        }
    }

    ImageFile mpo = ImageFile::Open(dir / "pair.mpo");
    ASSERT_TRUE(mpo.IsValid()) << mpo.Error();
    ASSERT_EQ(mpo.FrameDimensions()[0].count, 2u);
    EXPECT_EQ(mpo.FrameDimensions()[0].dimension, FrameDimension::Page);
    const QSize sizes[2] = {{8, 8}, {16, 8}};
    const QRgb colours[2] = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(mpo.SelectActiveFrame(FrameDimension::Page, i));
        ASSERT_EQ(QSize(mpo.Width(), mpo.Height()), sizes[i]);
        PageBitmap page = test::WhitePage(mpo.Width(), mpo.Height());
        ASSERT_TRUE(mpo.DrawActiveFrame(page, {0, 0, mpo.Width(), mpo.Height()}));
        const QRgb got = View(page).pixel(4, 4);
        EXPECT_LE(std::abs(qRed(got) - qRed(colours[i])) + std::abs(qBlue(got) - qBlue(colours[i])),
                  20)
            << i;
    }
}

// Reads go through a 64 KB buffer that the handle owns: the bytes must be the file's
// across the buffer's edges and after seeks, and the buffer must live as long as the
// file stays open, wherever the handle is moved. A buffer freed too early is handed to
// the next allocation of its size, so a canary of that size would be overwritten.
TEST(ReadFile, BufferedReadsGiveTheFilesBytesWhereverTheHandleGoes) {
    test::ScratchDir dir;
    const std::filesystem::path path = dir.path() / "bytes.bin";
    std::vector<uint8_t> bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);

    const auto readAt = [&](std::FILE* file, long offset, size_t count) {
        std::vector<uint8_t> got(count);
        EXPECT_EQ(std::fseek(file, offset, SEEK_SET), 0);
        EXPECT_EQ(std::fread(got.data(), 1, count, file), count);
        return got == std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset +
                                                                     static_cast<long>(count));
    };
    FileHandle first = OpenForReading(path);
    ASSERT_TRUE(first);
    const std::vector<uint8_t> canary(size_t{64} << 10, 0xAB);
    EXPECT_TRUE(readAt(first.get(), 0, 70000));
    FileHandle moved = std::move(first);
    first = OpenForReading(path);  // another file, another buffer
    EXPECT_TRUE(readAt(first.get(), 65530, 20));
    first.reset();
    EXPECT_TRUE(readAt(moved.get(), 150000, 50000));
    EXPECT_TRUE(readAt(moved.get(), 10, 65536));
    EXPECT_EQ(canary, std::vector<uint8_t>(canary.size(), 0xAB));
    EXPECT_EQ(ReadWhole(path, bytes.size()), bytes);
    EXPECT_FALSE(ReadWhole(path, bytes.size() - 1).has_value());
}

}  // namespace
}  // namespace vellumo::imaging
