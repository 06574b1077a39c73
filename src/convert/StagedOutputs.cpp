#include "convert/StagedOutputs.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "base/Utf8Path.h"

namespace vellumo::convert {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kChangedMeanwhile = "it was changed by another program during the run";

}  // namespace

TemporaryFile* StagedOutputs::TemporaryFor(const std::string& finalPath, std::string* error) {
    if (const auto it = staged_.find(finalPath); it != staged_.end()) {
        return it->second.file.get();
    }
    std::string reason;
    const fs::path target = FinalTarget(base::PathFromUtf8(finalPath));
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        reason = std::make_error_code(std::errc::is_a_directory).message();
    } else {
        fs::path folder = target.parent_path();
        if (folder.empty()) {
            folder = ".";
        }
        // The identity is taken before the temporary exists, so any change after this
        // moment is someone else's.
        const FileIdentity before = IdentityOf(target);
        if (auto made =
                TemporaryFile::Create(folder, base::Utf8FromPath(target.filename()), reason)) {
            Staged staged{std::make_unique<TemporaryFile>(std::move(*made)), target, before, false,
                          staged_.size()};
            return staged_.emplace(finalPath, std::move(staged)).first->second.file.get();
        }
    }
    if (error != nullptr) {
        *error = reason;
    }
    return nullptr;
}

void StagedOutputs::MarkWritten(const std::string& finalPath) {
    if (const auto it = staged_.find(finalPath); it != staged_.end()) {
        it->second.written = true;
        if (it->second.file) {
            sync_.Request(it->second.file->descriptor());
        }
    }
}

void StagedOutputs::Discard(const std::string& finalPath) {
    if (const auto it = staged_.find(finalPath); it != staged_.end() && it->second.file) {
        sync_.Settle(it->second.file->descriptor());
    }
    staged_.erase(finalPath);
}

StagedOutputs::CommitResult StagedOutputs::Commit() {
    std::vector<std::pair<const std::string, Staged>*> ordered;
    for (auto& entry : staged_) {
        ordered.push_back(&entry);
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto* a, const auto* b) { return a->second.order < b->second.order; });
    CommitResult result;
    for (auto* entry : ordered) {
        const std::string& finalPath = entry->first;
        Staged& staged = entry->second;
        // A write lost since the page was synced in the background is not seen again by
        // the fsync of Place: that file must not replace anything.
        std::string reason = sync_.Settle(staged.file->descriptor());
        if (!staged.written) {
            continue;  // removed with the rest below
        }
        if (reason.empty()) {
            if (IdentityOf(staged.target) != staged.before) {
                reason = kChangedMeanwhile;
            } else if (staged.file->Place(staged.target, reason)) {
                result.placed.push_back(finalPath);
                continue;
            }
        }
        const auto kept = staged.file->Keep();
        result.failed.push_back({finalPath, reason, kept ? base::Utf8FromPath(*kept) : ""});
    }
    staged_.clear();
    return result;
}

}  // namespace vellumo::convert
