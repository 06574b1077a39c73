#pragma once
// The variable-length LZW decoder of GIF image data.

#include <cstdint>
#include <span>

namespace vellumo::imaging {

struct LzwResult {
    bool ok = false;     // false: a code that cannot occur in valid data
    size_t written = 0;  // indices written; fewer than asked when the data ends early
};

// Decodes the concatenated data sub-blocks `data` (LZW minimum code size `minCodeSize`,
// 1 to 11) into `out`. Decoding stops when `out` is full, at the end-of-information
// code, or when the data runs out; surplus pixels are dropped.
LzwResult DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out);

}  // namespace vellumo::imaging
