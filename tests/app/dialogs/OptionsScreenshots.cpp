// Saves pictures of the options dialog in its three size modes, for the documentation:
//   dialogs_screenshots OUTPUT_FOLDER
// Run it on a real display server (for example under xvfb-run) so fonts and styles are
// the desktop's.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "DialogTestSupport.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"

namespace {

using vellumo::app::dialogs::CDialogPhotoOptions;
namespace ids = vellumo::app::dialogs::ids;

bool Save(const QString& folder, const QString& name, vellumo::options::OutputPhotoFormat record) {
    vellumo::test::OrderedSettingsStore store;
    CDialogPhotoOptions dialog(store);
    dialog.SetRecord(record);
    dialog.show();
    QApplication::processEvents();
    dialog.Control(ids::kOk)->setFocus();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    if (!dialog.grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogs_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    vellumo::options::OutputPhotoFormat original;  // the start-up options

    vellumo::options::OutputPhotoFormat custom;
    custom.nOuputSizeType = vellumo::options::kSizeCustom;
    custom.nOutputWidth = 1600;
    custom.nOutputHeight = 1200;
    custom.nKeepAspectRatio = vellumo::options::kKeepNone;
    custom.nRotateAngel = 90;

    vellumo::options::OutputPhotoFormat stretch;
    stretch.nOuputSizeType = vellumo::options::kSizeStretch;
    stretch.dStretchHorizontal = 0.5;
    stretch.dStretchVertical = 0.75;
    stretch.nFlipType = vellumo::options::kFlipHorizontal;

    const bool ok = Save(folder, "options-original.png", original) &&
                    Save(folder, "options-custom.png", custom) &&
                    Save(folder, "options-stretch.png", stretch);
    return ok ? 0 : 1;
}
