// vellumo-cli: the conversion engine from a terminal.

#include <QGuiApplication>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
    // Our arguments are taken before Qt sees them, so that file names such as "-style"
    // stay inputs.
    const std::vector<std::string> args(argv + 1, argv + argc);

    // Caption drawing needs fonts, hence a GUI application; the offscreen platform needs
    // no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication application(qtArgc, qtArgv);

    vellumo::cli::CliStreams streams;
    streams.askQuestions = vellumo::cli::IsTerminal(stdin) && vellumo::cli::IsTerminal(stderr);
    streams.progressBar = vellumo::cli::IsTerminal(stderr);
    streams.columns = vellumo::cli::TerminalColumns(stderr);
    streams.stopOnInterrupt = true;
    return vellumo::cli::RunCli(args, streams);
}
