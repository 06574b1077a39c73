#pragma once
// The toolkit of the command line: messages as "Caption: text" lines on standard error,
// questions asked on the terminal (or answered by -y, or refused when nobody can
// answer), log lines printed as they come, and a progress line. Safe to call from the
// conversion worker.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "shell/ActivityLog.h"
#include "ui/Toolkit.h"

namespace vellumo::cli {

struct TerminalSettings {
    bool assumeYes = false;     // -y: every question is answered Yes
    bool quiet = false;         // -q: no progress and no log lines (messages still shown)
    bool askQuestions = false;  // a person can answer on the terminal
    bool progressBar = false;   // standard error is a terminal: one redrawn line
    int columns = 80;           // width of that terminal
    std::string logFile;        // --log: problems are appended there too
};

class TerminalToolkit : public ui::Toolkit {
  public:
    TerminalToolkit(std::FILE* err, std::FILE* in, const TerminalSettings& settings);

    ui::Answer MessageBox(std::string_view text, std::string_view caption,
                          ui::MessageStyle style) override;
    void ProgressChanged(int position) override;
    void PageStarted(int index, int total, std::string_view path) override;
    void LogCleared() override {}
    void LogLineAdded(std::string_view line) override;
    // "vellumo-cli: FILE: REASON" on standard error and in the --log file.
    void Problem(std::string_view file, std::string_view reason) override;
    // A line of the command line's own ("vellumo-cli: ..."), shown and logged as Problem's.
    void Say(std::string_view line);
    // The message before it has said so already.
    void CaptionPositionReset(ui::Axis) override {}
    // The caller waits for the run and prints its summary.
    void RunFinished(const ui::RunSummary&) override {}

    // The path standard input was copied to, shown as "-" from now on.
    void SetStandardInputPath(std::string path);

    // Ends the progress line so that what follows starts on a line of its own.
    void FinishProgress();
    // Messages shown so far (questions included).
    int messageCount() const;

  private:
    void ClearBarLocked();
    void DrawBarLocked();
    void PrintLineLocked(std::string_view line);

    std::FILE* err_;
    std::unique_ptr<shell::ActivityLog> log_;  // with --log only
    std::FILE* in_;
    TerminalSettings settings_;
    mutable std::mutex mutex_;
    int messageCount_ = 0;
    // Progress line state.
    bool barShown_ = false;
    int position_ = 0;
    int page_ = 0;
    int total_ = 0;
    std::string currentFile_;
    std::string stdinPath_;
};

}  // namespace vellumo::cli
