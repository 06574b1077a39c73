// Single-image outputs (numbered files), JPEG quality, direct and indexed BMP, and the
// equality of results whatever the number of threads.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

#include "ConvertTestFiles.h"
#include "convert/ConversionRun.h"
#include "photolist/AddPhotos.h"
#include "support/RecordingReporter.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

namespace fs = std::filesystem;

class FormatTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApplication(); }
    void Add(const std::string& path) {
        test::RecordingReporter quiet;
        ASSERT_GT(photolist::AddPhotoFile(path, record, quiet, list), 0) << path;
    }
    SyncResult Run(const std::string& output, int threads = 2) {
        RunSettings s;
        s.outputFilePath = output;
        s.mainRecord = record;
        s.threads = threads;
        return ConvertAndWait(toolkit, list, s);
    }

    test::TestFolder folder;
    test::RecordingToolkit toolkit;
    photolist::PhotoList list;
    options::OutputPhotoFormat record;
};

// Reads the BMP header fields the tests look at.
struct BmpInfo {
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;
    int32_t width = 0;
    int32_t height = 0;
};
BmpInfo ReadBmpInfo(const std::string& path) {
    const std::string bytes = test::ReadBytes(path);
    BmpInfo info;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return info;
    }
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    };
    info.width = static_cast<int32_t>(u32(18));
    info.height = static_cast<int32_t>(u32(22));
    info.bitCount = static_cast<uint16_t>(u32(28) & 0xFFFF);
    info.compression = u32(30);
    info.colorsUsed = u32(46);
    info.colorsImportant = u32(50);
    return info;
}

TEST_F(FormatTest, SeveralPagesInASingleImageFormatGetNumberedFiles) {
    record.nOuptputFormat = options::kFormatPng;
    for (int i = 0; i < 3; ++i) {
        Add(test::SaveImage(test::Solid(10 + i, 8, qRgb(0, 0, 80 * i)),
                            folder / ("in" + std::to_string(i) + ".png"), "PNG"));
    }
    const auto result = Run(folder / "album.png");
    EXPECT_TRUE(toolkit.messages().empty());
    ASSERT_EQ(result.summary.outputFiles,
              (std::vector<std::string>{folder / "album-1.png", folder / "album-2.png",
                                        folder / "album-3.png"}));
    for (int i = 0; i < 3; ++i) {
        const QImage page(
            QString::fromStdString(result.summary.outputFiles[static_cast<size_t>(i)]));
        EXPECT_EQ(page.width(), 10 + i);
        EXPECT_EQ(qBlue(page.pixel(2, 2)), 80 * i);
    }
    EXPECT_FALSE(fs::exists(folder / "album.png"));
    EXPECT_EQ(toolkit.progress(), (std::vector<int>{0, 333, 666, 1000, 999}));
}

TEST_F(FormatTest, OnePageWritesExactlyTheGivenName) {
    record.nOuptputFormat = options::kFormatJpg;
    Add(test::SaveImage(test::Solid(16, 16, qRgb(200, 10, 10)), folder / "in.png", "PNG"));
    const auto result = Run(folder / "one.jpg");
    EXPECT_EQ(result.summary.outputFiles, std::vector<std::string>{folder / "one.jpg"});
    const QImage page(QString::fromStdString(folder / "one.jpg"));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(qRed(page.pixel(8, 8)), 200, 6);
}

TEST_F(FormatTest, ReplaceQuestionNamesTheNumberedFileThatExists) {
    record.nOuptputFormat = options::kFormatPng;
    Add(test::SaveImage(test::Solid(4, 4, qRgb(1, 2, 3)), folder / "in.png", "PNG"));
    Add(folder / "in.png");
    { std::ofstream(folder / "album-2.png") << "mine"; }
    toolkit.ScriptAnswers({ui::Answer::No});
    EXPECT_EQ(Run(folder / "album.png").start, StartResult::Declined);
    EXPECT_EQ(
        toolkit.messageTexts(),
        std::vector<std::string>{folder / "album-2.png" + " exists. Do you want to replace it?"});
    EXPECT_EQ(test::ReadBytes(folder / "album-2.png"), "mine");
}

TEST_F(FormatTest, JpegUsesTheEntrysQuality) {
    const std::string input = test::SaveImage(test::Pattern(200, 150, 3), folder / "in.png", "PNG");
    record.nOuptputFormat = options::kFormatJpg;
    record.nCurrentJpegQuality = 10;
    Add(input);
    Run(folder / "low.jpg");
    list.clear();
    record.nCurrentJpegQuality = 95;
    Add(input);
    Run(folder / "high.jpg");
    const auto low = fs::file_size(folder / "low.jpg");
    const auto high = fs::file_size(folder / "high.jpg");
    EXPECT_LT(low * 2, high);
    const QImage original(QString::fromStdString(input));
    const QImage decoded(QString::fromStdString(folder / "high.jpg"));
    EXPECT_LT(test::MeanDifference(decoded.convertToFormat(QImage::Format_RGB888),
                                   original.convertToFormat(QImage::Format_RGB888)),
              3.0);
}

TEST_F(FormatTest, DirectBmpChoicesAllWrite24BitFiles) {
    record.nOuptputFormat = options::kFormatBmp;
    const std::string input = test::SaveImage(test::Pattern(21, 13, 2), folder / "in.png", "PNG");
    for (const int index : {3, 4, 5, 9, 42}) {
        SCOPED_TRACE(index);
        list.clear();
        record.iComboPixelFormat = index;
        Add(input);
        const std::string output = folder / ("direct" + std::to_string(index) + ".bmp");
        Run(output);
        const BmpInfo info = ReadBmpInfo(output);
        EXPECT_EQ(info.bitCount, 24);
        EXPECT_EQ(info.width, 21);
        EXPECT_EQ(info.height, 13);
    }
    EXPECT_TRUE(toolkit.messages().empty());
}

TEST_F(FormatTest, IndexedBmpHasTheBitCountAndPaletteOfTheChoice) {
    record.nOuptputFormat = options::kFormatBmp;
    const std::string input = test::SaveImage(test::Pattern(37, 23, 5), folder / "in.png", "PNG");
    struct Choice {
        int index;
        uint16_t bits;
        uint32_t colours;
    };
    for (const Choice c : {Choice{0, 1, 2}, Choice{1, 4, 16}, Choice{2, 8, 256}}) {
        SCOPED_TRACE(c.index);
        list.clear();
        record.iComboPixelFormat = c.index;
        Add(input);
        Add(input);
        test::RecordingToolkit tk;
        RunSettings s;
        s.outputFilePath = folder / ("indexed" + std::to_string(c.bits) + ".bmp");
        s.mainRecord = record;
        const auto result = ConvertAndWait(tk, list, s);
        EXPECT_TRUE(tk.messages().empty());
        ASSERT_EQ(result.summary.outputFiles.size(), 2u);
        for (const auto& file : result.summary.outputFiles) {
            const BmpInfo info = ReadBmpInfo(file);
            EXPECT_EQ(info.bitCount, c.bits);
            EXPECT_EQ(info.colorsUsed, c.colours);
            EXPECT_EQ(info.compression, 0u);
            EXPECT_EQ(info.colorsImportant, 0u);
            EXPECT_EQ(info.width, 37);
            const QImage read(QString::fromStdString(file));
            ASSERT_FALSE(read.isNull());
            EXPECT_EQ(read.colorCount(), static_cast<int>(c.colours));
        }
        // An indexed page counts and moves the bar like any other.
        EXPECT_EQ(tk.progress(), (std::vector<int>{0, 500, 1000, 999}));
        EXPECT_EQ(result.summary.pagesWritten, 2);
    }
}

TEST_F(FormatTest, IndexedOnePixelColourGivesThatColourFirst) {
    record.nOuptputFormat = options::kFormatBmp;
    record.iComboPixelFormat = 0;
    Add(test::SaveImage(test::Solid(9, 5, qRgb(30, 140, 220)), folder / "in.png", "PNG"));
    Run(folder / "flat.bmp");
    const QImage read(QString::fromStdString(folder / "flat.bmp"));
    ASSERT_EQ(read.colorCount(), 2);
    EXPECT_EQ(read.color(0) & 0xFFFFFF, qRgb(30, 140, 220) & 0xFFFFFF);
    EXPECT_EQ(read.pixelIndex(4, 2), 0);
}

TEST_F(FormatTest, IndexedTemporaryFilesAreGone) {
    // A private temporary folder: the shared one also holds other test processes' files.
    const fs::path temp = folder.path() / "tmp";
    fs::create_directories(temp);
    const char* previous = std::getenv("TMPDIR");
    const std::string saved = previous != nullptr ? previous : "";
    ::setenv("TMPDIR", temp.c_str(), 1);
    record.nOuptputFormat = options::kFormatBmp;
    record.iComboPixelFormat = 2;
    Add(test::SaveImage(test::Pattern(8, 8, 1), folder / "in.png", "PNG"));
    const auto result = Run(folder / "x.bmp");
    if (previous != nullptr) {
        ::setenv("TMPDIR", saved.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    EXPECT_EQ(result.summary.pagesWritten, 1);
    EXPECT_TRUE(fs::is_empty(temp));
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"in.png", "tmp", "x.bmp"}));
}

TEST_F(FormatTest, UnknownOutputFormatWritesNothingAndSaysSo) {
    record.nOuptputFormat = 9;
    Add(test::SaveImage(test::Solid(4, 4, qRgb(1, 2, 3)), folder / "in.png", "PNG"));
    const auto result = Run(folder / "out.xyz");
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Failed to save the file!");
    EXPECT_EQ(messages[0].caption, folder / "out.xyz");
    EXPECT_EQ(result.summary.pagesWritten, 0);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"in.png"});
}

// ---- threads ----------------------------------------------------------------------------

TEST_F(FormatTest, OneTwoAndThreeThreadsGiveTheSameFileAndMessages) {
    // Pages of several sizes, a missing file and an invalid size among them, so that
    // messages and pages must both come out in list order.
    for (int i = 0; i < 7; ++i) {
        Add(test::SaveImage(test::Pattern(120 + 13 * i, 90 - 5 * i, i),
                            folder / ("p" + std::to_string(i) + ".png"), "PNG"));
    }
    list[2].outputFormat.nOuputSizeType = options::kSizeCustom;
    list[2].outputFormat.nKeepAspectRatio = options::kKeepWithWidth;
    list[2].outputFormat.nOutputWidth = 61;
    list[3].outputFormat.nOuputSizeType = options::kSizeStretch;
    list[3].outputFormat.dStretchHorizontal = 0.0;
    list[5].outputFormat.nRotateAngel = 90;
    list[6].outputFormat.nFlipType = options::kFlipVertical;
    fs::remove(folder / "p4.png");

    std::vector<std::vector<test::TiffPage>> results;
    std::vector<std::vector<std::string>> messages;
    for (const int threads : {1, 2, 3}) {
        test::RecordingToolkit tk;
        RunSettings s;
        s.outputFilePath = folder / ("t" + std::to_string(threads) + ".tif");
        s.mainRecord = record;
        s.threads = threads;
        ConvertAndWait(tk, list, s);
        results.push_back(test::ReadTiffPages(s.outputFilePath));
        messages.push_back(tk.messageTexts());
    }
    ASSERT_EQ(results[0].size(), 5u);
    EXPECT_EQ(messages[0],
              (std::vector<std::string>{"The output width is invalid!", "Can not Active a Frame"}));
    // Entry 2 (146 x 80) at width 61: 80 / 146 * 61 = 33.4 high; entry 5 (185 x 65) turned.
    EXPECT_EQ(std::make_pair(results[0][2].width, results[0][2].height), std::make_pair(61, 33));
    EXPECT_EQ(std::make_pair(results[0][3].width, results[0][3].height), std::make_pair(65, 185));
    for (size_t t = 1; t < results.size(); ++t) {
        EXPECT_EQ(messages[t], messages[0]);
        ASSERT_EQ(results[t].size(), results[0].size());
        for (size_t p = 0; p < results[0].size(); ++p) {
            EXPECT_EQ(results[t][p].width, results[0][p].width);
            EXPECT_EQ(results[t][p].height, results[0][p].height);
            EXPECT_TRUE(results[t][p].abgr == results[0][p].abgr) << "page " << p;
        }
    }
}

}  // namespace
}  // namespace vellumo::convert
