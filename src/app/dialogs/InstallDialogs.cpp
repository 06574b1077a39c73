#include "app/dialogs/InstallDialogs.h"

#include <QPointer>
#include <QVBoxLayout>

#include "app/MainWindow.h"
#include "app/dialogs/AboutBox.h"
#include "app/dialogs/AppIcon.h"
#include "app/dialogs/CaptionFontPicker.h"
#include "app/dialogs/Launchers.h"
#include "app/dialogs/LoadList.h"
#include "app/dialogs/PhotoOptionsCommands.h"
#include "app/dialogs/PreviewPane.h"

namespace vellumo::app::dialogs {
namespace {

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The pane fills the inside of the window's preview area, within its border.
PreviewPane* AddPreviewPane(QWidget* area) {
    auto* pane = new PreviewPane(area);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pane);
    return pane;
}

}  // namespace

PreviewPane* InstallDialogs(MainWindow& window) {
    window.setWindowIcon(ApplicationIcon());
    QPointer<PreviewPane> pane =
        window.previewArea() != nullptr ? AddPreviewPane(window.previewArea()) : nullptr;

    MainWindowHooks hooks;
    hooks.editPhotos = [](MainWindow& w, const std::vector<int>& rows) {
        EditSelectedPhotos(w.photoList(), rows, {&w, &w.settings(), nullptr});
    };
    hooks.editOptions = [](MainWindow& w) {
        EditAllPhotoOptions(w.outputPhotoFormat(), w.photoList(), {&w, &w.settings(), nullptr});
    };
    hooks.showPreview = [pane](MainWindow&, const photolist::PhotoEntry& entry, int) {
        if (pane) {
            pane->ShowPreview(entry);
        }
    };
    hooks.releasePreview = [pane] {
        if (pane) {
            pane->ReleasePreview();
        }
    };
    hooks.about = [](MainWindow& w) { ShowAboutBox(&w); };
    hooks.help = [](MainWindow& w) { OpenHelp(&w); };
    hooks.update = [](MainWindow& w) { OpenProductPage(&w); };
    hooks.viewLog = [](MainWindow& w) { ViewLog(&w, PathFromUtf8(w.logFilePath())); };
    hooks.loadList = [](MainWindow& w) { LoadListCommand(&w, w.outputFolder()); };
    hooks.chooseCaptionFont = [](MainWindow& w, options::CaptionFont& font,
                                 options::ColorRef& colour) {
        return ChooseCaptionFont(&w, font, colour, nullptr);
    };
    window.SetHooks(std::move(hooks));
    return pane;
}

}  // namespace vellumo::app::dialogs
