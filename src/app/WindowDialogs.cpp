#include "app/WindowDialogs.h"

#include "app/MainWindow.h"
#include "app/dialogs/AboutBox.h"
#include "app/dialogs/CaptionFontPicker.h"
#include "app/dialogs/Launchers.h"
#include "app/dialogs/LoadList.h"
#include "app/dialogs/PhotoOptionsCommands.h"
#include "app/dialogs/PreviewPane.h"
#include "base/Utf8Path.h"

namespace vellumo::app {

WindowDialogs DefaultWindowDialogs() {
    using namespace dialogs;
    WindowDialogs d;
    d.editPhotos = [](MainWindow& w, const std::vector<int>& rows) {
        return EditSelectedPhotos(w.photoList(), rows, {&w, &w.settings(), nullptr}) > 0;
    };
    d.editOptions = [](MainWindow& w) {
        return EditAllPhotoOptions(w.outputPhotoFormat(), w.photoList(),
                                   {&w, &w.settings(), nullptr});
    };
    d.showPreview = [](MainWindow& w, const photolist::PhotoEntry& entry, int) {
        w.previewPane()->ShowPreview(entry);
    };
    d.releasePreview = [](MainWindow& w) { w.previewPane()->ReleasePreview(); };
    d.about = [](MainWindow& w) { ShowAboutBox(&w); };
    d.help = [](MainWindow& w) { OpenHelp(&w); };
    d.update = [](MainWindow& w) { OpenProductPage(&w); };
    d.viewLog = [](MainWindow& w) { ViewLog(&w, base::PathFromUtf8(w.logFilePath())); };
    d.loadList = [](MainWindow& w) { LoadListCommand(&w, w.outputFolder()); };
    d.chooseCaptionFont = [](MainWindow& w, options::CaptionFont& font, options::ColorRef& colour) {
        return ChooseCaptionFont(&w, font, colour, nullptr);
    };
    return d;
}

}  // namespace vellumo::app
