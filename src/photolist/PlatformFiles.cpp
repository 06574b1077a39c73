#include "photolist/PlatformFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace vellumo::photolist {

std::optional<FolderIdentity> IdentifyFolder(const std::filesystem::path& path, int* error) {
    struct stat info {};
    const bool found = ::stat(path.c_str(), &info) == 0;
    if (!found || !S_ISDIR(info.st_mode)) {
        if (error != nullptr) {
            *error = found ? ENOTDIR : errno;
        }
        return std::nullopt;
    }
    return FolderIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

FileTimeResult ReadFileTime(const std::string& path) {
    FileTimeResult result;
    // O_NONBLOCK so that a FIFO or device met among the photos cannot hang the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.status = FileTimeResult::Status::OpenFailed;
        result.errorText = std::error_code(errno, std::generic_category()).message();
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.status = FileTimeResult::Status::StatusFailed;
    } else {
        result.seconds = static_cast<int64_t>(info.st_mtime);
    }
    ::close(fd);
    return result;
}

std::optional<std::tm> ToLocalTime(int64_t seconds) {
    const auto when = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (::localtime_r(&when, &parts) == nullptr) {
        return std::nullopt;
    }
    return parts;
}

}  // namespace vellumo::photolist
