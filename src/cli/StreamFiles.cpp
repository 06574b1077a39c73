#include "cli/StreamFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "cli/CliText.h"

namespace fs = std::filesystem;

namespace vellumo::cli {

std::optional<std::string> OutputRefusal(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);  // links followed
    if (ec || !fs::exists(status) || fs::is_regular_file(status)) {
        return std::nullopt;
    }
    switch (status.type()) {
        case fs::file_type::directory:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "it is a folder"));
        case fs::file_type::character:
        case fs::file_type::block:
            return Tr(QT_TRANSLATE_NOOP(
                "vellumo-cli",
                "it is a device, not a regular file (use -o - for standard output)"));
        case fs::file_type::fifo:
            return Tr(QT_TRANSLATE_NOOP(
                "vellumo-cli", "it is a FIFO, not a regular file (use -o - for standard output)"));
        default:
            return Tr(QT_TRANSLATE_NOOP("vellumo-cli", "it is not a regular file"));
    }
}

std::optional<StdinPhoto> StdinPhoto::Read(std::FILE* in, std::string& error) {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    if (ec) {
        error = ec.message();
        return std::nullopt;
    }
    auto file = convert::TemporaryFile::Create(folder, "standard-input", error);
    if (!file) {
        return std::nullopt;
    }
    std::ofstream copy(file->AccessPath(), std::ios::binary | std::ios::trunc);
    std::vector<char> buffer(1 << 16);
    size_t n = 0;
    while (copy && (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        copy.write(buffer.data(), static_cast<std::streamsize>(n));
    }
    copy.flush();
    if (!copy) {
        error = Tr(
            QT_TRANSLATE_NOOP("vellumo-cli", "standard input cannot be kept in a temporary file"));
        return std::nullopt;
    }
    if (std::ferror(in) != 0) {
        error = Tr(QT_TRANSLATE_NOOP("vellumo-cli", "standard input cannot be read"));
        return std::nullopt;
    }
    return StdinPhoto(std::move(*file));
}

std::string StdinPhoto::Path() const {
    return file_.AccessPath().string();
}

std::optional<StagingFolder> StagingFolder::Create(std::string& error) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) {
        error = ec.message();
        return std::nullopt;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path folder = base / ("vellumo-cli-" + std::to_string(random()));
        // create_directory reports false for a folder that exists: someone else's.
        if (fs::create_directory(folder, ec)) {
            fs::permissions(folder, fs::perms::owner_all, ec);
            return StagingFolder(folder);
        }
        if (ec) {
            error = ec.message();
            return std::nullopt;
        }
    }
    error = Tr(QT_TRANSLATE_NOOP("vellumo-cli", "no temporary folder could be made"));
    return std::nullopt;
}

StagingFolder::~StagingFolder() {
    if (!path_.empty()) {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
}

bool CopyToStream(const fs::path& path, std::FILE* out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = Tr(QT_TRANSLATE_NOOP("vellumo-cli", "the staged output cannot be read"));
        return false;
    }
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const size_t n = static_cast<size_t>(in.gcount());
        if (n > 0 && std::fwrite(buffer.data(), 1, n, out) != n) {
            error = std::strerror(errno);
            return false;
        }
    }
    if (std::fflush(out) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace vellumo::cli
