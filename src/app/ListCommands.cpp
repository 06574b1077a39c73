#include "app/ListCommands.h"

#include <algorithm>
#include <set>

namespace vellumo::app {
namespace {

// The selection as a sorted set of rows that exist in the list.
std::set<int> ValidRows(const photolist::PhotoList& list, const std::vector<int>& rows) {
    std::set<int> valid;
    for (const int row : rows) {
        if (row >= 0 && static_cast<size_t>(row) < list.size()) {
            valid.insert(row);
        }
    }
    return valid;
}

MoveResult Finish(std::set<int> selected, std::set<int> changed) {
    MoveResult result;
    result.outcome = ListCommandOutcome::Done;
    result.selected.assign(selected.begin(), selected.end());
    result.changedRows.assign(changed.begin(), changed.end());
    return result;
}

}  // namespace

MoveResult MoveSelectedUp(photolist::PhotoList& list, const std::vector<int>& selectedRows) {
    if (list.photoCount <= 1) {
        return {};
    }
    std::set<int> selected = ValidRows(list, selectedRows);
    if (selected.empty()) {
        return {ListCommandOutcome::NeedSelection, {}, {}};
    }
    std::set<int> changed;
    const std::vector<int> walk(selected.begin(), selected.end());
    for (const int k : walk) {
        if (k == 0) {
            break;
        }
        list.swapWithNext(k - 1);
        selected.erase(k);
        selected.insert(k - 1);
        changed.insert(k - 1);
        changed.insert(k);
    }
    return Finish(std::move(selected), std::move(changed));
}

MoveResult MoveSelectedDown(photolist::PhotoList& list, const std::vector<int>& selectedRows) {
    if (list.photoCount <= 1) {
        return {};
    }
    std::set<int> selected = ValidRows(list, selectedRows);
    if (selected.empty()) {
        return {ListCommandOutcome::NeedSelection, {}, {}};
    }
    std::set<int> changed;
    const int last = static_cast<int>(list.size()) - 1;
    const std::vector<int> walk(selected.rbegin(), selected.rend());
    for (const int k : walk) {
        if (k == last) {
            break;
        }
        list.swapWithNext(k);
        selected.erase(k);
        selected.insert(k + 1);
        changed.insert(k);
        changed.insert(k + 1);
    }
    return Finish(std::move(selected), std::move(changed));
}

ListCommandOutcome DeleteSelected(photolist::PhotoList& list,
                                  const std::vector<int>& selectedRows) {
    if (list.photoCount <= 0) {
        return ListCommandOutcome::Nothing;
    }
    const std::set<int> selected = ValidRows(list, selectedRows);
    if (selected.empty()) {
        return ListCommandOutcome::NeedSelection;
    }
    int erased = 0;
    for (const int row : selected) {
        list.eraseAt(row - erased);
        ++erased;
    }
    return ListCommandOutcome::Done;
}

}  // namespace vellumo::app
