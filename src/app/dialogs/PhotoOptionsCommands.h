#pragma once
// The Edit and Options commands of the main window: the options dialog opened on the
// selected entries' records one after another, or on the main record and then, when
// the user agrees, applied to every entry. Output sizes are recomputed for every
// record that changes.

#include <functional>
#include <optional>
#include <vector>

#include "options/OutputPhotoFormat.h"
#include "photolist/PhotoList.h"
#include "shell/SettingsStore.h"

class QWidget;

namespace vellumo::app::dialogs {

class CDialogPhotoOptions;

// Shows a prepared dialog modally and returns its result (QDialog::Accepted or
// Rejected). Replaceable so tests can work the real dialog without an event loop.
using OptionsDialogRunner = std::function<int(CDialogPhotoOptions&)>;
OptionsDialogRunner SetOptionsDialogRunner(OptionsDialogRunner runner);

// Opens the dialog on `record`; the edited record on OK, nullopt on Cancel.
std::optional<options::OutputPhotoFormat> EditOutputOptions(
    QWidget* owner, const options::OutputPhotoFormat& record, shell::SettingsStore& store);

// What the commands need from the window.
struct OptionsCommandContext {
    QWidget* owner = nullptr;
    shell::SettingsStore* store = nullptr;
    // Rebuilds the rows of the photo list view.
    std::function<void()> refreshRows;
};

// Edit: the dialog once per selected row, top to bottom, each on that entry's record.
// With no valid row selected shows "Please select items!" and opens nothing. Returns
// how many entries were changed.
int EditSelectedPhotos(photolist::PhotoList& list, std::vector<int> selectedRows,
                       const OptionsCommandContext& context);

// Options: the dialog on `mainRecord`; after OK, a non-empty list is asked whether all
// entries should take it. Returns whether `mainRecord` was changed by OK.
bool EditAllPhotoOptions(options::OutputPhotoFormat& mainRecord, photolist::PhotoList& list,
                         const OptionsCommandContext& context);

}  // namespace vellumo::app::dialogs
