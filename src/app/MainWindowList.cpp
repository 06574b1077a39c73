// The list commands of the main window: rebuild, Up, Down, Delete, Clear, clicks in the
// view, heading sort, Edit and Options.
#include <algorithm>

#include "app/AppTexts.h"
#include "app/ListCommands.h"
#include "app/MainWindow.h"
#include "base/QtText.h"
#include "photolist/ColumnSort.h"

namespace vellumo::app {
namespace {

using base::ToQString;

}  // namespace

void MainWindow::RefreshPhotoList() {
    controls_.photoList->Rebuild(list_);
    list_.photoCount = static_cast<int32_t>(list_.size());
    controls_.totalPages->setText(texts::Tr(texts::kTotalPagesFormat).arg(list_.photoCount));
    UpdateCommandStates();
}

void MainWindow::MoveUp() {
    MoveSelected(MoveSelectedUp);
}

void MainWindow::MoveDown() {
    MoveSelected(MoveSelectedDown);
}

void MainWindow::MoveSelected(MoveResult (*moveRows)(photolist::PhotoList&,
                                                     const std::vector<int>&)) {
    if (activity_ != Activity::Idle) {
        return;
    }
    const std::vector<int> before = SelectedRows();
    const int current = controls_.photoList->currentRow();
    const MoveResult result = moveRows(list_, before);
    if (result.outcome == ListCommandOutcome::NeedSelection) {
        ShowMessage(texts::TrUtf8(texts::kPleaseSelectItems), "", ui::MessageStyle::Warning);
        return;
    }
    if (result.outcome != ListCommandOutcome::Done) {
        return;
    }
    for (const int row : result.changedRows) {
        controls_.photoList->UpdateRow(row, list_[static_cast<size_t>(row)]);
    }
    controls_.photoList->SelectRows(result.selected);
    // The keyboard's current row goes with the block it belonged to, so that Shift+arrow
    // goes on from the moved rows. Rows keep their order, so the k-th selected row
    // before is the k-th after.
    const std::vector<int>& after = result.selected;
    const auto at = std::find(before.begin(), before.end(), current);
    if (at != before.end() && after.size() == before.size()) {
        controls_.photoList->SetCurrentRow(after[static_cast<size_t>(at - before.begin())]);
    } else if (!after.empty()) {
        controls_.photoList->SetCurrentRow(after.front());
    }
    controls_.photoList->setFocus();
}

void MainWindow::DeleteSelected() {
    if (activity_ != Activity::Idle) {
        return;
    }
    const ListCommandOutcome outcome = app::DeleteSelected(list_, SelectedRows());
    if (outcome == ListCommandOutcome::NeedSelection) {
        ShowMessage(texts::TrUtf8(texts::kPleaseSelectItems), "", ui::MessageStyle::Warning);
        return;
    }
    if (outcome == ListCommandOutcome::Done) {
        RefreshPhotoList();
    }
}

void MainWindow::ClearList() {
    if (activity_ != Activity::Idle) {
        return;
    }
    list_.clear();
    RefreshPhotoList();
}

void MainWindow::SortByColumn(int column) {
    if (activity_ != Activity::Idle) {
        return;
    }
    photolist::SortByColumn(list_, column);
    // Every heading click rebuilds the view, sorted or not: the selection is cleared.
    RefreshPhotoList();
}

void MainWindow::OnRowClicked() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty() || !services_.dialogs.showPreview) {
        return;
    }
    const int row = rows.front();
    services_.dialogs.showPreview(*this, list_[static_cast<size_t>(row)], row);
}

void MainWindow::EditSelected() {
    if (activity_ != Activity::Idle) {
        return;
    }
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowMessage(texts::TrUtf8(texts::kPleaseSelectItems), "", ui::MessageStyle::Warning);
        return;
    }
    if (!services_.dialogs.editPhotos) {
        return;
    }
    if (services_.dialogs.editPhotos(*this, rows)) {
        RefreshPhotoList();
    }
}

void MainWindow::EditOptions() {
    if (activity_ != Activity::Idle || !services_.dialogs.editOptions) {
        return;
    }
    if (services_.dialogs.editOptions(*this)) {
        RefreshPhotoList();
    }
}

}  // namespace vellumo::app
