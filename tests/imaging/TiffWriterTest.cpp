// Multi-page TIFF output read back with libtiff (and Qt): page count, sizes, 24-bit RGB,
// tags, resolution and pixels; the file valid after every page; the same file for any
// number of threads; and failed writes reported, never taken for success.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <tiffio.h>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "WriterTestSupport.h"
#include "imaging/MultiPageTiffWriter.h"
#include "imaging/PhotoMetadata.h"
#include "imaging/TiffFileIo.h"

namespace vellumo::imaging {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;
using testing::MaxSampleDifference;
using testing::ReadTiff;
using testing::ReadTiffWithQt;
using testing::ScratchDir;

PageBitmap WithResolution(PageBitmap page, double x, double y) {
    page.SetResolution(x, y);
    return page;
}

// Three pages of different sizes and content; a real photo when the corpus is there.
std::vector<PageBitmap> MixedPages() {
    std::vector<PageBitmap> pages;
    if (auto photo = testing::PhotoPage("exif-orientation/Portrait_1.jpg")) {
        pages.push_back(WithResolution(std::move(*photo), 72, 72));
    } else {
        pages.push_back(WithResolution(testing::GradientPage(600, 900), 72, 72));
    }
    pages.push_back(WithResolution(testing::NoisePage(333, 211, 1), 300, 150));
    pages.push_back(testing::FlatPage(17, 5000, Rgb{12, 200, 99}));
    return pages;
}

template <typename... Pages>
std::vector<PageBitmap> PageList(Pages&&... pages) {
    std::vector<PageBitmap> list;
    (list.push_back(std::forward<Pages>(pages)), ...);
    return list;
}

bool WriteAll(const fs::path& file, const std::vector<PageBitmap>& pages,
              const TiffWriteOptions& options = {}) {
    MultiPageTiffWriter writer;
    bool ok = writer.Open(file, options);
    for (const PageBitmap& page : pages) {
        ok = ok && writer.AppendPage(page);
    }
    return writer.Close() && ok;
}

TEST(MultiPageTiffWriter, WritesEachPageWithItsOwnSizeResolutionAndTags) {
    ScratchDir dir;
    const fs::path file = dir.File("album.tif");
    const std::vector<PageBitmap> pages = MixedPages();
    ASSERT_TRUE(WriteAll(file, pages));

    const auto read = ReadTiff(file);
    EXPECT_EQ(read.problems, "");
    ASSERT_EQ(read.pages.size(), pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        const auto& got = read.pages[i];
        SCOPED_TRACE("page " + std::to_string(i));
        EXPECT_EQ(got.width, static_cast<uint32_t>(pages[i].width()));
        EXPECT_EQ(got.height, static_cast<uint32_t>(pages[i].height()));
        EXPECT_EQ(got.bitsPerSample, 8);
        EXPECT_EQ(got.samplesPerPixel, 3);
        EXPECT_EQ(got.photometric, PHOTOMETRIC_RGB);
        EXPECT_EQ(got.planar, PLANARCONFIG_CONTIG);
        EXPECT_EQ(got.compression, COMPRESSION_LZW);
        EXPECT_EQ(got.predictor, PREDICTOR_HORIZONTAL);
        EXPECT_EQ(got.subfileType, static_cast<uint32_t>(FILETYPE_PAGE));
        EXPECT_EQ(got.pageNumber, i);
        EXPECT_EQ(got.resolutionUnit, RESUNIT_INCH);
        EXPECT_FLOAT_EQ(got.xResolution, static_cast<float>(pages[i].dpiX()));
        EXPECT_FLOAT_EQ(got.yResolution, static_cast<float>(pages[i].dpiY()));
        EXPECT_EQ(MaxSampleDifference(pages[i], got.rgb), 0);
    }
}

// Each page's camera data goes into its own EXIF (and GPS) directory and reads back as
// the photo's did, page after page; under the sanitizers, the directories' memory is
// given back each time (libtiff kept the EXIF values when the GPS directory followed).
TEST(MultiPageTiffWriter, CameraDataOfEveryPageReadsBack) {
    const fs::path photo =
        fs::path(VELLUMO_CORPORA_DIR) / "exif-samples" / "jpg" / "Kodak_CX7530.jpg";
    if (!fs::exists(photo)) {
        GTEST_SKIP() << "corpus file not available: " << photo;
    }
    const CameraData camera = ReadCameraData(photo, true);
    ASSERT_FALSE(camera.exif.empty());
    ScratchDir dir;
    const fs::path file = dir.File("album.tif");
    std::vector<PageBitmap> pages = MixedPages();
    for (PageBitmap& page : pages) {
        page.metadata().camera = camera;
    }
    ASSERT_TRUE(WriteAll(file, pages));
    const CameraData back = ReadCameraData(file, false);
    for (const uint16_t tag : {0x9003 /* DateTimeOriginal */, 0x829A /* ExposureTime */}) {
        const ExifField* want = FindField(camera.exif, tag);
        const ExifField* got = FindField(back.exif, tag);
        ASSERT_NE(want, nullptr) << tag;
        ASSERT_NE(got, nullptr) << tag;
        EXPECT_EQ(got->text, want->text) << tag;
        ASSERT_EQ(got->values.size(), want->values.size()) << tag;
        // libtiff writes rationals from doubles: 1/250 comes back as 8589935/2147483648.
        for (size_t i = 0; i + 1 < got->values.size(); i += 2) {
            EXPECT_NEAR(static_cast<double>(got->values[i]) / got->values[i + 1],
                        static_cast<double>(want->values[i]) / want->values[i + 1], 1e-6)
                << tag;
        }
    }
}

// Fields libtiff will not take (a GPS version of one byte instead of four) leave their
// directory out; the page is written all the same.
TEST(MultiPageTiffWriter, CameraDataLibtiffRefusesLeavesOnlyItsDirectoryOut) {
    ScratchDir dir;
    const fs::path file = dir.File("album.tif");
    std::vector<PageBitmap> pages = MixedPages();
    ExifField version;
    version.tag = 0x0000;  // GPSVersionID
    version.type = ExifType::Byte;
    version.values = {2};
    pages[0].metadata().camera.gps = {version};
    pages[1].metadata().camera.exif = {version};  // not an EXIF tag at all
    ASSERT_TRUE(WriteAll(file, pages));
    EXPECT_EQ(ReadTiff(file).pages.size(), pages.size());
}

TEST(MultiPageTiffWriter, QtReadsTheSamePixels) {
    ScratchDir dir;
    const fs::path file = dir.File("album.tif");
    const std::vector<PageBitmap> pages = MixedPages();
    ASSERT_TRUE(WriteAll(file, pages));
    const std::vector<PageBitmap> read = ReadTiffWithQt(file);
    ASSERT_EQ(read.size(), pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(MaxSampleDifference(pages[i], read[i]), 0) << "page " << i;
    }
}

struct LosslessCase {
    const char* name;
    TiffWriteOptions options;
    uint16_t compressionTag;
    uint16_t predictorTag;
};

void PrintTo(const LosslessCase& c, std::ostream* out) {
    *out << c.name;
}

class LosslessCompression : public ::testing::TestWithParam<LosslessCase> {};

TEST_P(LosslessCompression, GivesBackEveryPixelToLibtiffAndQt) {
    const LosslessCase& c = GetParam();
    ScratchDir dir;
    const fs::path file = dir.File("pages.tif");
    std::vector<PageBitmap> pages;
    pages.push_back(testing::GradientPage(1001, 333));
    pages.push_back(testing::NoisePage(640, 480, 77));
    pages.push_back(testing::FlatPage(1, 1, Rgb{1, 2, 3}));
    if (auto photo = testing::PhotoPage("exif-orientation/Landscape_1.jpg")) {
        pages.push_back(std::move(*photo));
    }
    ASSERT_TRUE(WriteAll(file, pages, c.options));

    const auto read = ReadTiff(file);
    EXPECT_EQ(read.problems, "");
    ASSERT_EQ(read.pages.size(), pages.size());
    const std::vector<PageBitmap> qt = ReadTiffWithQt(file);
    ASSERT_EQ(qt.size(), pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(read.pages[i].compression, c.compressionTag);
        EXPECT_EQ(read.pages[i].predictor, c.predictorTag);
        EXPECT_EQ(MaxSampleDifference(pages[i], read.pages[i].rgb), 0) << "libtiff, page " << i;
        EXPECT_EQ(MaxSampleDifference(pages[i], qt[i]), 0) << "Qt, page " << i;
    }
}

TiffWriteOptions Options(TiffCompression compression, bool predictor = true,
                         bool libtiffLzw = false) {
    TiffWriteOptions options;
    options.compression = compression;
    options.predictor = predictor;
    options.libtiffLzw = libtiffLzw;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Writers, LosslessCompression,
    ::testing::Values(
        LosslessCase{"OurLzwWithPredictor", Options(TiffCompression::Lzw), COMPRESSION_LZW, 2},
        LosslessCase{"OurLzwPlain", Options(TiffCompression::Lzw, false), COMPRESSION_LZW, 1},
        LosslessCase{"LibtiffLzw", Options(TiffCompression::Lzw, true, true), COMPRESSION_LZW, 2},
        LosslessCase{"Deflate", Options(TiffCompression::Deflate), COMPRESSION_ADOBE_DEFLATE, 2},
        LosslessCase{"PackBits", Options(TiffCompression::PackBits), COMPRESSION_PACKBITS, 1},
        LosslessCase{"None", Options(TiffCompression::None), COMPRESSION_NONE, 1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MultiPageTiffWriter, JpegPagesStayCloseToTheOriginalAndHonourTheQuality) {
    ScratchDir dir;
    auto photo = testing::PhotoPage("exif-orientation/Landscape_1.jpg");
    const PageBitmap page = photo ? std::move(*photo) : testing::GradientPage(800, 600);
    // An odd height: the last strip is not a whole number of JPEG blocks.
    const PageBitmap odd = testing::GradientPage(301, 77);

    TiffWriteOptions fine = Options(TiffCompression::Jpeg);
    fine.jpegQuality = 92;
    TiffWriteOptions coarse = fine;
    coarse.jpegQuality = 10;
    ASSERT_TRUE(WriteAll(dir.File("fine.tif"), PageList(page.Clone(), odd.Clone()), fine));
    ASSERT_TRUE(WriteAll(dir.File("coarse.tif"), PageList(page.Clone()), coarse));

    const auto read = ReadTiff(dir.File("fine.tif"));
    EXPECT_EQ(read.problems, "");
    ASSERT_EQ(read.pages.size(), 2u);
    EXPECT_EQ(read.pages[0].compression, COMPRESSION_JPEG);
    EXPECT_EQ(read.pages[0].width, static_cast<uint32_t>(page.width()));
    EXPECT_EQ(read.pages[1].height, 77u);
    EXPECT_LT(testing::MeanSampleDifference(page, read.pages[0].rgb), 2.5);
    EXPECT_LT(testing::MeanSampleDifference(odd, read.pages[1].rgb), 2.5);
    EXPECT_EQ(ReadTiffWithQt(dir.File("fine.tif")).size(), 2u);

    EXPECT_LT(fs::file_size(dir.File("coarse.tif")) * 2, fs::file_size(dir.File("fine.tif")));
}

TEST(MultiPageTiffWriter, FileOnDiskHoldsEveryCompletedPageWhileStillOpen) {
    ScratchDir dir;
    const fs::path file = dir.File("growing.tif");
    const std::vector<PageBitmap> pages = MixedPages();
    MultiPageTiffWriter writer;
    ASSERT_TRUE(writer.Open(file));
    for (size_t i = 0; i < pages.size(); ++i) {
        ASSERT_TRUE(writer.AppendPage(pages[i])) << writer.Error();
        EXPECT_EQ(writer.PageCount(), static_cast<int>(i + 1));
        // Another reader, while the writer still holds the file open.
        const auto read = ReadTiff(file);
        EXPECT_EQ(read.problems, "") << "after page " << i;
        ASSERT_EQ(read.pages.size(), i + 1);
        for (size_t k = 0; k <= i; ++k) {
            EXPECT_EQ(MaxSampleDifference(pages[k], read.pages[k].rgb), 0);
        }
        EXPECT_EQ(ReadTiffWithQt(file).size(), i + 1);
    }
    EXPECT_TRUE(writer.Close()) << writer.Error();
    EXPECT_EQ(ReadTiff(file).pages.size(), pages.size());
}

TEST(MultiPageTiffWriter, SameFileWhateverTheNumberOfThreads) {
    ScratchDir dir;
    const std::vector<PageBitmap> pages = MixedPages();
    std::vector<uint8_t> reference;
    for (int threads : {1, 2, 5}) {
        TiffWriteOptions options;
        options.threads = threads;
        options.stripBytes = 9000;  // many strips per page
        const fs::path file = dir.File("t" + std::to_string(threads) + ".tif");
        ASSERT_TRUE(WriteAll(file, pages, options));
        const auto read = ReadTiff(file);
        EXPECT_EQ(read.problems, "");
        ASSERT_EQ(read.pages.size(), pages.size());
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(MaxSampleDifference(pages[i], read.pages[i].rgb), 0);
        }
        if (reference.empty()) {
            reference = FileBytes(file);
        } else {
            EXPECT_EQ(FileBytes(file), reference) << threads << " threads";
        }
    }
}

TEST(MultiPageTiffWriter, StripsAreWholeRowsNearTheAskedSize) {
    ScratchDir dir;
    TiffWriteOptions options;
    options.stripBytes = 64 * 1024;
    // 3000 * 3 = 9000 bytes a row: 7 rows a strip. A row wider than a strip: 1 row.
    ASSERT_TRUE(WriteAll(dir.File("s.tif"),
                         PageList(testing::GradientPage(3000, 50), testing::GradientPage(30000, 3)),
                         options));
    const auto read = ReadTiff(dir.File("s.tif"));
    ASSERT_EQ(read.pages.size(), 2u);
    EXPECT_EQ(read.pages[0].rowsPerStrip, 7u);
    EXPECT_EQ(read.pages[0].strips, 8u);
    EXPECT_EQ(read.pages[1].rowsPerStrip, 1u);
    EXPECT_EQ(read.pages[1].strips, 3u);
}

TEST(MultiPageTiffWriter, RefusesWhatItCannotWriteWithAReason) {
    ScratchDir dir;
    MultiPageTiffWriter writer;
    EXPECT_FALSE(writer.AppendPage(testing::FlatPage(2, 2, kWhite)));
    EXPECT_FALSE(writer.Error().empty());

    EXPECT_FALSE(writer.Open(dir.File("missing-folder") / "x.tif"));
    EXPECT_NE(writer.Error().find("No such file"), std::string::npos) << writer.Error();
    EXPECT_FALSE(writer.IsOpen());

    TiffWriteOptions badQuality = Options(TiffCompression::Jpeg);
    badQuality.jpegQuality = 0;
    EXPECT_FALSE(writer.Open(dir.File("q.tif"), badQuality));
    EXPECT_FALSE(fs::exists(dir.File("q.tif")));

    ASSERT_TRUE(writer.Open(dir.File("ok.tif")));
    EXPECT_FALSE(writer.Open(dir.File("other.tif")));
    // An empty page is refused without harming the file or the pages after it.
    EXPECT_FALSE(writer.AppendPage(PageBitmap{}));
    EXPECT_FALSE(writer.Error().empty());
    const PageBitmap page = testing::NoisePage(40, 30, 5);
    EXPECT_TRUE(writer.AppendPage(page)) << writer.Error();
    EXPECT_TRUE(writer.Close());
    const auto read = ReadTiff(dir.File("ok.tif"));
    ASSERT_EQ(read.pages.size(), 1u);
    EXPECT_EQ(MaxSampleDifference(page, read.pages[0].rgb), 0);
}

TEST(MultiPageTiffWriter, ClosingWithoutPagesLeavesNoFile) {
    ScratchDir dir;
    MultiPageTiffWriter writer;
    ASSERT_TRUE(writer.Open(dir.File("none.tif")));
    EXPECT_TRUE(fs::exists(dir.File("none.tif")));
    EXPECT_TRUE(writer.Close());
    EXPECT_FALSE(fs::exists(dir.File("none.tif")));
}

TEST(MultiPageTiffWriter, ReplacesAnExistingFile) {
    ScratchDir dir;
    const fs::path file = dir.File("again.tif");
    ASSERT_TRUE(WriteAll(file, MixedPages()));
    const PageBitmap page = testing::GradientPage(10, 10);
    ASSERT_TRUE(WriteAll(file, PageList(page.Clone())));
    const auto read = ReadTiff(file);
    ASSERT_EQ(read.pages.size(), 1u);
    EXPECT_EQ(MaxSampleDifference(page, read.pages[0].rgb), 0);
}

// Writes `pages` in a child process whose files may not grow beyond `limit` bytes (the
// system then refuses writes with "File too large"). The child exits with the number of
// pages written, or with 90 and up when the writer misbehaved.
[[noreturn]] void WriteUnderSizeLimit(const fs::path& file, const std::vector<PageBitmap>& pages,
                                      const TiffWriteOptions& options, rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) {
        std::_Exit(98);
    }
    MultiPageTiffWriter writer;
    if (!writer.Open(file, options)) {
        std::_Exit(90);
    }
    bool failed = false;
    for (const PageBitmap& page : pages) {
        if (writer.AppendPage(page)) {
            if (failed) {
                std::_Exit(91);  // a page accepted after a failed one
            }
        } else {
            if (writer.Error().empty()) {
                std::_Exit(92);
            }
            if (!failed) {
                std::fprintf(stderr, "%s\n", writer.Error().c_str());
            }
            failed = true;
        }
    }
    const int written = writer.PageCount();
    if (!writer.Close()) {
        std::_Exit(93);
    }
    std::_Exit(written);
}

TEST(MultiPageTiffWriterDeathTest, ProcessKilledBetweenPagesLeavesAReadableFile) {
    ::testing::FLAGS_gtest_death_test_style = "fast";
    ScratchDir dir;
    const fs::path file = dir.File("killed.tif");
    const std::vector<PageBitmap> pages = MixedPages();
    const auto writeTwoThenDie = [&] {
        MultiPageTiffWriter writer;
        if (writer.Open(file) && writer.AppendPage(pages[0]) && writer.AppendPage(pages[1])) {
            std::raise(SIGKILL);  // no Close, no destructor
        }
        std::_Exit(1);
    };
    EXPECT_EXIT(writeTwoThenDie(), ::testing::KilledBySignal(SIGKILL), "");
    const auto read = ReadTiff(file);
    EXPECT_EQ(read.problems, "");
    ASSERT_EQ(read.pages.size(), 2u);
    EXPECT_EQ(MaxSampleDifference(pages[1], read.pages[1].rgb), 0);
    EXPECT_EQ(ReadTiffWithQt(file).size(), 2u);
}

TEST(MultiPageTiffWriterDeathTest, WriteFailuresAreReportedAndLeaveTheCompletePages) {
    ::testing::FLAGS_gtest_death_test_style = "fast";
    ScratchDir dir;
    const std::vector<PageBitmap> pages = MixedPages();
    for (const TiffCompression compression : {TiffCompression::Lzw, TiffCompression::Deflate}) {
        const TiffWriteOptions options = Options(compression);
        // The file's length after each page, from an unlimited run.
        std::vector<uintmax_t> lengths;
        {
            MultiPageTiffWriter writer;
            ASSERT_TRUE(writer.Open(dir.File("free.tif"), options));
            for (const PageBitmap& page : pages) {
                ASSERT_TRUE(writer.AppendPage(page));
                lengths.push_back(fs::file_size(dir.File("free.tif")));
            }
            ASSERT_TRUE(writer.Close());
        }
        // Limits that stop the writer in the first page's strips, in the middle of the
        // second page's strips, within the second page's directory (written last), and
        // in the third page's last bytes.
        const std::vector<uintmax_t> limits{lengths[0] / 2, (lengths[0] + lengths[1]) / 2,
                                            lengths[1] - 4, lengths[2] - 1};
        for (const uintmax_t limit : limits) {
            int complete = 0;
            while (complete < 3 && lengths[static_cast<size_t>(complete)] <= limit) {
                ++complete;
            }
            const fs::path file = dir.File("limited.tif");
            SCOPED_TRACE("limit " + std::to_string(limit));
            EXPECT_EXIT(WriteUnderSizeLimit(file, pages, options, limit),
                        ::testing::ExitedWithCode(complete), "File too large");
            if (complete == 0) {
                EXPECT_FALSE(fs::exists(file));  // no page, no file
                continue;
            }
            ASSERT_TRUE(fs::exists(file));
            EXPECT_EQ(fs::file_size(file), lengths[static_cast<size_t>(complete - 1)]);
            const auto read = ReadTiff(file);
            EXPECT_EQ(read.problems, "");
            ASSERT_EQ(read.pages.size(), static_cast<size_t>(complete));
            for (int i = 0; i < complete; ++i) {
                EXPECT_EQ(MaxSampleDifference(pages[static_cast<size_t>(i)],
                                              read.pages[static_cast<size_t>(i)].rgb),
                          0);
            }
            fs::remove(file);
        }
    }
}

// The output's length is kept by TiffFileIo, not asked of the system before each strip:
// it must follow libtiff's appends and its rewrites in the middle (the links between
// directories), in classic and big TIFF, and a cut back to the complete pages.
TEST(TiffFileIo, KeepsTheFilesLengthThroughAppendsRewritesAndACutBack) {
    for (const char* mode : {"w", "w8"}) {
        ScratchDir dir;
        const fs::path file = dir.File("io.tif");
        TiffFileIo io;
        ASSERT_TRUE(io.Open(file));
        TIFF* tiff = io.OpenTiff("io.tif", mode, nullptr);
        ASSERT_NE(tiff, nullptr);
        std::vector<int64_t> afterPage;
        for (uint32_t page = 0; page < 3; ++page) {
            const uint32_t width = 40 + 7 * page;
            std::vector<uint8_t> rows(width * 3 * 9, static_cast<uint8_t>(page * 50));
            TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
            TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 9u);
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
            TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4u);
            for (uint32_t strip = 0; strip < 3; ++strip) {
                const tmsize_t bytes = width * 3 * (strip == 2 ? 1 : 4);
                ASSERT_EQ(TIFFWriteEncodedStrip(tiff, strip, rows.data(), bytes), bytes);
            }
            ASSERT_EQ(TIFFWriteDirectory(tiff), 1);
            afterPage.push_back(io.Length());
            EXPECT_EQ(afterPage.back(), static_cast<int64_t>(fs::file_size(file))) << mode;
        }
        TIFFClose(tiff);
        EXPECT_EQ(io.Length(), static_cast<int64_t>(fs::file_size(file))) << mode;
        if (std::string(mode) == "w") {  // only classic files are cut back
            ASSERT_TRUE(io.CutBackTo(2, afterPage[1]));
            EXPECT_EQ(io.Length(), afterPage[1]);
        }
        ASSERT_TRUE(io.Close());
        const auto read = ReadTiff(file);
        EXPECT_EQ(read.pages.size(), std::string(mode) == "w" ? 2u : 3u) << mode;
        EXPECT_EQ(read.problems, "") << mode;
    }
}

}  // namespace
}  // namespace vellumo::imaging
