#pragma once
// The ten entries of the pixel format list (iComboPixelFormat) with their texts and
// the colour depth each one produces in a BMP file.

#include <cstdint>
#include <span>
#include <string_view>

namespace vellumo::options {

struct PixelFormatEntry {
    std::string_view listText;
    std::string_view description;
    int bitsPerPixel;  // of the format named in the list
    int paletteSize;   // 2, 16 or 256 for the indexed formats, else 0
    bool indexed;      // routes BMP output through the indexed bitmap engine
};

inline constexpr int kPixelFormatCount = 10;
inline constexpr int kDefaultPixelFormat = 4;

// All ten entries, in list order.
std::span<const PixelFormatEntry> PixelFormatList();

// The entry for an index; any index outside 0 to 9 behaves as index 4 (24 bits RGB).
const PixelFormatEntry& PixelFormatAt(int32_t index);

// The index an out-of-range value stands for.
int32_t NormalisedPixelFormatIndex(int32_t index);

}  // namespace vellumo::options
