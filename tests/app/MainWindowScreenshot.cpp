// Saves a picture of the main window with the sample photos in the list, for the
// documentation; with --preview the first row is clicked and its frame shown:
//   app_window_screenshot SAMPLES_FOLDER OUTPUT.png [--preview]
// Run it on a real display server (for example under xvfb-run). Settings and working
// folder are kept in a temporary folder, so the user's own are not touched.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <string>

#include "app/MainWindow.h"
#include "app/dialogs/PreviewPane.h"
#include "support/MemorySettingsStore.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool preview = argc == 4 && std::string(argv[3]) == "--preview";
    if (argc != 3 && !preview) {
        std::fprintf(stderr,
                     "usage: app_window_screenshot SAMPLES_FOLDER OUTPUT.png [--preview]\n");
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    vellumo::test::MemorySettingsStore store;
    vellumo::app::MainWindowServices services;
    const std::string pictures = QDir(home.path()).filePath("Pictures").toStdString();
    QDir().mkpath(QString::fromStdString(pictures));
    services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };
    vellumo::app::MainWindow window(store, services);
    vellumo::app::dialogs::PreviewPane* pane = window.previewPane();
    window.show();

    const QDir samples(QString::fromLocal8Bit(argv[1]));
    std::vector<std::string> photos;
    for (const QString& name :
         samples.entryList({"*.jpg", "*.tif", "*.gif", "*.png"}, QDir::Files, QDir::Name)) {
        photos.push_back(samples.filePath(name).toStdString());
    }
    window.AddDroppedPaths(photos);
    window.WaitUntilIdle();
    if (window.photoList().empty()) {
        std::fprintf(stderr, "no photos in %s\n", argv[1]);
        return 1;
    }

    auto* view = window.controls().photoList;
    if (preview) {
        // Click the first row as a user would, and wait for its frame.
        QSignalSpy shown(pane, &vellumo::app::dialogs::PreviewPane::previewShown);
        const QPoint row = view->visualItemRect(view->item(0, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
        if (!shown.wait(20000)) {
            std::fprintf(stderr, "the preview did not arrive\n");
            return 1;
        }
    } else {
        view->SelectRows({1});
        view->setFocus();
    }
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
