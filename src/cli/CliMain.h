#pragma once
// The whole command line as a function, so that tests can run it in-process too.

#include <cstdio>
#include <string>
#include <vector>

namespace vellumo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitSomeFailed = 1;
inline constexpr int kExitUsageOrNothing = 2;

struct CliStreams {
    std::FILE* in = stdin;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool askQuestions = false;  // a person can answer on the terminal
    bool progressBar = false;   // standard error is a terminal
    int columns = 80;
    bool stopOnInterrupt = false;  // Ctrl-C stops the run after the current photo
};

// Runs vellumo-cli with `args` (without the program name); returns the exit status.
int RunCli(const std::vector<std::string>& args, const CliStreams& streams);

}  // namespace vellumo::cli
