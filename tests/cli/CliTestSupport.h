#pragma once
// Helpers of the command-line tests: running vellumo-cli, hashing and reading files.

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/CliProcess.h"
#include "photolist/TestImages.h"

namespace vellumo::test {

inline ProcessResult Cli(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(VELLUMO_CLI_PATH, args, input);
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// FNV-1a of a file's bytes; 0 for a missing file.
inline uint64_t FileHash(const std::string& path) {
    if (!std::filesystem::exists(path)) {
        return 0;
    }
    uint64_t hash = 1469598103934665603ull;
    for (const char c : ReadAll(path)) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    }
    return hash;
}

inline std::string Sample(const char* name) {
    return std::string(VELLUMO_SAMPLES_DIR) + "/" + name;
}

inline bool SamplesPresent() {
    return std::filesystem::exists(Sample("Landscape_1.jpg")) &&
           std::filesystem::exists(Sample("animated_loop.gif"));
}

inline QImage LoadImage(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t colorsUsed = 0;
};

// The BITMAPINFOHEADER fields of a BMP file; bitCount 0 when it is no BMP.
inline BmpHeader ReadBmpHeader(const std::string& path) {
    const std::string bytes = ReadAll(path);
    BmpHeader header;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return header;
    }
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    };
    header.width = static_cast<int32_t>(u32(18));
    header.height = static_cast<int32_t>(u32(22));
    header.bitCount = static_cast<uint16_t>(u32(28) & 0xFFFF);
    header.colorsUsed = u32(46);
    return header;
}

// Sizes of the pages of a TIFF as "WxH" texts, for short expectations.
inline std::vector<std::string> TiffSizes(const std::string& path) {
    std::vector<std::string> sizes;
    for (const auto& page : ReadTiffPages(path)) {
        sizes.push_back(std::to_string(page.width) + "x" + std::to_string(page.height));
    }
    return sizes;
}

}  // namespace vellumo::test
