#include "photolist/AddPhotos.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>

#include "photolist/TestImages.h"
#include "support/RecordingReporter.h"

namespace vellumo::photolist {
namespace {

using test::RecordingReporter;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::SizeIs;

std::string Sample(const char* name) {
    return std::string(VELLUMO_SAMPLES_DIR) + "/" + name;
}

bool SampleExists(const char* name) {
    return std::filesystem::exists(Sample(name));
}

// Local time is UTC for the tests that check time texts.
class UtcTime {
  public:
    UtcTime() {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (hadOld_) {
            old_ = old;
        }
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    ~UtcTime() {
        if (hadOld_) {
            ::setenv("TZ", old_.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

  private:
    bool hadOld_ = false;
    std::string old_;
};

bool SetModifiedTime(const std::string& path, time_t when) {
    const struct utimbuf times { when, when };
    return ::utime(path.c_str(), &times) == 0;
}

std::vector<int32_t> FrameIndexes(const PhotoList& list) {
    std::vector<int32_t> out;
    for (const auto& e : list) {
        out.push_back(e.frameIndex);
    }
    return out;
}

// ---- Entries per file ----

TEST(AddPhotoFile, FourPageTiffGivesOneEntryPerPageWithItsOwnSize) {
    TempFolder folder;
    const std::string path = folder / "four.tif";
    ASSERT_TRUE(test::WriteMultiPageTiff(
        path, {{40, 30, 255, 0, 0}, {50, 20, 0, 255, 0}, {10, 60, 0, 0, 255}, {7, 7, 9, 9, 9}}));
    options::OutputPhotoFormat main;
    main.nOuputSizeType = options::kSizeCustom;
    main.nKeepAspectRatio = options::kKeepWithWidth;
    main.nOutputWidth = 100;
    RecordingReporter reporter;
    PhotoList list;

    EXPECT_EQ(AddPhotoFile(path, main, reporter, list), 4);

    ASSERT_THAT(list, SizeIs(4));
    EXPECT_EQ(list.photoCount, 4);
    EXPECT_THAT(FrameIndexes(list), ElementsAre(0, 1, 2, 3));
    const int32_t widths[] = {40, 50, 10, 7};
    const int32_t heights[] = {30, 20, 60, 7};
    const int32_t outputHeights[] = {75, 40, 600, 100};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const PhotoEntry& e = list[i];
        EXPECT_EQ(e.path, path);
        EXPECT_EQ(e.fileName, "four.tif");
        EXPECT_EQ(e.totalFrames, 4);
        EXPECT_EQ(e.frameDimension, imaging::FrameDimension::Page);
        EXPECT_EQ(e.width, widths[i]);
        EXPECT_EQ(e.height, heights[i]);
        EXPECT_EQ(e.outputFormat.nOutputWidth, 100);
        EXPECT_EQ(e.outputFormat.nOutputHeight, outputHeights[i]);
        EXPECT_FALSE(e.modifiedText.empty());
        EXPECT_GT(e.modifiedTime, 0);
        EXPECT_TRUE(e.dimensionIds.empty());
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST(AddPhotoFile, AnimatedGifGivesOneEntryPerTimeFrame) {
    if (!SampleExists("animated_loop.gif")) {
        GTEST_SKIP() << "sample photos absent";
    }
    RecordingReporter reporter;
    PhotoList list;
    EXPECT_EQ(
        AddPhotoFile(Sample("animated_loop.gif"), options::OutputPhotoFormat{}, reporter, list), 4);
    ASSERT_THAT(list, SizeIs(4));
    EXPECT_THAT(FrameIndexes(list), ElementsAre(0, 1, 2, 3));
    for (const auto& e : list) {
        EXPECT_EQ(e.frameDimension, imaging::FrameDimension::Time);
        EXPECT_EQ(e.totalFrames, 4);
        EXPECT_EQ(e.width, 100);
        EXPECT_EQ(e.height, 100);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST(AddPhotoFile, SingleImageGivesOneProbedEntryWithTheMainOptions) {
    TempFolder folder;
    const std::string path = folder / "one.png";
    ASSERT_TRUE(test::WriteImage(path, 64, 48, Qt::red));
    options::OutputPhotoFormat main;
    main.nRotateAngel = 270;
    main.nFlipType = options::kFlipVertical;
    main.nOuputSizeType = options::kSizeStretch;
    main.dStretchHorizontal = 0.5;
    main.dStretchVertical = 2.0;
    RecordingReporter reporter;
    PhotoList list;

    ASSERT_EQ(AddPhotoFile(path, main, reporter, list), 1);
    const PhotoEntry& e = list[0];
    EXPECT_EQ(e.frameIndex, 0);
    EXPECT_EQ(e.totalFrames, 1);
    EXPECT_EQ(e.dimensionCount, 1u);
    EXPECT_EQ(e.dimensionFrameCounts[0], 1u);
    EXPECT_EQ(e.dimensionFrameCounts[1], 0u);
    EXPECT_EQ(e.width, 64);
    EXPECT_EQ(e.height, 48);
    EXPECT_EQ(e.outputFormat.nRotateAngel, 270);
    EXPECT_EQ(e.outputFormat.nFlipType, options::kFlipVertical);
    EXPECT_EQ(e.outputFormat.nOutputWidth, 32);
    EXPECT_EQ(e.outputFormat.nOutputHeight, 96);
}

TEST(AddPhotoFile, SameFileTwiceGivesTwoIndependentEntries) {
    TempFolder folder;
    const std::string path = folder / "twice.bmp";
    ASSERT_TRUE(test::WriteImage(path, 8, 8, Qt::blue));
    RecordingReporter reporter;
    PhotoList list;
    AddPhotoFile(path, options::OutputPhotoFormat{}, reporter, list);
    AddPhotoFile(path, options::OutputPhotoFormat{}, reporter, list);
    ASSERT_EQ(list.photoCount, 2);
    list.eraseAt(0);
    ASSERT_EQ(list.photoCount, 1);
    EXPECT_EQ(list[0].path, path);
}

TEST(AddPhotoFile, NameThatIsNotUtf8IsKeptAsBytes) {
    TempFolder folder;
    const std::string name = "caf\xe9 \xff.png";
    const std::string path = folder / name;
    ASSERT_TRUE(test::WriteImage(folder / "plain.png", 6, 5, Qt::red));
    std::filesystem::rename(folder / "plain.png", path);
    RecordingReporter reporter;
    PhotoList list;
    ASSERT_EQ(AddPhotoFile(path, options::OutputPhotoFormat{}, reporter, list), 1);
    EXPECT_EQ(list[0].path, path);
    EXPECT_EQ(list[0].fileName, name);
    EXPECT_EQ(list[0].width, 6);
    EXPECT_FALSE(list[0].modifiedText.empty());
}

TEST(AddPhotoFile, FilesThatAreNoImagesAreRefusedSilently) {
    TempFolder folder;
    ASSERT_TRUE(test::WriteBytes(folder / "text.jpg", "this is not a photo\n"));
    ASSERT_TRUE(test::WriteBytes(folder / "empty.png", ""));
    ASSERT_TRUE(test::WriteBytes(folder / "cut.png", std::string("\x89PNG\r\n\x1a\n", 8)));
    std::filesystem::create_directory(folder / "folder.jpg");
    ASSERT_EQ(::mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);

    RecordingReporter reporter;
    PhotoList list;
    for (const char* name :
         {"missing.jpg", "text.jpg", "empty.png", "cut.png", "folder.jpg", "pipe.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(AddPhotoFile(folder / name, options::OutputPhotoFormat{}, reporter, list), 0);
    }
    EXPECT_EQ(list.photoCount, 0);
    EXPECT_TRUE(reporter.reports.empty());
}

// ---- Modification time ----

TEST(ModifiedTime, TextIsLocalTimeWithZeroPaddedParts) {
    UtcTime utc;
    EXPECT_EQ(FormatModifiedText(1236434709), "2009/03/07 14:05:09");
    EXPECT_EQ(FormatModifiedText(1236416703), "2009/03/07 09:05:03");
    EXPECT_EQ(FormatModifiedText(0), "1970/01/01 00:00:00");
}

TEST(ModifiedTime, EntryCarriesTheFilesTime) {
    UtcTime utc;
    TempFolder folder;
    const std::string path = folder / "dated.png";
    ASSERT_TRUE(test::WriteImage(path, 4, 4, Qt::green));
    ASSERT_TRUE(SetModifiedTime(path, 1236416703));
    RecordingReporter reporter;
    PhotoList list;
    ASSERT_EQ(AddPhotoFile(path, options::OutputPhotoFormat{}, reporter, list), 1);
    EXPECT_EQ(list[0].modifiedTime, 1236416703);
    EXPECT_EQ(list[0].modifiedText, "2009/03/07 09:05:03");
}

TEST(ModifiedTime, FileThatCannotBeOpenedIsReportedWithItsPathAsCaption) {
    TempFolder folder;
    const std::string path = folder / "gone.jpg";
    RecordingReporter reporter;
    PhotoEntry entry;
    ReadModifiedTime(path, entry, reporter);
    ASSERT_THAT(reporter.reports, SizeIs(1));
    EXPECT_EQ(reporter.reports[0].caption, path);
    EXPECT_EQ(reporter.reports[0].text,
              std::make_error_code(std::errc::no_such_file_or_directory).message());
    EXPECT_EQ(entry.modifiedTime, 0);
    EXPECT_TRUE(entry.modifiedText.empty());
}

TEST(ModifiedTime, LongOpenErrorTextIsCut) {
    const FileTimeReader reader = [](const std::string&) {
        FileTimeResult r;
        r.status = FileTimeResult::Status::OpenFailed;
        r.errorText = std::string(400, 'e');
        return r;
    };
    RecordingReporter reporter;
    PhotoEntry entry;
    ReadModifiedTime("/x.jpg", entry, reporter, reader);
    ASSERT_THAT(reporter.reports, SizeIs(1));
    EXPECT_EQ(reporter.reports[0].text.size(), 254u);
}

TEST(ModifiedTime, UnreadableStatusIsReportedForTheBaseEntryAndEveryFrame) {
    TempFolder folder;
    const std::string path = folder / "three.tif";
    ASSERT_TRUE(
        test::WriteMultiPageTiff(path, {{4, 4, 1, 2, 3}, {5, 5, 1, 2, 3}, {6, 6, 1, 2, 3}}));
    const FileTimeReader failingStatus = [](const std::string&) {
        FileTimeResult r;
        r.status = FileTimeResult::Status::StatusFailed;
        return r;
    };
    RecordingReporter reporter;
    const auto entries =
        EntriesForPhotoFile(path, options::OutputPhotoFormat{}, reporter, failingStatus);

    ASSERT_THAT(entries, SizeIs(3));
    for (const auto& e : entries) {
        EXPECT_EQ(e.modifiedTime, 0);
        EXPECT_TRUE(e.modifiedText.empty());
    }
    ASSERT_THAT(reporter.reports, SizeIs(4));
    for (const auto& r : reporter.reports) {
        EXPECT_EQ(r.text, "Failed file.GetStatus from " + path);
        EXPECT_EQ(r.caption, path);
    }
}

// ---- Probe and per-frame filling ----

TEST(ProbeFrames, RecordsDimensionsInListedOrder) {
    PhotoEntry entry;
    ProbeFrames(entry, {{imaging::FrameDimension::Page, 3}, {imaging::FrameDimension::Time, 9}});
    EXPECT_EQ(entry.dimensionCount, 2u);
    EXPECT_EQ(entry.dimensionFrameCounts[0], 3u);
    EXPECT_EQ(entry.dimensionFrameCounts[1], 9u);
    EXPECT_EQ(entry.totalFrames, 3);
    EXPECT_EQ(entry.frameDimension, imaging::FrameDimension::Time);

    ProbeFrames(entry, std::vector<imaging::FrameDimensionCount>{});
    EXPECT_EQ(entry.dimensionCount, 0u);
    EXPECT_EQ(entry.dimensionFrameCounts[0], 0u);
    EXPECT_EQ(entry.dimensionFrameCounts[1], 0u);
    EXPECT_EQ(entry.totalFrames, 0);
}

TEST(ProbeFrames, MoreThanOneHundredDimensionsRecordTheFirstHundred) {
    std::vector<imaging::FrameDimensionCount> listed;
    for (uint32_t i = 0; i < 150; ++i) {
        listed.push_back(
            {i == 149 ? imaging::FrameDimension::Resolution : imaging::FrameDimension::Page,
             i + 1});
    }
    PhotoEntry entry;
    ProbeFrames(entry, listed);
    EXPECT_EQ(entry.dimensionCount, 100u);
    EXPECT_EQ(entry.dimensionFrameCounts[0], 1u);
    EXPECT_EQ(entry.dimensionFrameCounts[99], 100u);
    EXPECT_EQ(entry.totalFrames, 1);
    EXPECT_EQ(entry.frameDimension, imaging::FrameDimension::Resolution);
    EXPECT_TRUE(entry.dimensionIds.empty());
}

TEST(FillEntryForFrame, FrameThatCannotBeSelectedIsReportedAndSkipped) {
    TempFolder folder;
    const std::string path = folder / "two.tif";
    ASSERT_TRUE(test::WriteMultiPageTiff(path, {{4, 4, 1, 2, 3}, {9, 5, 1, 2, 3}}));
    auto image = imaging::ImageFile::Open(path);
    ASSERT_TRUE(image.IsValid());
    RecordingReporter reporter;
    const options::OutputPhotoFormat main;
    const FileTimeReader reader = ReadFileTime;
    const FillContext context{main, reporter, reader};

    PhotoEntry missing;
    missing.frameDimension = imaging::FrameDimension::Page;
    EXPECT_FALSE(FillEntryForFrame(path, missing, 7, image, context));
    ASSERT_THAT(reporter.reports, SizeIs(1));
    EXPECT_EQ(reporter.reports[0].text, "Can not Active a Frame");
    EXPECT_EQ(reporter.reports[0].caption, "Error");

    PhotoEntry second;
    second.frameDimension = imaging::FrameDimension::Page;
    EXPECT_TRUE(FillEntryForFrame(path, second, 1, image, context));
    EXPECT_EQ(second.width, 9);
    EXPECT_EQ(second.height, 5);
    EXPECT_EQ(second.outputFormat.nOutputWidth, 9);
}

TEST(FillEntry, UnknownSizeRuleIsReportedPerEntryAndKeepsTheCopiedSize) {
    TempFolder folder;
    const std::string path = folder / "odd.png";
    ASSERT_TRUE(test::WriteImage(path, 10, 10, Qt::white));
    options::OutputPhotoFormat main;
    main.nOuputSizeType = 7;
    RecordingReporter reporter;
    PhotoList list;
    ASSERT_EQ(AddPhotoFile(path, main, reporter, list), 1);
    EXPECT_EQ(list[0].outputFormat.nOutputWidth, 1024);
    EXPECT_EQ(list[0].outputFormat.nOutputHeight, 768);
    ASSERT_THAT(reporter.reports, SizeIs(1));
    EXPECT_EQ(reporter.reports[0].text, "unknown error m_outputPhotoFormat.nOuputSizeType");
}

}  // namespace
}  // namespace vellumo::photolist
