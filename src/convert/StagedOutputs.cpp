#include "convert/StagedOutputs.h"

#include <algorithm>

#include "base/Utf8Path.h"
#include "convert/PlatformFiles.h"

namespace vellumo::convert {

namespace fs = std::filesystem;

StagedOutputs::~StagedOutputs() {
    for (const auto& [finalPath, staged] : staged_) {
        RemoveFileIfPresent(staged.temporary);
    }
}

std::optional<fs::path> StagedOutputs::TemporaryFor(const std::string& finalPath) {
    if (const auto it = staged_.find(finalPath); it != staged_.end()) {
        return it->second.temporary;
    }
    const fs::path target = base::PathFromUtf8(finalPath);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        return std::nullopt;  // a folder is never replaced by a file
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // Hidden, and with the final extension, so that nothing mistakes it for the output.
    const std::string name = base::Utf8FromPath(target.filename());
    const std::string extension = base::Utf8FromPath(target.extension());
    auto temporary = CreateUniqueFile(folder, "." + name + "-", extension);
    if (!temporary) {
        return std::nullopt;
    }
    staged_[finalPath] = {*temporary, false, staged_.size()};
    return temporary;
}

void StagedOutputs::MarkWritten(const std::string& finalPath) {
    if (const auto it = staged_.find(finalPath); it != staged_.end()) {
        it->second.written = true;
    }
}

void StagedOutputs::Discard(const std::string& finalPath) {
    if (const auto it = staged_.find(finalPath); it != staged_.end()) {
        RemoveFileIfPresent(it->second.temporary);
        staged_.erase(it);
    }
}

StagedOutputs::CommitResult StagedOutputs::Commit() {
    std::vector<std::pair<std::string, Staged>> ordered(staged_.begin(), staged_.end());
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
    CommitResult result;
    for (const auto& [finalPath, staged] : ordered) {
        if (!staged.written) {
            RemoveFileIfPresent(staged.temporary);
        } else if (ReplaceFile(staged.temporary, base::PathFromUtf8(finalPath))) {
            result.placed.push_back(finalPath);
        } else {
            result.failed.push_back(finalPath);
        }
    }
    staged_.clear();
    return result;
}

}  // namespace vellumo::convert
