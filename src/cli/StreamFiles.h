#pragma once
// Standard input and output as files: the engine reads and writes named files, so a photo
// read from standard input is kept in a temporary file first, and an output written to
// standard output is staged in a private temporary folder and copied out when complete
// (TIFF and PDF need to seek while they are written).

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "convert/PlatformFiles.h"

namespace vellumo::cli {

// Why `path` cannot be an output: it exists and is neither a regular file nor a link to
// one (a folder, a device, a FIFO, a socket). Nothing when it may be written.
std::optional<std::string> OutputRefusal(const std::string& path);

// Standard input copied into a nameless temporary file.
class StdinPhoto {
  public:
    // Nothing, with the reason in `error`, when it cannot be read or kept.
    static std::optional<StdinPhoto> Read(std::FILE* in, std::string& error);
    // A path that opens the copy, valid while this object lives.
    std::string Path() const;

  private:
    explicit StdinPhoto(convert::TemporaryFile file) : file_(std::move(file)) {}
    convert::TemporaryFile file_;
};

// A private temporary folder, removed with everything in it at the end.
class StagingFolder {
  public:
    static std::optional<StagingFolder> Create(std::string& error);
    StagingFolder(StagingFolder&& other) noexcept : path_(std::move(other.path_)) {
        other.path_.clear();
    }
    StagingFolder& operator=(StagingFolder&& other) noexcept {
        std::swap(path_, other.path_);
        return *this;
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    ~StagingFolder();

    const std::filesystem::path& path() const { return path_; }

  private:
    explicit StagingFolder(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

// Copies the file at `path` to `out`; false, with the reason in `error`, when a read or
// write failed (a closed pipe, a full disk).
bool CopyToStream(const std::filesystem::path& path, std::FILE* out, std::string& error);

}  // namespace vellumo::cli
