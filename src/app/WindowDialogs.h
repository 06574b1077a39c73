#pragma once
// The dialogs and desktop hand-overs the main window opens: the options dialog (Edit
// and Options), the preview pane's picture, About, Help, Update, the log viewer, the
// list file picker and the caption font picker. The window owns the real ones
// (DefaultWindowDialogs); tests put their own in their place. A command whose function
// is empty is not offered: its button stays disabled.

#include <functional>
#include <vector>

#include "options/CaptionFont.h"

namespace vellumo::photolist {
struct PhotoEntry;
}

namespace vellumo::app {

class MainWindow;

struct WindowDialogs {
    // Edit (button, double or right click): `rows` are the selected rows, top to bottom,
    // never empty. Edits the entries of window.photoList() (options and output size);
    // true when an entry may have changed: the window then rebuilds the list view (a
    // cancelled dialog keeps the view and its selection as they were).
    std::function<bool(MainWindow& window, const std::vector<int>& rows)> editPhotos;
    // Options: edits window.outputPhotoFormat() and may apply it to every entry; true
    // (the view is rebuilt) unless the dialog was cancelled.
    std::function<bool(MainWindow& window)> editOptions;
    // A left click on a row: show the frame of that entry in the window's preview pane.
    std::function<void(MainWindow& window, const photolist::PhotoEntry& entry, int row)>
        showPreview;
    // At exit, before the window closes: release the preview image.
    std::function<void(MainWindow& window)> releasePreview;

    std::function<void(MainWindow& window)> about;
    std::function<void(MainWindow& window)> help;  // also F1
    std::function<void(MainWindow& window)> update;
    std::function<void(MainWindow& window)> viewLog;
    std::function<void(MainWindow& window)> loadList;
    // The caption font picker: true when the user chose a font (and colour).
    std::function<bool(MainWindow& window, options::CaptionFont& font, options::ColorRef& colour)>
        chooseCaptionFont;
};

// The real dialogs of the program.
WindowDialogs DefaultWindowDialogs();

}  // namespace vellumo::app
