#pragma once
// The few file-system services adding photos needs that the standard library does not
// give: the identity of a folder, the modification time read from an open file, and
// local time. The one place of this module with operating-system calls.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace vellumo::photolist {

// Identifies a real folder whatever path leads to it (links included).
struct FolderIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder at `path` (links followed); nullopt when it cannot be read,
// with the system's error number in `error` when given.
std::optional<FolderIdentity> IdentifyFolder(const std::filesystem::path& path,
                                             int* error = nullptr);

// What opening a file and reading its status gave.
struct FileTimeResult {
    enum class Status { Ok, OpenFailed, StatusFailed };
    Status status = Status::Ok;
    int64_t seconds = 0;    // last modification, seconds since 1970-01-01 UTC (Ok only)
    std::string errorText;  // the platform's description of the open error (OpenFailed)
};

// Opens the file for reading without locking it, reads its status and closes it.
FileTimeResult ReadFileTime(const std::string& path);

// `seconds` since 1970-01-01 UTC in local time; nullopt when it cannot be formed.
std::optional<std::tm> ToLocalTime(int64_t seconds);

}  // namespace vellumo::photolist
