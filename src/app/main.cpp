// The desktop program: one main window over the conversion engine. Photos and folders
// named on the command line are added as the window starts.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/WindowOptions.h"
#include "base/QtText.h"
#include "convert/PageMemory.h"
#include "shell/QtSettingsStore.h"
#include "shell/Translations.h"

int main(int argc, char* argv[]) {
    vellumo::convert::KeepPageBuffersForReuse();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orlenwick"));
    QApplication::setApplicationName(QStringLiteral("Vellumo"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orlenwick.Vellumo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vellumo")));
    vellumo::shell::InstallTranslations();

    // The options are those of the table the man page is made from.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("vellumo-window", vellumo::app::kWindowDescription));
    for (const auto& option : vellumo::app::kWindowOptions) {
        const QString longName = QString::fromUtf8(option.longName);
        if (longName == QLatin1String("help")) {
            parser.addHelpOption();
        } else if (longName == QLatin1String("version")) {
            parser.addVersionOption();
        } else {
            parser.addOption(QCommandLineOption({QString::fromUtf8(option.shortName), longName},
                                                QString::fromUtf8(option.help)));
        }
    }
    parser.addPositionalArgument(
        QStringLiteral("photos"),
        QCoreApplication::translate("vellumo-window", vellumo::app::kWindowPositionalHelp),
        QString::fromUtf8(vellumo::app::kWindowPositional));
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
