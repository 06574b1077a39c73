#include "photolist/ColumnSort.h"

#include <gtest/gtest.h>

namespace vellumo::photolist {
namespace {

PhotoList ListOf(std::initializer_list<std::pair<const char*, const char*>> items) {
    PhotoList list;
    for (const auto& [name, time] : items) {
        PhotoEntry e;
        e.fileName = name;
        e.modifiedText = time;
        list.append(e);
    }
    return list;
}

std::vector<std::string> Names(const PhotoList& list) {
    std::vector<std::string> names;
    for (const auto& e : list) {
        names.push_back(e.fileName);
    }
    return names;
}

TEST(ColumnSort, FileNameAlternatesAscendingAndDescending) {
    auto list = ListOf({{"b.jpg", ""}, {"A.jpg", ""}, {"a.jpg", ""}});
    EXPECT_TRUE(SortByColumn(list, kFileNameColumn));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A.jpg", "a.jpg", "b.jpg"}));
    EXPECT_TRUE(list.fileNameSortToggle);
    EXPECT_TRUE(SortByColumn(list, kFileNameColumn));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b.jpg", "a.jpg", "A.jpg"}));
    EXPECT_FALSE(list.fileNameSortToggle);
}

TEST(ColumnSort, ComparesBytesWithoutLocaleOrNaturalNumbers) {
    auto list = ListOf({{"9.jpg", ""},
                        {"a.jpg", ""},
                        {"Z.jpg", ""},
                        {"10.jpg", ""},
                        {"\xc3\xa9t\xc3\xa9.jpg", ""},
                        {"", ""}});
    SortByColumn(list, kFileNameColumn);
    // Empty first, digits by code, upper case before lower case, UTF-8 bytes above ASCII.
    EXPECT_EQ(Names(list), (std::vector<std::string>{"", "10.jpg", "9.jpg", "Z.jpg", "a.jpg",
                                                     "\xc3\xa9t\xc3\xa9.jpg"}));
}

TEST(ColumnSort, ModifiedColumnSortsByTimeTextWithUnreadableFirst) {
    auto list = ListOf({{"new", "2024/05/01 10:00:00"},
                        {"unknown", ""},
                        {"old", "2009/03/07 09:05:03"},
                        {"mid", "2020/12/31 23:59:59"}});
    EXPECT_TRUE(SortByColumn(list, kModifiedColumn));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"unknown", "old", "mid", "new"}));
    EXPECT_TRUE(SortByColumn(list, kModifiedColumn));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"new", "mid", "old", "unknown"}));
}

TEST(ColumnSort, DirectionsAreIndependentPerColumn) {
    auto list = ListOf({{"b", "2"}, {"a", "1"}});
    SortByColumn(list, kFileNameColumn);
    SortByColumn(list, kModifiedColumn);
    EXPECT_TRUE(list.fileNameSortToggle);
    EXPECT_TRUE(list.modifiedSortToggle);
    SortByColumn(list, kFileNameColumn);  // second click on column 0: descending
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(list.modifiedSortToggle);
}

TEST(ColumnSort, OtherColumnsLeaveTheOrder) {
    auto list = ListOf({{"b", ""}, {"a", ""}});
    for (int column : {1, 3, 4, -1, 5}) {
        EXPECT_FALSE(SortByColumn(list, column));
    }
    EXPECT_EQ(Names(list), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(list.fileNameSortToggle);
}

TEST(ColumnSort, FramesOfOneFileKeepTheirOrder) {
    PhotoList list;
    for (int i = 0; i < 3; ++i) {
        PhotoEntry e;
        e.fileName = "anim.gif";
        e.frameIndex = i;
        list.append(e);
    }
    PhotoEntry first;
    first.fileName = "a.jpg";
    list.append(first);
    SortByColumn(list, kFileNameColumn);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].fileName, "a.jpg");
    EXPECT_EQ(list[1].frameIndex, 0);
    EXPECT_EQ(list[2].frameIndex, 1);
    EXPECT_EQ(list[3].frameIndex, 2);
}

TEST(ColumnSort, EmptyAndSingleListsAreFine) {
    PhotoList empty;
    EXPECT_TRUE(SortByColumn(empty, kFileNameColumn));
    EXPECT_TRUE(empty.empty());
    auto one = ListOf({{"x", ""}});
    SortByColumn(one, kModifiedColumn);
    EXPECT_EQ(Names(one), (std::vector<std::string>{"x"}));
}

}  // namespace
}  // namespace vellumo::photolist
