#include "convert/PlatformFiles.h"

#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#include <cstdlib>
#endif

namespace vellumo::convert {

namespace fs = std::filesystem;

bool FileExists(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return false;
    }
    std::ifstream probe(path, std::ios::in | std::ios::binary);
    return probe.is_open();
}

std::optional<fs::path> CreateUniqueFile(const fs::path& folder, std::string_view stem,
                                         std::string_view suffix) {
#ifdef _WIN32
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            folder /
            (std::string(stem) + std::to_string(random() % 1000000000ULL) + std::string(suffix));
        std::error_code ec;
        if (fs::exists(candidate, ec) || ec) {
            continue;
        }
        std::ofstream file(candidate, std::ios::out | std::ios::binary);
        if (file.is_open()) {
            return candidate;
        }
        return std::nullopt;
    }
    return std::nullopt;
#else
    std::string pattern = (folder / std::string(stem)).native() + "XXXXXX" + std::string(suffix);
    const int fd = mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        return std::nullopt;
    }
    if (close(fd) != 0) {
        unlink(pattern.c_str());
        return std::nullopt;
    }
    return fs::path(pattern);
#endif
}

namespace {

#ifndef _WIN32
// The permissions a file created the ordinary way would get: 0666 less the umask. Read
// from the process status, since asking umask() means changing it for every thread.
fs::perms DefaultNewFilePermissions() {
    unsigned mask = 022;
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            status >> std::oct >> mask;
            break;
        }
    }
    return static_cast<fs::perms>(0666U & ~mask);
}
#endif

}  // namespace

bool ReplaceFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
#ifndef _WIN32
    // Unique files are made private; the result takes the permissions of the file it
    // replaces, or those of a newly created file.
    const fs::file_status old = fs::status(to, ec);
    const fs::perms wanted =
        (!ec && fs::exists(old)) ? old.permissions() : DefaultNewFilePermissions();
    fs::permissions(from, wanted, ec);
    ec.clear();
#endif
    fs::rename(from, to, ec);
    return !ec;
}

bool RemoveFileIfPresent(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !ec;
}

}  // namespace vellumo::convert
