#include "photolist/PhotoFinder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "photolist/TestImages.h"
#include "support/RecordingReporter.h"

namespace vellumo::photolist {
namespace {

namespace fs = std::filesystem;
using test::RecordingReporter;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(test::WriteBytes(path.string(), ""));
}

// The results with the root cut off, for short expectations.
std::vector<std::string> Relative(const std::vector<std::string>& results, const fs::path& root) {
    const std::string prefix = root.string() + "/";
    std::vector<std::string> out;
    for (const auto& r : results) {
        out.push_back(r.rfind(prefix, 0) == 0 ? r.substr(prefix.size()) : "<outside> " + r);
    }
    return out;
}

// ---- Extension test ----

TEST(MatchesPhotoExtension, AcceptsTheTwelveAndTheNewerFormatsInAnyCase) {
    // The twelve of old keep their place at the front of the list.
    const std::vector<std::string_view> twelve = {".bmp", ".jpg",  ".jpeg", ".gif", ".tif", ".tiff",
                                                  ".png", ".exif", ".ico",  ".emf", ".wmf", ".dib"};
    EXPECT_TRUE(std::equal(twelve.begin(), twelve.end(), kPhotoExtensions.begin()));
    for (const char* path : {"a.bmp",
                             "a.JPG",
                             "a.Jpeg",
                             "a.gif",
                             "a.tif",
                             "a.TIFF",
                             "a.png",
                             "a.exif",
                             "a.ico",
                             "a.emf",
                             "a.WMF",
                             "a.dib",
                             "/photos/2009/IMG_0001.JPG",
                             "C:\\pics\\x.Tiff",
                             ".jpg",
                             "IMG_1.HEIC",
                             "a.heif",
                             "a.avif",
                             "a.JXL",
                             "a.webp",
                             "a.dng",
                             "a.CR2",
                             "a.cr3",
                             "a.nef",
                             "a.ARW",
                             "a.orf",
                             "a.rw2",
                             "a.raf",
                             "a.pef",
                             "a.srw",
                             "a.tga",
                             "a.svg",
                             "a.pnm",
                             "a.raw"}) {
        EXPECT_TRUE(MatchesPhotoExtension(path)) << path;
    }
}

TEST(MatchesPhotoExtension, RefusesOtherExtensionsAndNamesWithoutOne) {
    for (const char* path : {"a.heic.bak", "archive.jpg.bak", "noext", "a.", "a.jp", "a.jpgx",
                             "folder.jpg/readme", "a.jpg ", "a.pdf", ""}) {
        EXPECT_FALSE(MatchesPhotoExtension(path)) << path;
    }
}

// ---- Search ----

TEST(PhotoFinder, WalksBreadthFirstInNameOrderAndKeepsMatchingFilesOnly) {
    TempFolder folder;
    const fs::path root = folder.path();
    for (const char* name :
         {"b.jpg", "a.PNG", "z.txt", "notes.jpg.bak", "sub2/c.gif", "sub1/d.TIF", "sub1/e.doc",
          "sub1/deeper/f.jpeg", "sub2/g/h/i.bmp", ".hidden/j.ico"}) {
        Touch(root / name);
    }
    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results{"kept"};

    ASSERT_TRUE(finder.Search(root.string(), results));

    EXPECT_EQ(finder.root(), root.string() + "/");
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results.front(), "kept");
    results.erase(results.begin());
    EXPECT_THAT(Relative(results, root),
                ElementsAre("a.PNG", "b.jpg", ".hidden/j.ico", "sub1/d.TIF", "sub2/c.gif",
                            "sub1/deeper/f.jpeg", "sub2/g/h/i.bmp"));
    EXPECT_THAT(reporter.reports, IsEmpty());
}

TEST(PhotoFinder, MissingRootAndFileRootAreReported) {
    TempFolder folder;
    Touch(folder.path() / "photo.jpg");
    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results;

    EXPECT_FALSE(finder.Search(folder / "nowhere", results));
    EXPECT_FALSE(finder.Search(folder / "photo.jpg", results));
    EXPECT_FALSE(finder.Search(folder / "photo.jpg/", results));
    EXPECT_FALSE(finder.Search("", results));

    EXPECT_THAT(results, IsEmpty());
    ASSERT_THAT(reporter.reports, SizeIs(4));
    EXPECT_EQ(reporter.reports[0].text, (folder / "nowhere") + "/ occurs error!");
    EXPECT_EQ(reporter.reports[1].text, (folder / "photo.jpg") + "/ is not a right directory");
    EXPECT_EQ(reporter.reports[2].text, (folder / "photo.jpg") + "/ is not a right directory");
    EXPECT_EQ(reporter.reports[3].text, " occurs error!");
    for (const auto& r : reporter.reports) {
        EXPECT_EQ(r.caption, "Vellumo");
    }
}

TEST(PhotoFinder, FolderLinksThatLeadBackAreReadOnce) {
    TempFolder folder;
    const fs::path root = folder.path() / "root";
    const fs::path outside = folder.path() / "outside";
    Touch(root / "a.jpg");
    Touch(root / "sub" / "b.jpg");
    Touch(outside / "c.jpg");
    fs::create_directory_symlink(root, root / "sub" / "back");
    fs::create_directory_symlink(root / "sub", root / "sub" / "self");
    fs::create_directory_symlink(outside, root / "out1");
    fs::create_directory_symlink(outside, root / "sub" / "out2");
    fs::create_directory_symlink(outside / "missing", root / "dangling");

    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results;
    ASSERT_TRUE(finder.Search(root.string(), results));

    EXPECT_THAT(Relative(results, root), ElementsAre("a.jpg", "out1/c.jpg", "sub/b.jpg"));
}

TEST(PhotoFinder, OnlyRegularFilesAreCollected) {
    TempFolder folder;
    Touch(folder.path() / "real.jpg");
    ASSERT_EQ(::mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);
    fs::create_symlink(folder.path() / "real.jpg", folder.path() / "link.jpg");
    fs::create_symlink(folder.path() / "none.jpg", folder.path() / "broken.jpg");
    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results;
    ASSERT_TRUE(finder.Search(folder.path().string(), results));
    EXPECT_THAT(Relative(results, folder.path()), ElementsAre("link.jpg", "real.jpg"));
}

TEST(PhotoFinder, NamesThatAreNotUtf8AreKeptAsBytes) {
    TempFolder folder;
    const std::string name = "caf\xe9-\xff\xfe.jpg";  // Latin-1 bytes, invalid as UTF-8
    Touch(folder.path() / name);
    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results;
    ASSERT_TRUE(finder.Search(folder.path().string(), results));
    ASSERT_THAT(results, SizeIs(1));
    EXPECT_EQ(results[0], (folder.path() / name).string());
    EXPECT_TRUE(fs::exists(fs::path(results[0])));
}

TEST(PhotoFinder, TenThousandFilesInOneFolderComeOnceEachInOrder) {
    TempFolder folder;
    for (int i = 9999; i >= 0; --i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%05d.jpg", i);
        ASSERT_TRUE(test::WriteBytes(folder / name, ""));
    }
    RecordingReporter reporter;
    PhotoFinder finder(reporter);
    std::vector<std::string> results;
    ASSERT_TRUE(finder.Search(folder.path().string(), results));
    ASSERT_THAT(results, SizeIs(10000));
    EXPECT_TRUE(std::is_sorted(results.begin(), results.end()));
    EXPECT_EQ(std::set<std::string>(results.begin(), results.end()).size(), 10000u);
    EXPECT_EQ(results.back(), folder / "p09999.jpg");
}

// Runs the search in a child without root's right to read every folder, so that a
// folder without read permission is really unreadable. Returns the results joined by
// newlines, or "<failed>".
std::string SearchWithoutPrivileges(const std::string& root) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return "<failed>";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        RecordingReporter reporter;
        PhotoFinder finder(reporter);
        std::vector<std::string> results;
        const bool ok = finder.Search(root, results);
        std::string text;
        for (const auto& r : results) {
            text += r + "\n";
        }
        for (const auto& r : reporter.reports) {
            text += "report: " + r.text + "\n";
        }
        const ssize_t written = ::write(fds[1], text.data(), text.size());
        ::_exit(ok && written == static_cast<ssize_t>(text.size()) ? 0 : 4);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "<failed>";
}

TEST(PhotoFinder, UnreadableSubfolderIsPassedOverAndReported) {
    TempFolder folder;
    const fs::path root = folder.path();
    Touch(root / "a.jpg");
    Touch(root / "locked" / "secret.jpg");
    Touch(root / "open" / "b.jpg");
    fs::permissions(root, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(root / "open",
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(root / "locked", fs::perms::none);

    const std::string found = SearchWithoutPrivileges(root.string());

    EXPECT_EQ(found, (root / "a.jpg").string() + "\n" + (root / "open" / "b.jpg").string() + "\n" +
                         "report: " + (root / "locked").string() +
                         "/: Permission denied; the folder is skipped\n");
}

}  // namespace
}  // namespace vellumo::photolist
