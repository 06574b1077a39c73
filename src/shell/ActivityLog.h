#pragma once
// The activity log: time-stamped notices shown in a list of at most 500 lines and
// appended to a text file that grows across runs (the system never empties it).

#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace vellumo::shell {

// The log file's name; it lies in the output folder resolved at start-up.
inline constexpr std::string_view kLogFileName = "Brindle.log";
// Lines kept in the on-screen list; older lines are dropped first.
inline constexpr int kMaxLogListLines = 500;

// The on-screen list the log writes to (the front end's list box).
class LogListView {
  public:
    virtual ~LogListView() = default;
    virtual void AppendLogListLine(std::string_view line) = 0;
    virtual int LogListCount() = 0;
    virtual void DeleteLogListLine(int index) = 0;
};

// The stamp that starts every line: local time as "%Y/%m/%d %H:%M:%S " (trailing blank);
// empty when the local time cannot be formed.
std::string LogTimeStamp(std::time_t when);

// The log file path for an output folder (which ends in the separator, or is empty).
std::string LogFilePathIn(const std::string& outputFolder);

class ActivityLog {
  public:
    // `filePath` empty: lines go to the list only.
    ActivityLog(LogListView& list, std::filesystem::path filePath);

    // Adds stamp + message to the list (dropping the oldest line beyond 500) and appends
    // it to the file. False when the file could not be written; the line is then in the
    // list only. Safe to call from several threads.
    bool AppendLogLine(std::string_view message);
    // The same with a given time, for reproducible stamps.
    bool AppendLogLineAt(std::string_view message, std::time_t when);

    const std::filesystem::path& filePath() const { return filePath_; }

  private:
    LogListView& list_;
    std::filesystem::path filePath_;
    std::mutex mutex_;
};

}  // namespace vellumo::shell
