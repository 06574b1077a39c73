#pragma once
// Plugs the dialogs module into the main window: the options dialog for Edit and
// Options, the preview pane inside the window's preview area, About, Help (and F1),
// Update, View log, load list, the caption font picker, and the program's icon.

namespace vellumo::app {
class MainWindow;
}

namespace vellumo::app::dialogs {

class PreviewPane;

// Installs every hook on `window`; call once, after the window is made. Returns the
// preview pane, a child of the window's preview area.
PreviewPane* InstallDialogs(MainWindow& window);

}  // namespace vellumo::app::dialogs

namespace vellumo::app {
// The name the window's program looks for.
inline dialogs::PreviewPane* InstallDialogs(MainWindow& window) {
    return dialogs::InstallDialogs(window);
}
}  // namespace vellumo::app
