#pragma once
// Builds BMP files byte by byte for the codec tests, with every field under the test's
// control (including wrong ones).

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "dib/BmpCodec.h"

namespace vellumo::dib::test {

struct BmpFields {
    bool fileHeader = true;
    uint32_t headerSize = 40;  // 12 writes a core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> headerMasks{};  // at byte 40 of a header of 52 bytes or more
    std::vector<uint8_t> afterHeader{};   // masks, colour table, gap: bytes before the pixels
    std::vector<uint8_t> pixels{};
    int64_t offBits = -1;  // -1: right after afterHeader
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

inline std::vector<uint8_t> BuildBmp(const BmpFields& f) {
    std::vector<uint8_t> info;
    PutLe(info, f.headerSize, 4);
    if (f.headerSize == 12) {
        PutLe(info, static_cast<uint32_t>(f.width), 2);
        PutLe(info, static_cast<uint32_t>(f.height), 2);
        PutLe(info, 1, 2);
        PutLe(info, f.bits, 2);
    } else {
        for (uint32_t v : {static_cast<uint32_t>(f.width), static_cast<uint32_t>(f.height)}) {
            PutLe(info, v, 4);
        }
        PutLe(info, 1, 2);
        PutLe(info, f.bits, 2);
        for (uint32_t v : {f.compression, f.sizeImage, 0u, 0u, f.clrUsed, 0u}) {
            PutLe(info, v, 4);
        }
        for (uint32_t mask : f.headerMasks) {
            PutLe(info, mask, 4);
        }
        info.resize(f.headerSize, 0);
    }
    std::vector<uint8_t> out;
    const uint32_t head = f.fileHeader ? 14 : 0;
    const auto dataStart = static_cast<uint32_t>(head + info.size() + f.afterHeader.size());
    if (f.fileHeader) {
        out = {'B', 'M'};
        PutLe(out, static_cast<uint32_t>(dataStart + f.pixels.size()), 4);
        PutLe(out, 0, 4);
        PutLe(out, f.offBits < 0 ? dataStart : static_cast<uint32_t>(f.offBits), 4);
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), f.afterHeader.begin(), f.afterHeader.end());
    out.insert(out.end(), f.pixels.begin(), f.pixels.end());
    return out;
}

// Decodes `bytes` from memory into `codec`.
inline bool Decode(CBmpCodec& codec, const std::vector<uint8_t>& bytes) {
    MemoryInputStream stream(bytes);
    return codec.DecodeStream(stream);
}

}  // namespace vellumo::dib::test
