#pragma once
// The published BMP records as plain values: a colour (RGBQUAD), the 40-byte info header
// and the constants of the file format. They are turned into bytes field by field
// (StoreInfoHeader / LoadInfoHeader), never by copying the structs.

#include <cstdint>

namespace vellumo::dib {

// One colour-table entry, in file order: blue, green, red, reserved.
struct RGBQUAD {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
    friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};
static_assert(sizeof(RGBQUAD) == 4, "colour tables are copied as arrays of RGBQUAD");

inline constexpr RGBQUAD MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return RGBQUAD{blue, green, red, 0};
}

struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

inline constexpr uint32_t kFileHeaderSize = 14;    // BITMAPFILEHEADER
inline constexpr uint32_t kInfoHeaderSize = 40;    // BITMAPINFOHEADER
inline constexpr uint32_t kCoreHeaderSize = 12;    // BITMAPCOREHEADER
inline constexpr uint16_t kBmpSignature = 0x4D42;  // "BM"

// biCompression values (BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS, BI_JPEG, BI_PNG,
// BI_ALPHABITFIELDS). Spelled with a k prefix because the platform headers of other
// systems define the bare names as macros.
inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiJpeg = 4;
inline constexpr uint32_t kBiPng = 5;
inline constexpr uint32_t kBiAlphaBitfields = 6;

// Writes the header as its 40 published bytes.
void StoreInfoHeader(const BITMAPINFOHEADER& header, uint8_t* out40);
// Reads 40 published bytes.
BITMAPINFOHEADER LoadInfoHeader(const uint8_t* in40);

}  // namespace vellumo::dib
