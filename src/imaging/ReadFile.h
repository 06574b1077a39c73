#pragma once
// Opening and reading input files by path, the same way on every platform.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace vellumo::imaging {

// Closes the file, then (when the closer is destroyed) frees its read buffer.
struct FileCloser {
    std::unique_ptr<char[]> buffer;
    void operator()(std::FILE* f) const {
        if (f != nullptr) {
            std::fclose(f);
        }
    }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for binary reading; null when it cannot be opened. Reads reach the
// system in blocks of 64 KB: decoders that ask for 4 KB at a time made a call each.
FileHandle OpenForReading(const std::filesystem::path& path);

// Up to `count` bytes from the start of the file; nullopt when it cannot be read.
std::optional<std::vector<uint8_t>> ReadHead(const std::filesystem::path& path, size_t count);

// The whole file, when it is not larger than `limit` bytes; nullopt otherwise.
std::optional<std::vector<uint8_t>> ReadWhole(const std::filesystem::path& path, uint64_t limit);

}  // namespace vellumo::imaging
