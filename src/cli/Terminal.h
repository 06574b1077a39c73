#pragma once
// What the command line needs to know about its terminal. The one file of this module
// with operating-system calls.

#include <cstdio>

namespace vellumo::cli {

// True when `stream` is connected to a terminal.
bool IsTerminal(std::FILE* stream);

// Columns of the terminal behind `stream`; 80 when unknown.
int TerminalColumns(std::FILE* stream);

// Calls `onInterrupt` (from a signal handler: it must only set an atomic flag) on the
// first Ctrl-C, termination request (SIGTERM) or hang-up (SIGHUP); a second one ends the
// program at once, as usual.
void InstallInterruptHandler(void (*onInterrupt)());

}  // namespace vellumo::cli
