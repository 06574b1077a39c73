#include "shell/WorkingFolder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "shell/Paths.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingReporter.h"

namespace vellumo::shell {
namespace {

namespace fs = std::filesystem;

class WorkingFolderTest : public ::testing::Test {
  protected:
    std::string Temp() const { return EnsureTrailingBackslash(dir_.path().toStdString()); }
    PicturesFolderQuery PicturesAt(const std::string& folder) const {
        return [folder] { return std::optional<std::string>(folder); };
    }
    std::string Resolve(const PicturesFolderQuery& query) {
        return ResolveFolderSetting(store_, kOptionSection, "photo_output_folder", fallback_,
                                    reporter_, query);
    }

    QTemporaryDir dir_;
    test::MemorySettingsStore store_;
    test::RecordingReporter reporter_;
    const std::string fallback_ = "/home/ann/";
};

TEST_F(WorkingFolderTest, CleanProfileCreatesTheWorkingFolderAndDefaultsToIt) {
    // A fresh profile may lack the pictures folder itself.
    const std::string pictures = Temp() + "Pictures";
    const std::string expected = pictures + "/Vellumo/";
    EXPECT_EQ(Resolve(PicturesAt(pictures)), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    EXPECT_TRUE(reporter_.reports.empty());
    // The default is not written back; only the caller's exit writes.
    EXPECT_TRUE(store_.writes.empty());
}

TEST_F(WorkingFolderTest, AStoredValueWinsAsStored) {
    store_.WriteString(kOptionSection, "photo_output_folder", "/srv/scans");
    EXPECT_EQ(Resolve(PicturesAt(Temp() + "Pictures")), "/srv/scans");
    // The working folder is still made: it is the default whether or not it is used.
    EXPECT_TRUE(fs::is_directory(Temp() + "Pictures/Vellumo/"));
}

TEST_F(WorkingFolderTest, PicturesFolderWithTrailingSeparatorIsJoinedOnce) {
    EXPECT_EQ(Resolve(PicturesAt(Temp() + "Pics/")), Temp() + "Pics/Vellumo/");
}

TEST_F(WorkingFolderTest, UnknownPicturesFolderIsReportedAndTheFallbackUsed) {
    const auto unknown = [] { return std::optional<std::string>(); };
    EXPECT_EQ(Resolve(unknown), fallback_);
    ASSERT_EQ(reporter_.reports.size(), 1u);
    EXPECT_EQ(reporter_.reports[0].text, "Can not get My Documents directory!");
    EXPECT_EQ(reporter_.reports[0].caption, "Error");

    store_.WriteString(kOptionSection, "photo_output_folder", "/kept/");
    EXPECT_EQ(Resolve(unknown), "/kept/");
    EXPECT_EQ(reporter_.reports.size(), 2u);
}

TEST_F(WorkingFolderTest, FolderThatCannotBeMadeIsReportedWithItsPathAsCaption) {
    // The pictures "folder" is a file, so nothing can be created inside it.
    const std::string pictures = Temp() + "Pictures";
    std::ofstream(pictures) << "not a folder";
    EXPECT_EQ(Resolve(PicturesAt(pictures)), pictures + "/");
    ASSERT_EQ(reporter_.reports.size(), 1u);
    EXPECT_EQ(reporter_.reports[0].text, "Can not create the directory");
    EXPECT_EQ(reporter_.reports[0].caption, pictures + "/Vellumo/");
}

TEST(FolderFallback, IsAFolderEndingInTheSeparator) {
    const std::string fallback = FolderFallback();
    ASSERT_FALSE(fallback.empty());
    EXPECT_EQ(fallback.back(), NativeSeparator());
    EXPECT_TRUE(fs::is_directory(fallback));
}

}  // namespace
}  // namespace vellumo::shell
