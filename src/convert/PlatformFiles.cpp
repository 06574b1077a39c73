#include "convert/PlatformFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

namespace vellumo::convert {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(int error) {
    return std::generic_category().message(error);
}

// The permissions a file created the ordinary way would get: 0666 less the umask. Read
// from the process status, since asking umask() means changing it for every thread.
mode_t DefaultNewFileMode() {
    unsigned mask = 022;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            status >> std::oct >> mask;
            break;
        }
    }
    return static_cast<mode_t>(0666U & ~mask);
}

// A hidden name beside the final one that stays within the 255 bytes a name may have:
// the final name is shortened (at a character boundary) to leave room for the rest.
std::string HiddenName(std::string_view hint, std::string_view tag) {
    constexpr size_t kMaxName = 255;
    const size_t room = kMaxName - 2 - tag.size();
    std::string stem(hint.substr(0, std::min(hint.size(), room)));
    while (stem.size() < hint.size() && !stem.empty() &&
           (static_cast<unsigned char>(hint[stem.size()]) & 0xC0) == 0x80) {
        stem.pop_back();  // do not cut a UTF-8 character in two
    }
    return "." + stem + "-" + std::string(tag);
}

std::string RandomTag() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string tag(8, 'x');
    for (char& c : tag) {
        c = kDigits[random() % (sizeof kDigits - 1)];
    }
    return tag;
}

bool SyncFolder(const fs::path& folder, std::string& error) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        error = SystemReason(errno);
        return false;
    }
    const bool ok = ::fsync(dir) == 0 || errno == EINVAL;  // some file systems cannot
    if (!ok) {
        error = SystemReason(errno);
    }
    ::close(dir);
    return ok;
}

}  // namespace

bool FileExists(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
    std::ifstream probe(path, std::ios::in | std::ios::binary);
    return probe.is_open();
}

fs::path FinalTarget(const fs::path& path) {
    fs::path current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)) || ec) {
            return current;
        }
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            return current;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return path;
}

FileIdentity IdentityOf(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

TemporaryFile::TemporaryFile(int fd, fs::path folder, fs::path name, std::string hint)
    : fd_(fd), folder_(std::move(folder)), name_(std::move(name)), hint_(std::move(hint)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      folder_(std::move(other.folder_)),
      name_(std::exchange(other.name_, {})),
      hint_(std::move(other.hint_)) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        folder_ = std::move(other.folder_);
        name_ = std::exchange(other.name_, {});
        hint_ = std::move(other.hint_);
    }
    return *this;
}

TemporaryFile::~TemporaryFile() {
    Release();
}

void TemporaryFile::Release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!name_.empty()) {
        ::unlink(name_.c_str());
        name_.clear();
    }
}

std::optional<TemporaryFile> TemporaryFile::Create(const fs::path& folder, std::string_view hint,
                                                   std::string& error) {
#ifdef O_TMPFILE
    const int anonymous = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (anonymous >= 0) {
        return TemporaryFile(anonymous, folder, {}, std::string(hint));
    }
    // Only a file system without nameless files gets the named way; any other refusal
    // (no such folder, no permission, no space) is the answer.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        error = SystemReason(errno);
        return std::nullopt;
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = folder / HiddenName(hint, RandomTag());
        // O_EXCL|O_NOFOLLOW: never a file or link someone else put there.
        const int fd =
            ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            return TemporaryFile(fd, folder, name, std::string(hint));
        }
        if (errno != EEXIST) {
            error = SystemReason(errno);
            return std::nullopt;
        }
    }
    error = SystemReason(EEXIST);
    return std::nullopt;
}

bool TemporaryFile::Empty() {
    return ::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
}

fs::path TemporaryFile::AccessPath() const {
#ifdef __linux__
    return fs::path("/proc/self/fd") / std::to_string(fd_);
#else
    return name_;
#endif
}

bool TemporaryFile::GiveName(std::string& error) {
    if (!name_.empty()) {
        return true;
    }
#ifdef __linux__
    const std::string source = AccessPath().native();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = folder_ / HiddenName(hint_, RandomTag());
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            name_ = name;
            return true;
        }
        if (errno != EEXIST) {
            error = SystemReason(errno);
            return false;
        }
    }
    error = SystemReason(EEXIST);
#endif
    return false;
}

bool TemporaryFile::Place(const fs::path& target, std::string& error) {
    struct stat old {};
    const mode_t mode =
        ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : DefaultNewFileMode();
    if (::fsync(fd_) != 0) {
        error = SystemReason(errno);
        return false;
    }
    if (::fchmod(fd_, mode) != 0) {
        error = SystemReason(errno);
        return false;
    }
    if (!GiveName(error)) {
        return false;
    }
    // The new entry is durable before it replaces the old one, and the replacement after.
    std::string unsynced;
    SyncFolder(folder_, unsynced);
    if (::rename(name_.c_str(), target.c_str()) != 0) {
        error = SystemReason(errno);
        return false;
    }
    name_.clear();
    ::close(fd_);
    fd_ = -1;
    // The file is in place; a folder that cannot be synced only weakens the durability.
    SyncFolder(folder_, unsynced);
    return true;
}

std::optional<fs::path> TemporaryFile::Keep() {
    std::string error;
    if (fd_ < 0 || !GiveName(error)) {
        return std::nullopt;
    }
    ::fsync(fd_);
    ::fchmod(fd_, DefaultNewFileMode());
    const fs::path kept = name_;
    name_.clear();  // no longer removed when this object ends
    ::close(fd_);
    fd_ = -1;
    return kept;
}

}  // namespace vellumo::convert
