#include "options/PixelFormats.h"

#include <array>

namespace vellumo::options {
namespace {

constexpr std::array<PixelFormatEntry, kPixelFormatCount> kEntries = {{
    {"1 bit Indexed", "1 bit per pixel, indexed. 2 color.", 1, 2, true},
    {"4 bits Indexed", "4 bits per pixel, indexed. 16 color.", 4, 16, true},
    {"8 bits Indexed", "8 bits per pixel, indexed. 256 color.", 8, 256, true},
    {"16 bits RGB565",
     "16 bits per pixel; 5 bits are used for the red component, 6 bits are used for the green "
     "component, and 5 bits are used for the blue component.",
     16, 0, false},
    {"24 bits RGB",
     "24 bits per pixel; 8 bits each are used for the red, green, and blue components.", 24, 0,
     false},
    {"32 bits ARGB",
     "32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components.", 32,
     0, false},
    {"32 bits PARGB",
     "32 bits per pixel; 8 bits each are used for the alpha, red, green, and blue components. "
     "The red, green, and blue components are premultiplied according to the alpha component.",
     32, 0, false},
    {"32 bits RGB",
     "32 bits per pixel; 8 bits each are used for the red, green, and blue components. The "
     "remaining 8 bits are not used.",
     32, 0, false},
    {"64 bits ARGB",
     "64 bits per pixel; 16 bits each are used for the alpha, red, green, and blue components.", 64,
     0, false},
    {"64 bits PARGB",
     "64 bits per pixel; 16 bits each are used for the alpha, red, green, and blue components. "
     "The red, green, and blue components are premultiplied according to the alpha component.",
     64, 0, false},
}};

}  // namespace

std::span<const PixelFormatEntry> PixelFormatList() {
    return kEntries;
}

int32_t NormalisedPixelFormatIndex(int32_t index) {
    return (index < 0 || index >= kPixelFormatCount) ? kDefaultPixelFormat : index;
}

const PixelFormatEntry& PixelFormatAt(int32_t index) {
    return kEntries[static_cast<size_t>(NormalisedPixelFormatIndex(index))];
}

}  // namespace vellumo::options
