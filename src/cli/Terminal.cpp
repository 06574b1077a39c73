#include "cli/Terminal.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>

namespace vellumo::cli {
namespace {

void (*g_onInterrupt)() = nullptr;

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void HandleInterrupt(int) {
    if (g_onInterrupt != nullptr) {
        g_onInterrupt();
    }
    // The next one gets the default handling again: the run is asked to stop only once.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    for (const int signal : kStopSignals) {
        ::sigaction(signal, &fallback, nullptr);
    }
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
    struct sigaction handler {};
    handler.sa_handler = HandleInterrupt;
    ::sigemptyset(&handler.sa_mask);
    for (const int signal : kStopSignals) {
        ::sigaddset(&handler.sa_mask, signal);  // one handler at a time
    }
    for (const int signal : kStopSignals) {
        ::sigaction(signal, &handler, nullptr);
    }
}

}  // namespace vellumo::cli
