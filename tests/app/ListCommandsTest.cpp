#include "app/ListCommands.h"

#include <gtest/gtest.h>

namespace vellumo::app {
namespace {

// A list of `n` entries whose fileName is the entry's original index.
photolist::PhotoList Numbered(int n) {
    photolist::PhotoList list;
    for (int i = 0; i < n; ++i) {
        photolist::PhotoEntry entry;
        entry.fileName = std::to_string(i);
        list.append(entry);
    }
    return list;
}

std::vector<int> Order(const photolist::PhotoList& list) {
    std::vector<int> order;
    for (const auto& entry : list) {
        order.push_back(std::stoi(entry.fileName));
    }
    return order;
}

TEST(MoveSelectedUp, MovesABlockUpAndKeepsItSelected) {
    auto list = Numbered(5);
    const MoveResult result = MoveSelectedUp(list, {1, 2});
    EXPECT_EQ(result.outcome, ListCommandOutcome::Done);
    EXPECT_EQ(Order(list), (std::vector<int>{1, 2, 0, 3, 4}));
    EXPECT_EQ(result.selected, (std::vector<int>{0, 1}));
    EXPECT_EQ(result.changedRows, (std::vector<int>{0, 1, 2}));
}

TEST(MoveSelectedUp, StopsAtASelectedTopRowEvenWithRowsBelow) {
    auto list = Numbered(5);
    const MoveResult result = MoveSelectedUp(list, {0, 3});
    EXPECT_EQ(result.outcome, ListCommandOutcome::Done);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(result.selected, (std::vector<int>{0, 3}));
    EXPECT_TRUE(result.changedRows.empty());
}

TEST(MoveSelectedUp, SeparateRowsEachMoveOnePlace) {
    auto list = Numbered(6);
    const MoveResult result = MoveSelectedUp(list, {2, 5});
    EXPECT_EQ(Order(list), (std::vector<int>{0, 2, 1, 3, 5, 4}));
    EXPECT_EQ(result.selected, (std::vector<int>{1, 4}));
}

TEST(MoveSelectedDown, MovesABlockDownAndKeepsItSelected) {
    auto list = Numbered(5);
    const MoveResult result = MoveSelectedDown(list, {2, 3});
    EXPECT_EQ(result.outcome, ListCommandOutcome::Done);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 4, 2, 3}));
    EXPECT_EQ(result.selected, (std::vector<int>{3, 4}));
}

TEST(MoveSelectedDown, StopsAtASelectedLastRow) {
    auto list = Numbered(5);
    const MoveResult result = MoveSelectedDown(list, {1, 4});
    EXPECT_EQ(result.outcome, ListCommandOutcome::Done);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(result.selected, (std::vector<int>{1, 4}));
}

TEST(MoveCommands, FewerThanTwoEntriesDoNothingWithoutAMessage) {
    auto one = Numbered(1);
    EXPECT_EQ(MoveSelectedUp(one, {0}).outcome, ListCommandOutcome::Nothing);
    EXPECT_EQ(MoveSelectedDown(one, {0}).outcome, ListCommandOutcome::Nothing);
    auto none = Numbered(0);
    EXPECT_EQ(MoveSelectedUp(none, {}).outcome, ListCommandOutcome::Nothing);
    EXPECT_EQ(MoveSelectedDown(none, {}).outcome, ListCommandOutcome::Nothing);
}

TEST(MoveCommands, NoSelectionAsksForOne) {
    auto list = Numbered(3);
    EXPECT_EQ(MoveSelectedUp(list, {}).outcome, ListCommandOutcome::NeedSelection);
    EXPECT_EQ(MoveSelectedDown(list, {}).outcome, ListCommandOutcome::NeedSelection);
    // Rows that do not exist are no selection either.
    EXPECT_EQ(MoveSelectedUp(list, {7, -1}).outcome, ListCommandOutcome::NeedSelection);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2}));
}

TEST(MoveCommands, UpThenDownRestoresTheOrder) {
    auto list = Numbered(7);
    const MoveResult up = MoveSelectedUp(list, {2, 3, 5});
    const MoveResult down = MoveSelectedDown(list, up.selected);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(down.selected, (std::vector<int>{2, 3, 5}));
}

TEST(DeleteSelected, ErasesTheSelectedRowsOnly) {
    auto list = Numbered(5);
    EXPECT_EQ(DeleteSelected(list, {1, 3}), ListCommandOutcome::Done);
    EXPECT_EQ(Order(list), (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(list.photoCount, 3);

    auto all = Numbered(4);
    EXPECT_EQ(DeleteSelected(all, {3, 0, 1, 2}), ListCommandOutcome::Done);
    EXPECT_EQ(all.photoCount, 0);
}

TEST(DeleteSelected, EmptyListAndNoSelection) {
    auto empty = Numbered(0);
    EXPECT_EQ(DeleteSelected(empty, {}), ListCommandOutcome::Nothing);
    auto list = Numbered(2);
    EXPECT_EQ(DeleteSelected(list, {}), ListCommandOutcome::NeedSelection);
    EXPECT_EQ(list.photoCount, 2);
}

}  // namespace
}  // namespace vellumo::app
