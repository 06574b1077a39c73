// The desktop program: one main window over the conversion engine.
#include <QApplication>
#include <QIcon>

#include "app/MainWindow.h"
#include "shell/QtSettingsStore.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orlenwick"));
    QApplication::setApplicationName(QStringLiteral("Vellumo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vellumo")));

    vellumo::shell::QtSettingsStore settings;
    vellumo::app::MainWindow window(settings);
    window.show();
    const int status = QApplication::exec();
    settings.Sync();
    return status;
}
