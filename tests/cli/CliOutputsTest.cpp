// vellumo-cli's outputs: PDF (read back by poppler, checked by qpdf), BigTIFF, appending,
// standard streams, refused outputs, fit sizes, and errors that name file and reason.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tiffio.h>

#include "cli/CliTestSupport.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// An installed tool, or the test is skipped.
#define REQUIRE_TOOL(path)                           \
    if (!fs::exists(path)) {                         \
        GTEST_SKIP() << path << " is not installed"; \
    }

ProcessResult Tool(const std::string& program, const std::vector<std::string>& args) {
    return RunProcess(program, args);
}

// The raw bytes of strip 0 of directory `page`, as stored (compressed).
std::string RawStrip(const std::string& path, int page) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr || TIFFSetDirectory(tif, static_cast<tdir_t>(page)) != 1) {
        if (tif != nullptr) {
            TIFFClose(tif);
        }
        return {};
    }
    std::string bytes(static_cast<size_t>(TIFFRawStripSize(tif, 0)), '\0');
    TIFFReadRawStrip(tif, 0, bytes.data(), static_cast<tmsize_t>(bytes.size()));
    TIFFClose(tif);
    return bytes;
}

struct Flat {
    TempFolder folder;
    std::string a = folder / "a.png", b = folder / "b.png";
    Flat() {
        WriteImage(a, 11, 7, Qt::red);
        WriteImage(b, 12, 7, Qt::green);
    }
};

// ---- PDF ----

size_t CountOf(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

TEST(CliOutputs, PdfEmbedsUnchangedJpegsAsTheyAreAndStoresOtherPagesLosslessly) {
    REQUIRE_TOOL("/usr/bin/pdfimages");
    REQUIRE_TOOL("/usr/bin/qpdf");
    if (!SamplesPresent()) {
        GTEST_SKIP() << "samples missing";
    }
    Flat files;
    const std::string jpeg = Sample("Landscape_1.jpg");
    const std::string out = files.folder / "album.pdf";
    ASSERT_EQ(Cli({jpeg, files.a, "-o", out}).exitCode, 0);
    EXPECT_EQ(Tool("/usr/bin/qpdf", {"--check", out}).exitCode, 0);
    EXPECT_THAT(Tool("/usr/bin/pdfinfo", {out}).out, HasSubstr("Pages:           2"));
    // pdfimages -j writes DCT streams out as they are: the file's own bytes.
    const std::string prefix = files.folder / "img";
    ASSERT_EQ(Tool("/usr/bin/pdfimages", {"-j", out, prefix}).exitCode, 0);
    EXPECT_EQ(FileHash(prefix + "-000.jpg"), FileHash(jpeg));
    const std::string list = Tool("/usr/bin/pdfimages", {"-list", out}).out;
    EXPECT_THAT(list, HasSubstr("jpeg"));
    EXPECT_THAT(list, HasSubstr("image"));  // the PNG page: Flate, not JPEG
    // Both pages say they are sRGB (an ICC-based colour space); --strip says nothing.
    EXPECT_EQ(CountOf(list, " icc "), 2u) << list;
    const std::string stripped = files.folder / "stripped.pdf";
    ASSERT_EQ(Cli({jpeg, files.a, "--strip", "-o", stripped}).exitCode, 0);
    EXPECT_EQ(CountOf(Tool("/usr/bin/pdfimages", {"-list", stripped}).out, " icc "), 0u);

    // A turned JPEG is drawn again; with --compression jpeg no page is lossless.
    const std::string turned = files.folder / "turned.pdf";
    ASSERT_EQ(Cli({jpeg, "--rotate", "90", "--compression", "jpeg", "-o", turned}).exitCode, 0);
    ASSERT_EQ(Tool("/usr/bin/pdfimages", {"-j", turned, files.folder / "t"}).exitCode, 0);
    EXPECT_NE(FileHash(files.folder / "t-000.jpg"), FileHash(jpeg));
    EXPECT_EQ(Tool("/usr/bin/qpdf", {"--check", turned}).exitCode, 0);
}

TEST(CliOutputs, PdfPagesShowThePixelsAtTheirSizeInPoints) {
    REQUIRE_TOOL("/usr/bin/pdftoppm");
    Flat files;
    const std::string out = files.folder / "pages.pdf";
    ASSERT_EQ(Cli({files.a, files.b, "--rotate", "90", "-o", out}).exitCode, 0);
    // Points are pixels at the page's resolution, the one a TIFF of the page records.
    const std::string tiff = files.folder / "pages.tif";
    ASSERT_EQ(Cli({files.a, "-o", tiff}).exitCode, 0);
    const auto pages = ReadTiffPages(tiff);
    ASSERT_EQ(pages.size(), 1u);
    const double dpi = pages[0].xResolution;
    char size[64];
    std::snprintf(size, sizeof size, "%.2f x %.2f pts", 7 * 72 / dpi, 11 * 72 / dpi);
    EXPECT_THAT(Tool("/usr/bin/pdfinfo", {"-f", "1", "-l", "2", out}).out, HasSubstr(size));
    const std::string resolution = std::to_string(static_cast<int>(dpi + 0.5));
    ASSERT_EQ(
        Tool("/usr/bin/pdftoppm", {"-r", resolution, "-png", out, files.folder / "p"}).exitCode, 0);
    const QImage first = LoadImage(files.folder / "p-1.png");
    const QImage second = LoadImage(files.folder / "p-2.png");
    ASSERT_EQ(first.size(), QSize(7, 11));
    ASSERT_EQ(second.size(), QSize(7, 12));
    EXPECT_EQ(first.pixelColor(3, 5), QColor(Qt::red));
    EXPECT_EQ(second.pixelColor(3, 5), QColor(Qt::green));
}

// ---- BigTIFF and appending ----

TEST(CliOutputs, BigTiffIsReadBackByLibtiffQtAndImageMagick) {
    Flat files;
    const std::string out = files.folder / "big.tif";
    ASSERT_EQ(Cli({files.a, files.b, "--bigtiff", "-o", out}).exitCode, 0);
    EXPECT_EQ(ReadAll(out).substr(0, 4), std::string("II+\0", 4));  // BigTIFF's magic
    EXPECT_EQ(TiffSizes(out), (std::vector<std::string>{"11x7", "12x7"}));
    const QImage first = LoadImage(out);
    EXPECT_EQ(first.size(), QSize(11, 7));
    EXPECT_EQ(first.pixelColor(5, 3), QColor(Qt::red));
    if (fs::exists("/usr/bin/identify")) {
        const ProcessResult identify = Tool("/usr/bin/identify", {out});
        EXPECT_THAT(identify.out, HasSubstr("big.tif[1] TIFF64 12x7"));
    }
    // Without --bigtiff small pages stay a classic TIFF.
    ASSERT_EQ(Cli({files.a, "-o", files.folder / "small.tif"}).exitCode, 0);
    EXPECT_EQ(ReadAll(files.folder / "small.tif").substr(0, 4), std::string("II*\0", 4));
}

TEST(CliOutputs, AppendCopiesTheOldPagesAsTheyAreAndKeepsTheAlbumOnFailure) {
    Flat files;
    const std::string album = files.folder / "album.tif";
    // Each compression's tags (predictor, JPEG tables, ...) must come along for the copied
    // page to decode; the new pages are LZW.
    for (const char* compression : {"deflate", "jpeg", "packbits", "none"}) {
        SCOPED_TRACE(compression);
        ASSERT_EQ(Cli({files.a, "-y", "--compression", compression, "-o", album}).exitCode, 0);
        const std::string oldStrip = RawStrip(album, 0);
        ASSERT_FALSE(oldStrip.empty());

        const ProcessResult appended = Cli({"--append", "-o", album, files.b, files.a});
        ASSERT_EQ(appended.exitCode, 0) << appended.err;
        EXPECT_THAT(appended.err, Not(HasSubstr("replace")));
        EXPECT_EQ(RawStrip(album, 0), oldStrip);  // copied, not decoded and encoded again
        EXPECT_NE(RawStrip(album, 2), oldStrip);
        bool ok = false;
        const auto pages = ReadTiffPages(album, &ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(pages.size(), 3u);
        EXPECT_NEAR(pages[0].red(5, 3), 255, 8);
        EXPECT_NEAR(pages[0].green(5, 3), 0, 8);
        EXPECT_EQ(pages[1].green(5, 3), 255);
    }

    // Nothing new to add: the album stays as it was.
    const uint64_t before = FileHash(album);
    EXPECT_EQ(Cli({"--append", "-o", album, files.folder / "missing.png"}).exitCode, 2);
    EXPECT_EQ(FileHash(album), before);
    // An album that is no TIFF is not replaced.
    const std::string notTiff = files.folder / "not.tif";
    ASSERT_TRUE(WriteBytes(notTiff, "not a TIFF"));
    const ProcessResult refused = Cli({"--append", "-o", notTiff, files.a});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_THAT(refused.err, HasSubstr("vellumo-cli: " + notTiff + ": "));
    EXPECT_EQ(ReadAll(notTiff), "not a TIFF");
}

// ---- Streams and outputs that are no files ----

TEST(CliOutputs, StandardInputAndOutputCarryPhotosAndFiles) {
    Flat files;
    const std::string out = files.folder / "from-stdin.tif";
    ASSERT_EQ(Cli({"-", files.b, "-o", out}, ReadAll(files.a)).exitCode, 0);
    EXPECT_EQ(TiffSizes(out), (std::vector<std::string>{"11x7", "12x7"}));

    const ProcessResult tiff = Cli({files.a, files.b, "-o", "-"});
    ASSERT_EQ(tiff.exitCode, 0) << tiff.err;
    ASSERT_TRUE(WriteBytes(files.folder / "stdout.tif", tiff.out));
    EXPECT_EQ(TiffSizes(files.folder / "stdout.tif"), (std::vector<std::string>{"11x7", "12x7"}));
    const ProcessResult pdf = Cli({files.a, "--format", "pdf", "-o", "-"});
    EXPECT_EQ(pdf.out.substr(0, 5), "%PDF-");
    EXPECT_EQ(pdf.out.substr(pdf.out.size() - 6), "%%EOF\n");
    // Several pages of a one-picture format cannot share standard output.
    EXPECT_EQ(Cli({files.a, files.b, "--format", "png", "-o", "-"}).exitCode, 2);
}

TEST(CliOutputs, OutputsThatAreNoRegularFilesAreRefusedBeforeAnyPhoto) {
    Flat files;
    const std::string fifo = files.folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = files.folder / "sub";
    fs::create_directory(folder);
    // A link is followed. (Devices are checked in-process: a run that failed to refuse one
    // would replace it.)
    const std::string toFifo = files.folder / "fifo-link";
    fs::create_symlink(fifo, toFifo);
    const std::pair<std::string, const char*> cases[] = {
        {fifo, "FIFO"}, {folder, "folder"}, {toFifo, "FIFO"}};
    for (const auto& [output, why] : cases) {
        const ProcessResult r = Cli({files.a, "-y", "-o", output});
        EXPECT_EQ(r.exitCode, 2) << output;
        EXPECT_THAT(r.err, HasSubstr("vellumo-cli: " + output + ": ")) << output;
        EXPECT_THAT(r.err, HasSubstr(why)) << output;
        EXPECT_THAT(r.err, Not(HasSubstr("page 1"))) << output;
    }
    EXPECT_TRUE(fs::is_symlink(toFifo));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(CliOutputs, ARunsOwnOutputIsNoInputOfTheNext) {
    Flat files;
    const std::string album = files.folder / "album.tif";
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Cli({"-r", files.folder.path().string(), "-y", "-o", album}).exitCode, 0);
    }
    EXPECT_EQ(TiffSizes(album).size(), 2u);
}

// ---- Sizes and messages ----

TEST(CliOutputs, FitAndShrinkOnlyShowInTheList) {
    Flat files;
    const auto page = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"--list", files.a};
        args.insert(args.end(), extra.begin(), extra.end());
        const std::string out = Cli(args).out;
        return out.substr(out.rfind('\t') + 1);
    };
    EXPECT_EQ(page({"--fit", "22x22"}), "22x14\n");
    EXPECT_EQ(page({"--fit", "22x22", "--shrink-only"}), "11x7\n");
    EXPECT_EQ(page({"--fit", "5x100", "--shrink-only"}), "5x3\n");
}

TEST(CliOutputs, FailuresNameFileAndReasonOnTheTerminalAndInTheLog) {
    if (!SamplesPresent()) {
        GTEST_SKIP() << "samples missing";
    }
    Flat files;
    const std::string jpeg = ReadAll(Sample("Landscape_1.jpg"));
    const std::string truncated = files.folder / "truncated.jpg";
    ASSERT_TRUE(WriteBytes(truncated, jpeg.substr(0, jpeg.size() / 3)));
    const std::string log = files.folder / "run.log";
    const ProcessResult r = Cli({truncated, files.a, "--caption", "x", "--font", "NoSuchFamilyXyz",
                                 "--log", log, "-o", files.folder / "out.tif"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("vellumo-cli: " + truncated + ": "));
    EXPECT_THAT(r.err, HasSubstr("NoSuchFamilyXyz"));
    EXPECT_THAT(ReadAll(log), HasSubstr(truncated + ": "));

    const std::string missing = files.folder / "no-such-folder/out.tif";
    const ProcessResult m = Cli({files.a, "--log", log, "-o", missing});
    EXPECT_EQ(m.exitCode, 2);
    EXPECT_THAT(m.err, HasSubstr("vellumo-cli: " + missing + ": No such file or directory"));
    EXPECT_THAT(ReadAll(log), HasSubstr(missing + ": No such file or directory"));
}

}  // namespace
}  // namespace vellumo::test
