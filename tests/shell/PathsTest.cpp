#include "shell/Paths.h"

#include <gtest/gtest.h>

namespace vellumo::shell {
namespace {

TEST(Paths, EnsureTrailingBackslashAddsTheSeparatorOnce) {
    const std::string sep(1, NativeSeparator());
    EXPECT_EQ(EnsureTrailingBackslash(""), sep);
    EXPECT_EQ(EnsureTrailingBackslash("/home/ann/Pictures"), "/home/ann/Pictures" + sep);
    EXPECT_EQ(EnsureTrailingBackslash("/home/ann/Pictures" + sep), "/home/ann/Pictures" + sep);
    EXPECT_EQ(EnsureTrailingBackslash(sep), sep);
}

TEST(Paths, FolderOfPathKeepsTheLastSeparator) {
    EXPECT_EQ(FolderOfPath("/pages/final.tif"), "/pages/");
    EXPECT_EQ(FolderOfPath("/my.photos/final"), "/my.photos/");
    EXPECT_EQ(FolderOfPath("/pages/"), "/pages/");
    EXPECT_EQ(FolderOfPath("final.tif"), "");
    EXPECT_EQ(FolderOfPath(""), "");
    EXPECT_EQ(FolderOfPath("/top.tif"), "/");
}

}  // namespace
}  // namespace vellumo::shell
