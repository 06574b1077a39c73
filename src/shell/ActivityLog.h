#pragma once
// The activity log: time-stamped notices handed to the front end (the window keeps the
// last 500 in its list) and appended to a text file that grows across runs (the system
// never empties it).

#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace vellumo::shell {

// The log file's name; it lies in the output folder resolved at start-up.
inline constexpr std::string_view kLogFileName = "Brindle.log";
// Lines the window's on-screen list keeps; older lines are dropped first.
inline constexpr int kMaxLogListLines = 500;

// Where the log's lines are shown (the front end).
class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual void LogLineAdded(std::string_view line) = 0;
};

// The stamp that starts every line: local time as "%Y/%m/%d %H:%M:%S " (trailing blank);
// empty when the local time cannot be formed.
std::string LogTimeStamp(std::time_t when);

// The log file path for an output folder (which ends in the separator, or is empty).
std::string LogFilePathIn(const std::string& outputFolder);

class ActivityLog {
  public:
    // `filePath` empty: lines go to the sink only.
    ActivityLog(LogSink& sink, std::filesystem::path filePath);

    // Hands stamp + message to the sink and appends it to the file. False when the file
    // could not be written; the line is then shown only. Safe to call from several
    // threads.
    bool AppendLogLine(std::string_view message);
    // The same with a given time, for reproducible stamps.
    bool AppendLogLineAt(std::string_view message, std::time_t when);

    const std::filesystem::path& filePath() const { return filePath_; }

  private:
    LogSink& sink_;
    std::filesystem::path filePath_;
    std::mutex mutex_;
};

}  // namespace vellumo::shell
