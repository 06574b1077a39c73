#include "app/dialogs/PhotoOptionsCommands.h"

#include <algorithm>

#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/MessageBoxes.h"
#include "app/dialogs/Texts.h"
#include "options/OutputSize.h"

namespace vellumo::app::dialogs {
namespace {

int RunModally(CDialogPhotoOptions& dialog) {
    return dialog.exec();
}

OptionsDialogRunner& CurrentRunner() {
    static OptionsDialogRunner runner = RunModally;
    return runner;
}

// The entry's size from its own record; an entry without a frame size keeps its own.
void RecomputeSize(photolist::PhotoEntry& entry, QWidget* owner) {
    if (entry.width == 0 || entry.height == 0) {
        return;
    }
    MessageReporter reporter(owner);
    options::StoreOutputSize(entry.width, entry.height, entry.outputFormat, reporter);
}

void Refresh(const OptionsCommandContext& context) {
    if (context.refreshRows) {
        context.refreshRows();
    }
}

}  // namespace

OptionsDialogRunner SetOptionsDialogRunner(OptionsDialogRunner runner) {
    OptionsDialogRunner previous = std::move(CurrentRunner());
    CurrentRunner() = runner ? std::move(runner) : OptionsDialogRunner(RunModally);
    return previous;
}

std::optional<options::OutputPhotoFormat> EditOutputOptions(
    QWidget* owner, const options::OutputPhotoFormat& record, shell::SettingsStore& store) {
    CDialogPhotoOptions dialog(store, owner);
    dialog.SetRecord(record);
    if (CurrentRunner()(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.record();
}

int EditSelectedPhotos(photolist::PhotoList& list, std::vector<int> selectedRows,
                       const OptionsCommandContext& context) {
    // Top to bottom, each row once, rows that no longer exist left out.
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    std::erase_if(selectedRows,
                  [&](int row) { return row < 0 || static_cast<size_t>(row) >= list.size(); });
    if (selectedRows.empty()) {
        ShowMessage(context.owner, texts::TrUtf8(texts::kSelectItems), texts::kApplicationName,
                    ui::MessageStyle::Warning);
        return 0;
    }
    if (context.store == nullptr) {
        return 0;
    }
    int changed = 0;
    for (int row : selectedRows) {
        photolist::PhotoEntry& entry = list[static_cast<size_t>(row)];
        const auto edited = EditOutputOptions(context.owner, entry.outputFormat, *context.store);
        if (!edited) {
            continue;
        }
        entry.outputFormat = *edited;
        RecomputeSize(entry, context.owner);
        ++changed;
    }
    Refresh(context);
    return changed;
}

bool EditAllPhotoOptions(options::OutputPhotoFormat& mainRecord, photolist::PhotoList& list,
                         const OptionsCommandContext& context) {
    if (context.store == nullptr) {
        return false;
    }
    const auto edited = EditOutputOptions(context.owner, mainRecord, *context.store);
    if (!edited) {
        return false;
    }
    mainRecord = *edited;
    if (!list.empty()) {
        const ui::Answer answer =
            ShowMessage(context.owner, texts::TrUtf8(texts::kChangeAllOutputSettings),
                        texts::TrUtf8(texts::kQuestion), ui::MessageStyle::YesNoQuestion);
        if (answer == ui::Answer::Yes) {
            for (photolist::PhotoEntry& entry : list) {
                entry.outputFormat = mainRecord;
                RecomputeSize(entry, context.owner);
            }
        }
    }
    Refresh(context);
    return true;
}

}  // namespace vellumo::app::dialogs
