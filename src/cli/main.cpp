// vellumo-cli: the conversion engine from a terminal.

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/Terminal.h"
#include "convert/PageMemory.h"
#include "shell/Translations.h"

namespace {

// Qt's own notices (a missing runtime folder, font fallbacks) mean nothing to a user of
// the command line and would mix with its output; only serious ones are shown.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "vellumo-cli: %s\n", message.toLocal8Bit().constData());
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Our arguments are taken before Qt sees them, so that file names such as "-style"
    // stay inputs.
    const std::vector<std::string> args(argv + 1, argv + argc);
    vellumo::convert::KeepPageBuffersForReuse();

    // Caption drawing needs fonts, hence a GUI application; the offscreen platform needs
    // no display.
    qInstallMessageHandler(QtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    vellumo::shell::InstallTranslations();

    vellumo::cli::CliStreams streams;
    streams.askQuestions = vellumo::cli::IsTerminal(stdin) && vellumo::cli::IsTerminal(stderr);
    streams.progressBar = vellumo::cli::IsTerminal(stderr);
    streams.columns = vellumo::cli::TerminalColumns(stderr);
    streams.stopOnInterrupt = true;
    return vellumo::cli::RunCli(args, streams);
}
