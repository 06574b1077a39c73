#include "shell/ActivityLog.h"

#include <array>
#include <fstream>

namespace vellumo::shell {

namespace {

bool ToLocalTime(std::time_t when, std::tm& out) {
#ifdef _WIN32
    return localtime_s(&out, &when) == 0;
#else
    return localtime_r(&when, &out) != nullptr;
#endif
}

}  // namespace

std::string LogTimeStamp(std::time_t when) {
    std::tm local{};
    if (!ToLocalTime(when, local)) {
        return {};
    }
    std::array<char, 128> buffer{};
    const size_t n = std::strftime(buffer.data(), buffer.size(), "%Y/%m/%d %H:%M:%S ", &local);
    return std::string(buffer.data(), n);
}

std::string LogFilePathIn(const std::string& outputFolder) {
    return outputFolder + std::string(kLogFileName);
}

ActivityLog::ActivityLog(LogSink& sink, std::filesystem::path filePath)
    : sink_(sink), filePath_(std::move(filePath)) {}

bool ActivityLog::AppendLogLine(std::string_view message) {
    return AppendLogLineAt(message, std::time(nullptr));
}

bool ActivityLog::AppendLogLineAt(std::string_view message, std::time_t when) {
    std::string line = LogTimeStamp(when);
    line.append(message);

    std::lock_guard lock(mutex_);
    sink_.LogLineAdded(line);

    if (filePath_.empty()) {
        return false;
    }
    // One open-append-close per line, so the file is complete whenever the program ends.
    std::ofstream file(filePath_, std::ios::out | std::ios::app);
    if (!file) {
        return false;
    }
    file << line << '\n';
    file.close();
    return !file.fail();
}

}  // namespace vellumo::shell
