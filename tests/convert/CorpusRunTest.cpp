// Every file of every public test suite through adding and converting, as a user would
// drop a whole folder of them on the window: a valid file gives its pages, a broken one
// is left out when added or refused with a message while converting, and the output
// holds exactly the pages the run says it wrote. Prints the figures per suite.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

#include "ConvertTestFiles.h"
#include "convert/ConversionRun.h"
#include "convert/Messages.h"
#include "photolist/AddPhotos.h"
#include "support/CorpusManifest.h"
#include "support/RecordingReporter.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

namespace fs = std::filesystem;

// Pages of the 48 x 32 size the test asks for; -1 when the file cannot be read.
int CountTiffPages(const std::string& path) {
    bool ok = false;
    const auto pages = test::ReadTiffPages(path, &ok);
    if (pages.empty() && !ok) {
        return -1;
    }
    return static_cast<int>(std::count_if(pages.begin(), pages.end(), [](const test::TiffPage& p) {
        return p.width == 48 && p.height == 32;
    }));
}

// Remembers which photo each failure message belongs to (the run shows a photo's
// messages after announcing it and before the next).
class AttributingToolkit : public test::RecordingToolkit {
  public:
    void PageStarted(int, int, std::string_view path) override {
        std::lock_guard lock(mutex_);
        current_ = path;
    }
    ui::Answer MessageBox(std::string_view text, std::string_view caption,
                          ui::MessageStyle style) override {
        if (text == text::kFailedConvert) {
            std::lock_guard lock(mutex_);
            failedPaths_.push_back(current_);
        }
        return RecordingToolkit::MessageBox(text, caption, style);
    }
    std::vector<std::string> failedPaths() const {
        std::lock_guard lock(mutex_);
        return failedPaths_;
    }

  private:
    mutable std::mutex mutex_;
    std::string current_;
    std::vector<std::string> failedPaths_;
};

class CorpusRun : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { test::EnsureGuiApplication(); }
    // Every file becomes a small page of the size CountTiffPages looks for.
    static options::OutputPhotoFormat SmallPages() {
        options::OutputPhotoFormat record;
        record.nOuputSizeType = options::kSizeCustom;
        record.nKeepAspectRatio = options::kKeepNone;
        record.nOutputWidth = 48;
        record.nOutputHeight = 32;
        return record;
    }
    test::TestFolder folder;
};

TEST_F(CorpusRun, EverySuiteConvertsItsValidFilesAndRefusesTheRestWithAMessage) {
    const fs::path corpora(VELLUMO_CORPORA_DIR);
    if (!fs::exists(corpora / "MANIFEST.tsv")) {
        GTEST_SKIP() << "corpora not available";
    }
    const options::OutputPhotoFormat record = SmallPages();

    std::printf("suite               files  left out  pages  written  refused\n");
    int suites = 0;
    std::map<std::string, std::vector<test::CorpusFile>> suitesByName;
    for (const test::CorpusFile& f : test::ReadCorpusManifest(corpora / "MANIFEST.tsv")) {
        suitesByName[f.suite].push_back(f);
    }
    for (const auto& [suite, rows] : suitesByName) {
        SCOPED_TRACE(suite);
        photolist::PhotoList list;
        std::set<std::string> mustConvert;  // paths of valid files of our formats
        int leftOut = 0;
        for (const test::CorpusFile& row : rows) {
            const std::string path = (corpora / suite / row.path).string();
            test::RecordingReporter reporter;
            const int added = photolist::AddPhotoFile(path, record, reporter, list);
            leftOut += added == 0 ? 1 : 0;
            if (test::MustBeDrawn(row)) {
                EXPECT_GT(added, 0) << row.name() << " is valid but was not added";
                mustConvert.insert(path);
            }
        }

        AttributingToolkit toolkit;
        RunSettings settings;
        settings.outputFilePath = folder / (suite + ".tif");
        settings.mainRecord = record;
        settings.threads = 2;
        const SyncResult result = ConvertAndWait(toolkit, list, settings);
        const RunSummary& s = result.summary;

        ASSERT_EQ(s.pageTotal, static_cast<int>(list.size()));
        EXPECT_FALSE(s.stopped);
        EXPECT_FALSE(s.outputFailed);
        EXPECT_EQ(s.pagesWritten + s.photosFailed, s.pageTotal);
        // Each page left out during the run was said in the program's own words.
        const std::vector<std::string> failed = toolkit.failedPaths();
        EXPECT_EQ(static_cast<int>(failed.size()), s.photosFailed);
        for (const std::string& path : failed) {
            EXPECT_EQ(mustConvert.count(path), 0u) << path << " is valid but was not converted";
        }
        if (s.pagesWritten > 0) {
            EXPECT_EQ(CountTiffPages(settings.outputFilePath), s.pagesWritten);
        }
        std::printf("%-18s %6zu %9d %6d %8d %8d\n", suite.c_str(), rows.size(), leftOut,
                    s.pageTotal, s.pagesWritten, s.photosFailed);
        ++suites;
    }
    EXPECT_GE(suites, 10);
}

// The newer formats (HEIF/AVIF, JPEG XL, raw, JPEG 2000, Photoshop, TGA, WebP, drawings)
// the same way, one run per folder of the "modern" corpus.
class ModernCorpusRun : public CorpusRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(ModernCorpusRun, ConvertsTheValidFilesAndRefusesTheRestWithAMessage) {
    const fs::path modern = fs::path(VELLUMO_CORPORA_DIR) / "modern";
    if (!fs::exists(modern / "MANIFEST.tsv")) {
        GTEST_SKIP() << "modern corpus not available";
    }
    const options::OutputPhotoFormat record = SmallPages();
    photolist::PhotoList list;
    std::set<std::string> mustConvert;
    int files = 0, leftOut = 0;
    for (const test::ModernFile& row : test::ReadModernManifest(modern / "MANIFEST.tsv")) {
        if (row.family() != GetParam()) {
            continue;
        }
        const std::string path = (modern / row.path).string();
        test::RecordingReporter reporter;
        const int added = photolist::AddPhotoFile(path, record, reporter, list);
        ++files;
        leftOut += added == 0 ? 1 : 0;
        if (test::ModernMustRead(row)) {
            EXPECT_GT(added, 0) << row.path << " is valid but was not added";
            mustConvert.insert(path);
        }
    }
    AttributingToolkit toolkit;
    RunSettings settings;
    settings.outputFilePath = folder / (std::string(GetParam()) + ".tif");
    settings.mainRecord = record;
    settings.threads = 2;
    const RunSummary s = ConvertAndWait(toolkit, list, settings).summary;
    ASSERT_EQ(s.pageTotal, static_cast<int>(list.size()));
    EXPECT_EQ(s.pagesWritten + s.photosFailed, s.pageTotal);
    EXPECT_EQ(static_cast<int>(toolkit.failedPaths().size()), s.photosFailed);
    for (const std::string& path : toolkit.failedPaths()) {
        EXPECT_EQ(mustConvert.count(path), 0u) << path << " is valid but was not converted";
    }
    if (s.pagesWritten > 0) {
        EXPECT_EQ(CountTiffPages(settings.outputFilePath), s.pagesWritten);
    }
    EXPECT_GE(s.pagesWritten, static_cast<int>(mustConvert.size()));
    EXPECT_GT(files, 0);
    std::printf("modern/%s: %d files, %d left out, %d pages, %d written, %d refused\n", GetParam(),
                files, leftOut, s.pageTotal, s.pagesWritten, s.photosFailed);
}

INSTANTIATE_TEST_SUITE_P(Folders, ModernCorpusRun,
                         ::testing::Values("heif", "avif", "jxl", "raw", "jp2", "psd", "tga",
                                           "webp", "svg", "emf", "wmf", "tiff-float"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             return name == "tiff-float" ? std::string("tiff_float") : name;
                         });

}  // namespace
}  // namespace vellumo::convert
