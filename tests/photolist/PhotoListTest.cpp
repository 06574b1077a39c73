#include "photolist/PhotoList.h"

#include <gtest/gtest.h>

namespace vellumo::photolist {
namespace {

PhotoEntry Entry(const std::string& name) {
    PhotoEntry e;
    e.path = "/photos/" + name;
    e.fileName = name;
    return e;
}

std::vector<std::string> Names(const PhotoList& list) {
    std::vector<std::string> names;
    for (const auto& e : list) {
        names.push_back(e.fileName);
    }
    return names;
}

PhotoList ListOf(std::initializer_list<const char*> names) {
    PhotoList list;
    for (const char* n : names) {
        list.append(Entry(n));
    }
    return list;
}

TEST(PhotoEntry, BlankEntryHasTheBlankValues) {
    const PhotoEntry e;
    EXPECT_TRUE(e.path.empty());
    EXPECT_TRUE(e.fileName.empty());
    EXPECT_TRUE(e.modifiedText.empty());
    EXPECT_EQ(e.width, 1);
    EXPECT_EQ(e.height, 1);
    EXPECT_EQ(e.totalFrames, 1);
    EXPECT_EQ(e.frameIndex, 0);
    EXPECT_EQ(e.modifiedTime, 0);
    EXPECT_TRUE(e.dimensionIds.empty());
    EXPECT_EQ(e.outputFormat, options::OutputPhotoFormat{});
}

TEST(PhotoEntry, FileNameIsTheLastComponentUnlessAColonMarksAScheme) {
    EXPECT_EQ(FileNameOfPath("/home/ann/photos/cat.jpg"), "cat.jpg");
    EXPECT_EQ(FileNameOfPath("cat.jpg"), "cat.jpg");
    EXPECT_EQ(FileNameOfPath("/photos/"), "");
    // Fourth or fifth character a colon: the whole path is the name.
    EXPECT_EQ(FileNameOfPath("http://host/a.jpg"), "http://host/a.jpg");
    EXPECT_EQ(FileNameOfPath("ftp://host/a.jpg"), "ftp://host/a.jpg");
}

TEST(PhotoList, AppendKeepsCountAndOrder) {
    auto list = ListOf({"a", "b", "c"});
    EXPECT_EQ(list.photoCount, 3);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(PhotoList, EraseAtRemovesOneAndIgnoresIndexesPastTheEnd) {
    auto list = ListOf({"a", "b", "c"});
    list.eraseAt(3);
    list.eraseAt(-1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.photoCount, 3);
    list.eraseAt(1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(list.photoCount, 2);
}

TEST(PhotoList, SwapWithNextExchangesNeighboursOnly) {
    auto list = ListOf({"a", "b", "c"});
    list.swapWithNext(0);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "a", "c"}));
    list.swapWithNext(2);  // no entry after the last one
    list.swapWithNext(-1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(PhotoList, EntriesAreIndependentCopies) {
    PhotoList list;
    PhotoEntry e = Entry("same.jpg");
    list.append(e);
    list.append(e);
    list[0].outputFormat.nRotateAngel = 90;
    list[0].fileName = "changed.jpg";
    EXPECT_EQ(list[1].outputFormat.nRotateAngel, 0);
    EXPECT_EQ(list[1].fileName, "same.jpg");
    EXPECT_EQ(e.fileName, "same.jpg");
    // Deleting one of two entries of the same file leaves the other.
    list.eraseAt(0);
    ASSERT_EQ(list.photoCount, 1);
    EXPECT_EQ(list[0].fileName, "same.jpg");
}

TEST(PhotoList, ClearEmptiesAndZeroesTheCount) {
    auto list = ListOf({"a", "b"});
    list.fileNameSortToggle = true;
    list.clear();
    EXPECT_EQ(list.photoCount, 0);
    EXPECT_TRUE(list.empty());
    // The sort directions survive clearing.
    EXPECT_TRUE(list.fileNameSortToggle);
}

}  // namespace
}  // namespace vellumo::photolist
