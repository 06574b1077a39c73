// Outputs are written under temporary names and replace the user's files only at the end.
#include "convert/StagedOutputs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "convert/BackgroundSync.h"
#include "convert/PlatformFiles.h"

namespace vellumo::convert {
namespace {

namespace fs = std::filesystem;

class StagedOutputsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vellumo-staged-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    static void Write(const fs::path& p, const std::string& content) {
        std::ofstream(p, std::ios::binary) << content;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }
    fs::path folder_;
};

TEST_F(StagedOutputsTest, OldFileStaysUntilCommitThenIsReplaced) {
    const fs::path target = folder_ / "album.tif";
    Write(target, "old");
    StagedOutputs outputs;
    TemporaryFile* temporary = outputs.TemporaryFor(target.string());
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(outputs.TemporaryFor(target.string()), temporary);  // one per final name
    EXPECT_EQ(FilesInFolder(), 1u);                               // the temporary has no name yet

    Write(temporary->AccessPath(), "new");
    outputs.MarkWritten(target.string());
    EXPECT_EQ(Read(target), "old");
    const auto result = outputs.Commit();
    ASSERT_EQ(result.placed.size(), 1u);
    EXPECT_TRUE(result.failed.empty());
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(StagedOutputsTest, NothingWrittenLeavesTheOldFileAndNoLeftovers) {
    const fs::path target = folder_ / "album.tif";
    Write(target, "old");
    {
        StagedOutputs outputs;
        ASSERT_TRUE(outputs.TemporaryFor(target.string()));
        const auto result = outputs.Commit();
        EXPECT_TRUE(result.placed.empty());
    }
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(StagedOutputsTest, DiscardedAndAbandonedTemporariesAreRemoved) {
    {
        StagedOutputs outputs;
        ASSERT_TRUE(outputs.TemporaryFor((folder_ / "a.jpg").string()));
        ASSERT_TRUE(outputs.TemporaryFor((folder_ / "b.jpg").string()));
        outputs.Discard((folder_ / "a.jpg").string());
    }  // never committed
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(StagedOutputsTest, TwoRunsNeverShareATemporaryFile) {
    StagedOutputs first;
    StagedOutputs second;
    const auto a = first.TemporaryFor((folder_ / "x.tif").string());
    const auto b = second.TemporaryFor((folder_ / "x.tif").string());
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->descriptor(), b->descriptor());
}

TEST_F(StagedOutputsTest, MissingFolderOrAFileInItsPlaceGivesNoTemporary) {
    Write(folder_ / "plain", "a file, not a folder");
    StagedOutputs outputs;
    EXPECT_FALSE(outputs.TemporaryFor((folder_ / "plain" / "x.tif").string()));
    EXPECT_FALSE(outputs.TemporaryFor((folder_ / "missing" / "x.tif").string()));
    EXPECT_FALSE(outputs.TemporaryFor("/proc/x.tif"));
    fs::create_directories(folder_ / "a-folder");
    EXPECT_FALSE(outputs.TemporaryFor((folder_ / "a-folder").string()));
}

TEST_F(StagedOutputsTest, UnwritableFolderGivesNoTemporary) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    StagedOutputs outputs;
    EXPECT_FALSE(outputs.TemporaryFor((folder_ / "x.tif").string()));
}

TEST_F(StagedOutputsTest, ReplacedFileKeepsItsPermissionsAndNewFilesGetOrdinaryOnes) {
    const fs::path existing = folder_ / "kept.png";
    Write(existing, "old");
    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::others_read);
    StagedOutputs outputs;
    for (const auto& name : {existing, folder_ / "fresh.png"}) {
        TemporaryFile* t = outputs.TemporaryFor(name.string());
        ASSERT_TRUE(t);
        Write(t->AccessPath(), "new");
        outputs.MarkWritten(name.string());
    }
    ASSERT_EQ(outputs.Commit().placed.size(), 2u);
    EXPECT_EQ(fs::status(existing).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    // A fresh file is as readable as one created the ordinary way, not private.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(
        static_cast<unsigned>(fs::status(folder_ / "fresh.png").permissions() & fs::perms::all),
        0666U & ~static_cast<unsigned>(mask));
}

TEST_F(StagedOutputsTest, TargetThatCannotBeReplacedKeepsTheTemporary) {
    const fs::path target = folder_ / "taken";
    StagedOutputs outputs;
    TemporaryFile* t = outputs.TemporaryFor(target.string());
    ASSERT_TRUE(t);
    fs::create_directories(target / "inside");  // a non-empty folder cannot be renamed over
    Write(t->AccessPath(), "pages");
    outputs.MarkWritten(target.string());
    const auto result = outputs.Commit();
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_FALSE(result.failed[0].reason.empty());
    EXPECT_EQ(Read(result.failed[0].keptAs), "pages");
}

// Another program wrote the output while the run went on: its file stays, ours is kept
// beside it and the failure says why.
TEST_F(StagedOutputsTest, TargetChangedDuringTheRunIsNotReplaced) {
    const fs::path target = folder_ / "album.tif";
    Write(target, "old");
    StagedOutputs outputs;
    TemporaryFile* t = outputs.TemporaryFor(target.string());
    ASSERT_TRUE(t);
    Write(t->AccessPath(), "ours");
    outputs.MarkWritten(target.string());
    Write(folder_ / "theirs", "theirs");
    fs::rename(folder_ / "theirs", target);
    const auto result = outputs.Commit();
    EXPECT_TRUE(result.placed.empty());
    ASSERT_EQ(result.failed.size(), 1u);
    EXPECT_NE(result.failed[0].reason.find("changed by another program"), std::string::npos);
    EXPECT_EQ(Read(target), "theirs");
    EXPECT_EQ(Read(result.failed[0].keptAs), "ours");
}

// Links stay links, the file they name is replaced (a dangling link's target is made);
// a name of 250 bytes, too long for a longer temporary name, works as well.
TEST_F(StagedOutputsTest, LinksAndLongNames) {
    fs::create_directories(folder_ / "real");
    Write(folder_ / "real" / "album.tif", "old");
    fs::create_symlink("real/album.tif", folder_ / "link.tif");
    fs::create_symlink("link.tif", folder_ / "chain.tif");
    fs::create_symlink("real/new.tif", folder_ / "dangling.tif");
    const std::string longName = std::string(246, 'n') + ".tif";
    StagedOutputs outputs;
    for (const auto& name : {std::string("chain.tif"), std::string("dangling.tif"), longName}) {
        TemporaryFile* t = outputs.TemporaryFor((folder_ / name).string());
        ASSERT_TRUE(t) << name;
        Write(t->AccessPath(), "new " + name.substr(0, 5));
        outputs.MarkWritten((folder_ / name).string());
    }
    ASSERT_EQ(outputs.Commit().placed.size(), 3u);
    for (const auto& link : {"link.tif", "chain.tif", "dangling.tif"}) {
        EXPECT_TRUE(fs::is_symlink(folder_ / link)) << link;
    }
    EXPECT_EQ(Read(folder_ / "real" / "album.tif"), "new chain");
    EXPECT_EQ(Read(folder_ / "real" / "new.tif"), "new dangl");
    EXPECT_EQ(Read(folder_ / longName), "new nnnnn");
    EXPECT_EQ(FilesInFolder(), 5u);
}

// A background sync that fails is reported to the next Settle of its descriptor, and
// only once (the number may be reused); one that cannot apply (a pipe) is no failure.
TEST(BackgroundSync, ReportsAFailedSyncOnceToItsSettle) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const fs::path path = fs::temp_directory_path() / ("vellumo-sync-" + std::to_string(::getpid()));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("page", file);
    std::fflush(file);
    const int closed = ::dup(pipeEnds[0]);  // a number nothing else holds
    ASSERT_GE(closed, 0);
    ::close(closed);

    BackgroundSync sync;
    const int synced[] = {::fileno(file), pipeEnds[1], closed};
    for (const int fd : synced) {
        sync.Request(fd);
        sync.Request(fd);  // the same request while it waits
    }
    EXPECT_EQ(sync.Settle(::fileno(file)), "");
    EXPECT_EQ(sync.Settle(pipeEnds[1]), "");
    EXPECT_NE(sync.Settle(closed), "");
    EXPECT_EQ(sync.Settle(closed), "");

    std::fclose(file);
    fs::remove(path);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

}  // namespace
}  // namespace vellumo::convert
