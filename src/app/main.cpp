// The desktop program: one main window over the conversion engine. Photos and folders
// named on the command line are added as the window starts.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <cstdio>

#include "app/MainWindow.h"
#include "base/QtText.h"
#include "shell/QtSettingsStore.h"
#include "shell/Translations.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orlenwick"));
    QApplication::setApplicationName(QStringLiteral("Vellumo"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orlenwick.Vellumo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vellumo")));
    vellumo::shell::InstallTranslations();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("vellumo-window",
                                    "Turns photos into one multi-page TIFF. Photos and folders "
                                    "named here are added to the list; folders are searched for "
                                    "photos."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("photos"),
        QCoreApplication::translate("vellumo-window", "Photos or folders to add, in order."),
        QStringLiteral("[PHOTO|FOLDER...]"));
    parser.process(app);  // --help and --version print and exit here

    vellumo::shell::QtSettingsStore settings;
    vellumo::app::MainWindow window(settings);
    window.show();
    std::vector<std::string> paths;
    for (const QString& argument : parser.positionalArguments()) {
        paths.push_back(vellumo::base::ToUtf8(
            QDir::toNativeSeparators(QDir::current().absoluteFilePath(argument))));
    }
    window.OpenPaths(paths);
    const int status = QApplication::exec();
    settings.Sync();
    return status;
}
