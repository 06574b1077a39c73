#include "cli/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>

namespace vellumo::cli {
namespace {

void (*g_onInterrupt)() = nullptr;

extern "C" void HandleInterrupt(int) {
    if (g_onInterrupt != nullptr) {
        g_onInterrupt();
    }
    // The next Ctrl-C gets the default handling again.
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

int TerminalColumns(std::FILE* stream) {
    struct winsize size {};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

void InstallInterruptHandler(void (*onInterrupt)()) {
    g_onInterrupt = onInterrupt;
    std::signal(SIGINT, HandleInterrupt);
}

}  // namespace vellumo::cli
