#pragma once
// Up, Down and Delete on the photo list, given the selected rows (row index = entry
// index). They move and erase entries and say which rows are selected afterwards; the
// view only has to show it.

#include <vector>

#include "photolist/PhotoList.h"

namespace vellumo::app {

enum class ListCommandOutcome {
    Nothing,        // too few entries for the command: no change, no message
    NeedSelection,  // no row selected: "Please select items!"
    Done,
};

struct MoveResult {
    ListCommandOutcome outcome = ListCommandOutcome::Nothing;
    std::vector<int> selected;     // selected rows afterwards, ascending
    std::vector<int> changedRows;  // rows whose entry changed, ascending
};

// Walks the selected rows from the top. A selected row k swaps with k - 1 and stays
// selected; the walk stops at a selected top row, leaving every row below as it was.
// Nothing with fewer than two entries.
MoveResult MoveSelectedUp(photolist::PhotoList& list, const std::vector<int>& selectedRows);

// The mirror: walks from the bottom, a selected row k swaps with k + 1, and the walk
// stops at a selected last row.
MoveResult MoveSelectedDown(photolist::PhotoList& list, const std::vector<int>& selectedRows);

// Erases the selected entries. Nothing on an empty list.
ListCommandOutcome DeleteSelected(photolist::PhotoList& list, const std::vector<int>& selectedRows);

}  // namespace vellumo::app
