#pragma once
// The commands another module plugs into the main window: the options dialog (Edit and
// Options), the preview pane, About, Help, Update, the log viewer, the list file picker
// and the caption font picker. A command whose hook is empty is not offered: its button
// stays disabled.
//
// A module that brings these provides `void InstallDialogs(MainWindow&)` in a header
// "app/dialogs/InstallDialogs.h"; the program calls it once, after the window is made.

#include <functional>
#include <vector>

#include "options/CaptionFont.h"

class QWidget;

namespace vellumo::photolist {
struct PhotoEntry;
}

namespace vellumo::app {

class MainWindow;

struct MainWindowHooks {
    // Edit (button, double or right click): `rows` are the selected rows, top to bottom,
    // never empty. The hook edits the entries of window.photoList() (options and output
    // size); the window rebuilds the list view afterwards.
    std::function<void(MainWindow& window, const std::vector<int>& rows)> editPhotos;
    // Options: edits window.outputPhotoFormat() and may apply it to every entry; the
    // window rebuilds the list view afterwards.
    std::function<void(MainWindow& window)> editOptions;
    // A left click on a row: show the frame of that entry in window.previewArea().
    std::function<void(MainWindow& window, const photolist::PhotoEntry& entry, int row)>
        showPreview;
    // At exit, before the window closes: release the preview image.
    std::function<void()> releasePreview;

    std::function<void(MainWindow& window)> about;
    std::function<void(MainWindow& window)> help;  // also F1
    std::function<void(MainWindow& window)> update;
    std::function<void(MainWindow& window)> viewLog;
    std::function<void(MainWindow& window)> loadList;
    // The caption font picker: true when the user chose a font (and colour).
    std::function<bool(MainWindow& window, options::CaptionFont& font, options::ColorRef& colour)>
        chooseCaptionFont;
};

}  // namespace vellumo::app
