#include "app/OutputFileName.h"

#include <gtest/gtest.h>

namespace vellumo::app {
namespace {

TEST(WithTifExtension, ReplacesOnlyTheLastComponentsExtension) {
    EXPECT_EQ(WithTifExtension("/pages/final.jpg"), "/pages/final.tif");
    EXPECT_EQ(WithTifExtension("/my.photos/final"), "/my.photos/final.tif");
    EXPECT_EQ(WithTifExtension("/pages/final.tif"), "/pages/final.tif");
    EXPECT_EQ(WithTifExtension("/pages/archive.tar.gz"), "/pages/archive.tar.tif");
    EXPECT_EQ(WithTifExtension("/pages/final."), "/pages/final.tif");
    EXPECT_EQ(WithTifExtension("final"), "final.tif");
    EXPECT_EQ(WithTifExtension("/pages/.album"), "/pages/.tif");
}

TEST(WithTifExtension, KeepsLongPathsWhole) {
    const std::string longName = "/" + std::string(300, 'a') + ".png";
    const std::string result = WithTifExtension(longName);
    EXPECT_EQ(result.size(), longName.size());
    EXPECT_EQ(result.substr(result.size() - 4), ".tif");
}

TEST(BrowseStartFolder, IsTheFolderWithoutItsSeparator) {
    EXPECT_EQ(BrowseStartFolder("/home/ann/Pictures/Vellumo/output.tif"),
              "/home/ann/Pictures/Vellumo");
    EXPECT_EQ(BrowseStartFolder("output.tif"), ".");
    EXPECT_EQ(BrowseStartFolder(""), ".");
    EXPECT_EQ(BrowseStartFolder("/output.tif"), "/");
}

TEST(ProposedOutputFile, JoinsTheFolderAsStored) {
    EXPECT_EQ(ProposedOutputFile("/home/ann/out/"), "/home/ann/out/output.tif");
    EXPECT_EQ(ProposedOutputFile("/home/ann/out"), "/home/ann/outoutput.tif");
}

}  // namespace
}  // namespace vellumo::app
