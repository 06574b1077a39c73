#pragma once
// The caption font as the settings store keeps it: the members of a logical-font
// record, one settings key each ("CurrentFont" section), plus the caption colour.

#include <cstdint>
#include <string>

namespace vellumo::options {

struct CaptionFont {
    int32_t lfHeight = -13;  // negative: character height in pixels; positive: cell height
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 400;  // 400 normal, 700 bold
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;  // not stored
    uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;  // empty: the default sans font

    friend bool operator==(const CaptionFont&, const CaptionFont&) = default;
};

// A colour as the settings store keeps it: low byte red, then green, then blue.
using ColorRef = uint32_t;

inline constexpr uint8_t RedOf(ColorRef c) {
    return static_cast<uint8_t>(c & 0xFF);
}
inline constexpr uint8_t GreenOf(ColorRef c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
inline constexpr uint8_t BlueOf(ColorRef c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}
inline constexpr ColorRef MakeColorRef(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) |
           (static_cast<ColorRef>(b) << 16);
}

}  // namespace vellumo::options
