#include "photolist/ModifiedTime.h"

#include <array>
#include <ctime>

#include "photolist/AddPhotosTexts.h"

namespace vellumo::photolist {

std::string FormatModifiedText(int64_t seconds) {
    const auto local = ToLocalTime(seconds);
    if (!local) {
        return {};
    }
    // Large enough for any year strftime can print.
    std::array<char, 64> buffer{};
    const size_t length = std::strftime(buffer.data(), buffer.size(), "%Y/%m/%d %H:%M:%S", &*local);
    return std::string(buffer.data(), length);
}

void ReadModifiedTime(const std::string& path, PhotoEntry& entry, options::Reporter& reporter,
                      const FileTimeReader& reader) {
    const FileTimeResult result = reader(path);
    entry.modifiedTime = 0;
    entry.modifiedText.clear();
    switch (result.status) {
        case FileTimeResult::Status::OpenFailed:
            reporter.Report(result.errorText.substr(0, texts::kMaxOpenErrorText), path);
            return;
        case FileTimeResult::Status::StatusFailed:
            reporter.Report(texts::TrUtf8(texts::kFailedGetStatusFrom) + path, path);
            return;
        case FileTimeResult::Status::Ok:
            entry.modifiedTime = result.seconds;
            entry.modifiedText = FormatModifiedText(result.seconds);
            return;
    }
}

}  // namespace vellumo::photolist
