// Faults while writing: a file-size limit reached in the middle of a run, in a forked
// child so that the limit binds nothing else. Also EXIF orientation from real photos.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <random>

#include "ConvertTestFiles.h"
#include "convert/ConversionRun.h"
#include "photolist/AddPhotos.h"
#include "support/RecordingReporter.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

namespace fs = std::filesystem;

QImage Noise(int w, int h, unsigned seed) {
    std::mt19937 random(seed);
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < w * 3; ++x) {
            row[x] = static_cast<uint8_t>(random());
        }
    }
    return image;
}

// In the child: limit the file size, ignore the signal, run, print the messages and end
// with the number of failed saves told as the exit status.
[[noreturn]] void ConvertUnderSizeLimit(const photolist::PhotoList& list,
                                        const RunSettings& settings, rlim_t limit) {
    const rlimit lim{limit, limit};
    setrlimit(RLIMIT_FSIZE, &lim);
    std::signal(SIGXFSZ, SIG_IGN);
    test::RecordingToolkit toolkit;
    ConvertAndWait(toolkit, list, settings);
    int failedSaves = 0;
    for (const auto& m : toolkit.messages()) {
        std::fprintf(stderr, "[%s|%s]\n", m.text.c_str(), m.caption.c_str());
        failedSaves += m.text.rfind("Failed to save the file!", 0) == 0 ? 1 : 0;
    }
    std::fflush(stderr);
    std::_Exit(failedSaves);
}

// A file-size limit reached after some pages, over an existing album and over an album
// that is also the first input: the album stays byte for byte, nothing else is left in
// the folder, and the system's reason is told once, not once per page.
TEST(WriteFault, SizeLimitMidRunKeepsTheOldFileAndTellsTheReasonOnce) {
    ::testing::FLAGS_gtest_death_test_style = "fast";
    for (const bool albumIsInput : {false, true}) {
        test::TestFolder folder;
        photolist::PhotoList list;
        options::OutputPhotoFormat record;
        test::RecordingReporter quiet;
        const std::string album = folder / "album.tif";
        RunSettings settings;
        settings.outputFilePath = album;
        settings.tiff.compression = imaging::TiffCompression::None;  // pages of 196608 bytes
        settings.threads = 2;
        for (unsigned i = 0; i < 2; ++i) {
            const std::string path = folder / ("old" + std::to_string(i) + ".png");
            test::SaveImage(Noise(256, 256, 50 + i), path, "PNG");
            ASSERT_EQ(photolist::AddPhotoFile(path, record, quiet, list), 1);
        }
        test::RecordingToolkit first;
        ASSERT_EQ(ConvertAndWait(first, list, settings).summary.pagesWritten, 2);
        list.clear();
        if (albumIsInput) {
            ASSERT_EQ(photolist::AddPhotoFile(album, record, quiet, list), 2);
        }
        for (unsigned i = 0; i < 4; ++i) {
            const std::string path = folder / ("noise" + std::to_string(i) + ".png");
            test::SaveImage(Noise(256, 256, i), path, "PNG");
            ASSERT_EQ(photolist::AddPhotoFile(path, record, quiet, list), 1);
        }
        const std::string before = test::ReadBytes(album);
        const std::vector<std::string> files = folder.Files();

        EXPECT_EXIT(ConvertUnderSizeLimit(list, settings, 196608 * 2 + 196608 / 2),
                    ::testing::ExitedWithCode(1),
                    "\\[Failed to save the file! \\(File too large\\)\\|" + album + "\\]")
            << "album is an input: " << albumIsInput;
        EXPECT_EQ(test::ReadBytes(album), before);
        EXPECT_EQ(folder.Files(), files);
    }
}

TEST(WriteFault, SizeLimitOnASingleImageFormatKeepsTheUsersFile) {
    ::testing::FLAGS_gtest_death_test_style = "fast";
    test::TestFolder folder;
    photolist::PhotoList list;
    options::OutputPhotoFormat record;
    record.nOuptputFormat = options::kFormatBmp;
    test::RecordingReporter quiet;
    const std::string input = folder / "noise.png";
    test::SaveImage(Noise(256, 256, 9), input, "PNG");
    ASSERT_EQ(photolist::AddPhotoFile(input, record, quiet, list), 1);
    const std::string output = folder / "page.bmp";
    { std::ofstream(output) << "the user's bitmap"; }
    RunSettings settings;
    settings.outputFilePath = output;
    EXPECT_EXIT(ConvertUnderSizeLimit(list, settings, 100000), ::testing::ExitedWithCode(1),
                "\\[Failed to save the file! \\(File too large\\)\\|" + output + "\\]");
    EXPECT_EQ(test::ReadBytes(output), "the user's bitmap");
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"noise.png", "page.bmp"}));
}

// Killed outright when page `k` starts: pages 0 .. k-1 are complete by then.
class KillingToolkit : public test::RecordingToolkit {
  public:
    int killAtPage = -1;
    void PageStarted(int index, int, std::string_view) override {
        if (index == killAtPage) {
            std::raise(SIGKILL);
        }
    }
};

[[noreturn]] void ConvertAndGetKilled(const photolist::PhotoList& list, const RunSettings& settings,
                                      int killAtPage) {
    KillingToolkit toolkit;
    toolkit.killAtPage = killAtPage;
    ConvertAndWait(toolkit, list, settings);
    std::_Exit(0);  // not reached
}

// The temporary has no name until the run ends, so a killed run leaves nothing behind.
TEST(Kill, MidRunLeavesTheUsersFileAndNothingElse) {
    ::testing::FLAGS_gtest_death_test_style = "fast";
    test::TestFolder folder;
    photolist::PhotoList list;
    options::OutputPhotoFormat record;
    test::RecordingReporter quiet;
    for (unsigned i = 0; i < 4; ++i) {
        const std::string path = folder / ("p" + std::to_string(i) + ".png");
        test::SaveImage(Noise(64 + static_cast<int>(i), 48, i), path, "PNG");
        ASSERT_EQ(photolist::AddPhotoFile(path, record, quiet, list), 1);
    }
    const std::string output = folder / "album.tif";
    { std::ofstream(output) << "the user's earlier album"; }
    const std::vector<std::string> files = folder.Files();
    RunSettings settings;
    settings.outputFilePath = output;

    EXPECT_EXIT(ConvertAndGetKilled(list, settings, 3), ::testing::KilledBySignal(SIGKILL), "");

    EXPECT_EQ(test::ReadBytes(output), "the user's earlier album");
    EXPECT_EQ(folder.Files(), files);
}

// ---- EXIF orientation ------------------------------------------------------------------

class AutoOrient : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApplication(); }
};

TEST_F(AutoOrient, EveryOrientationComesOutUprightAndResizedFromTheUprightSize) {
    const fs::path suite = fs::path(VELLUMO_CORPORA_DIR) / "exif-orientation";
    if (!fs::exists(suite / "Landscape_1.jpg")) {
        GTEST_SKIP() << "no EXIF orientation suite at " << suite;
    }
    test::TestFolder folder;
    photolist::PhotoList list;
    options::OutputPhotoFormat record;
    record.nOuputSizeType = options::kSizeCustom;
    record.nKeepAspectRatio = options::kKeepWithWidth;
    record.nOutputWidth = 180;
    test::RecordingReporter quiet;
    for (int n = 0; n <= 8; ++n) {
        ASSERT_EQ(
            photolist::AddPhotoFile((suite / ("Landscape_" + std::to_string(n) + ".jpg")).string(),
                                    record, quiet, list),
            1);
    }
    test::RecordingToolkit toolkit;
    RunSettings settings;
    settings.outputFilePath = folder / "upright.tif";
    settings.autoOrient = true;
    ConvertAndWait(toolkit, list, settings);
    EXPECT_TRUE(toolkit.messages().empty());
    const auto pages = test::ReadTiffPages(settings.outputFilePath);
    ASSERT_EQ(pages.size(), 9u);
    const QImage reference = test::ToQImage(pages[1]);
    EXPECT_EQ(reference.width(), 180);
    EXPECT_EQ(reference.height(), 120);  // the suite's landscape photos are 3:2
    for (size_t n = 0; n < pages.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_LT(test::MeanDifference(test::ToQImage(pages[n]), reference), 6.0);
    }

    // Without the option, orientation 6 keeps the stored (turned) picture.
    test::RecordingToolkit plain;
    settings.outputFilePath = folder / "stored.tif";
    settings.autoOrient = false;
    ConvertAndWait(plain, list, settings);
    const auto stored = test::ReadTiffPages(settings.outputFilePath);
    ASSERT_EQ(stored.size(), 9u);
    EXPECT_EQ(stored[6].width, 180);
    EXPECT_EQ(stored[6].height, 270);
    EXPECT_GT(test::MeanDifference(test::ToQImage(stored[2]), reference), 6.0);
}

}  // namespace
}  // namespace vellumo::convert
