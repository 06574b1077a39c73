// Takes the documentation picture of the main window with a few sample photos in the
// list: app_window_screenshot <output.png>. Run it under a display server (xvfb-run).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <filesystem>

#include "app/MainWindow.h"
#include "shell/QtSettingsStore.h"

#if defined(VELLUMO_HAVE_DIALOGS)
#include "app/dialogs/InstallDialogs.h"
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: app_window_screenshot <output.png>\n");
        return 2;
    }
    // A profile of its own, so the user's settings and folders stay untouched.
    const QString home = QDir::tempPath() + QStringLiteral("/vellumo-screenshot");
    QDir(home).removeRecursively();
    vellumo::shell::QtSettingsStore settings(
        std::filesystem::path((home + QStringLiteral("/Vellumo.ini")).toStdString()));
    vellumo::app::MainWindowServices services;
    const std::string pictures = (home + QStringLiteral("/Pictures")).toStdString();
    services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };

    vellumo::app::MainWindow window(settings, std::move(services));
#if defined(VELLUMO_HAVE_DIALOGS)
    vellumo::app::InstallDialogs(window);
#endif
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    const std::string samples = VELLUMO_SAMPLES_DIR;
    window.AddDroppedPaths({samples + "/Landscape_1.jpg", samples + "/Portrait_1.jpg",
                            samples + "/zackthecat.tif", samples + "/animated_loop.gif"});
    QElapsedTimer timer;
    timer.start();
    while (window.IsBusy() && timer.elapsed() < 60000) {
        QTest::qWait(20);
    }
    if (window.photoList().size() < 3) {
        std::fprintf(stderr, "the sample photos were not added (%zu)\n", window.photoList().size());
        return 1;
    }
    window.controls().photoList->SelectRows({1});
    window.controls().photoList->setFocus();
    QTest::qWait(300);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    window.ExitRoutine();
    return 0;
}
