#include "dib/IndexedBitmap.h"

#include <cstdlib>
#include <cstring>

#include "base/LargeBlocks.h"
#include "dib/Endian.h"
#include "dib/PixelPacking.h"

namespace vellumo::dib {
namespace {

uint16_t NormaliseBits(uint16_t bits) {
    if (bits <= 1) {
        return 1;
    }
    if (bits <= 4) {
        return 4;
    }
    if (bits <= 8) {
        return 8;
    }
    return 24;
}

uint32_t ColorTableEntries(uint16_t bits) {
    switch (bits) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

}  // namespace

CIndexedBitmap::CIndexedBitmap() = default;

CIndexedBitmap::~CIndexedBitmap() {
    ReleaseImage();
}

void CIndexedBitmap::ReleaseImage() {
    // A borrowed block belongs to another holder: dropping the reference is all we may do.
    if (imageMemory != nullptr && borrowed == 0) {
        std::free(imageMemory);
    }
    imageMemory = nullptr;
    pixels = nullptr;
    borrowed = 0;
}

void CIndexedBitmap::CopyAttributes(const CIndexedBitmap& source) {
    rowStride = source.rowStride;
    pixels = source.pixels;
    borrowed = source.borrowed;
    std::memcpy(lastError, source.lastError, sizeof(lastError));
    lastError[sizeof(lastError) - 1] = '\0';
}

void CIndexedBitmap::SetLastError(const char* text) {
    if (text == nullptr) {
        lastError[0] = '\0';
        return;
    }
    const size_t length = std::strlen(text);
    const size_t kept = length < sizeof(lastError) - 1 ? length : sizeof(lastError) - 1;
    std::memcpy(lastError, text, kept);
    lastError[kept] = '\0';
}

uint8_t* CIndexedBitmap::Allocate(int32_t width, int32_t height, uint16_t bitsPerPixel) {
    ReleaseImage();

    const uint16_t bits = NormaliseBits(bitsPerPixel);
    const uint32_t entries = ColorTableEntries(bits);
    // Row size and image size in 64 bits: a 32-bit product would wrap for wide images
    // and allocate less than the rows need.
    const uint64_t stride =
        width < 0 ? 0 : (static_cast<uint64_t>(bits) * static_cast<uint64_t>(width) + 31) / 32 * 4;
    const uint64_t imageBytes = height < 0 ? 0 : stride * static_cast<uint64_t>(height);
    const uint64_t total = kInfoHeaderSize + uint64_t{4} * entries + imageBytes;
    const bool fits = width >= 0 && height >= 0 && total <= kMaxImageBytes;

    // The holder's own header is always 40 bytes long, whatever it held before (a holder
    // that gave its image away has biSize 0).
    header.biSize = kInfoHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = kBiRgb;
    header.biSizeImage = fits ? static_cast<uint32_t>(imageBytes) : 0;
    header.biXPelsPerMeter = 0;
    header.biYPelsPerMeter = 0;
    header.biClrUsed = entries;
    header.biClrImportant = 0;
    rowStride = fits ? static_cast<uint32_t>(stride) : 0;
    if (!fits) {
        return nullptr;
    }

    // Cleared, so pixels a short or run-length file never supplies are index 0 / black.
    auto* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(total)));
    if (block == nullptr) {
        return nullptr;
    }
    base::AdviseHugePages(block, static_cast<size_t>(total));
    std::memset(block, 0, static_cast<size_t>(total));
    StoreInfoHeader(header, block);
    imageMemory = block;
    pixels = block + kInfoHeaderSize + 4 * entries;
    return block;
}

void CIndexedBitmap::TakeOver(CIndexedBitmap* source) {
    if (source == nullptr || source == this) {
        return;
    }
    ReleaseImage();
    header = source->header;
    CopyAttributes(*source);
    imageMemory = source->imageMemory;

    source->imageMemory = nullptr;
    source->header = BITMAPINFOHEADER{};
    source->header.biSize = 0;
    source->rowStride = 0;
    source->pixels = nullptr;
    source->borrowed = 0;
    std::memset(source->lastError, 0, sizeof(source->lastError));
}

bool CIndexedBitmap::Contains(int32_t x, int32_t y) const {
    return imageMemory != nullptr && x >= 0 && y >= 0 && x < header.biWidth && y < header.biHeight;
}

uint8_t* CIndexedBitmap::RowAt(int32_t y) const {
    return pixels + static_cast<size_t>(y) * rowStride;
}

uint8_t CIndexedBitmap::ReadIndex(int32_t x, int32_t y) const {
    if (!HasColorTable() || !Contains(x, y)) {
        return 0;
    }
    return LoadIndex(RowAt(y), static_cast<uint32_t>(x), header.biBitCount);
}

void CIndexedBitmap::WriteIndex(int32_t x, int32_t y, uint8_t index) {
    if (!HasColorTable() || !Contains(x, y)) {
        return;
    }
    StoreIndex(RowAt(y), static_cast<uint32_t>(x), header.biBitCount, index);
}

RGBQUAD CIndexedBitmap::ReadColor(int32_t x, int32_t y) const {
    if (!Contains(x, y)) {
        return RGBQUAD{};
    }
    if (HasColorTable()) {
        return GetEntry(ReadIndex(x, y));
    }
    if (header.biBitCount != 24) {
        return RGBQUAD{};
    }
    const uint8_t* p = RowAt(y) + static_cast<size_t>(x) * 3;
    return RGBQUAD{p[0], p[1], p[2], 0};
}

void CIndexedBitmap::WriteColor(int32_t x, int32_t y, RGBQUAD color) {
    if (!Contains(x, y)) {
        return;
    }
    if (HasColorTable()) {
        WriteIndex(x, y, NearestEntry(color));
        return;
    }
    if (header.biBitCount != 24) {
        return;
    }
    uint8_t* p = RowAt(y) + static_cast<size_t>(x) * 3;
    p[0] = color.rgbBlue;
    p[1] = color.rgbGreen;
    p[2] = color.rgbRed;
}

uint8_t CIndexedBitmap::NearestEntry(RGBQUAD color) const {
    if (!HasColorTable()) {
        return 0;
    }
    uint32_t count = header.biClrImportant != 0 ? header.biClrImportant : header.biClrUsed;
    if (count > header.biClrUsed) {
        count = header.biClrUsed;
    }
    const uint8_t* table = PaletteAddress();
    int32_t bestDistance = 200000;  // above 3 * 255 * 255
    uint32_t bestIndex = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = table + 4 * i;
        const int32_t db = entry[0] - color.rgbBlue;
        const int32_t dg = entry[1] - color.rgbGreen;
        const int32_t dr = entry[2] - color.rgbRed;
        const int32_t distance = db * db + dg * dg + dr * dr;
        if (distance == 0) {
            return static_cast<uint8_t>(i);
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            bestIndex = i;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

RGBQUAD CIndexedBitmap::GetEntry(uint8_t index) const {
    if (!HasColorTable() || index >= header.biClrUsed) {
        return RGBQUAD{};
    }
    const uint8_t* entry = PaletteAddress() + 4 * index;
    return RGBQUAD{entry[0], entry[1], entry[2], 0};
}

void CIndexedBitmap::SetEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue) {
    if (!HasColorTable() || index >= header.biClrUsed) {
        return;
    }
    uint8_t* entry = PaletteAddress() + 4 * index;
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
    entry[3] = 0;
}

void CIndexedBitmap::CopyPalette(const RGBQUAD* entries, uint32_t count) {
    if (entries == nullptr || !HasColorTable()) {
        return;
    }
    const uint32_t n = count < header.biClrUsed ? count : header.biClrUsed;
    uint8_t* table = PaletteAddress();
    for (uint32_t i = 0; i < n; ++i) {
        table[4 * i + 0] = entries[i].rgbBlue;
        table[4 * i + 1] = entries[i].rgbGreen;
        table[4 * i + 2] = entries[i].rgbRed;
        table[4 * i + 3] = entries[i].rgbReserved;
    }
}

void CIndexedBitmap::LimitImportant(uint32_t count) {
    if (count == 0 || count > 256) {
        header.biClrImportant = 0;
        return;
    }
    switch (header.biBitCount) {
        case 1:
            header.biClrImportant = count < 2 ? count : 2;
            break;
        case 4:
            header.biClrImportant = count < 16 ? count : 16;
            break;
        case 8:
            header.biClrImportant = count;
            break;
        default:
            break;  // 24 bits: no colour table to limit
    }
}

uint8_t* CIndexedBitmap::PaletteAddress() {
    return HasColorTable() ? imageMemory + kInfoHeaderSize : nullptr;
}

const uint8_t* CIndexedBitmap::PaletteAddress() const {
    return HasColorTable() ? imageMemory + kInfoHeaderSize : nullptr;
}

uint8_t* CIndexedBitmap::PixelsAddress() {
    if (imageMemory == nullptr) {
        return nullptr;
    }
    return imageMemory + LoadLe32(imageMemory) + 4 * static_cast<size_t>(header.biClrUsed);
}

const uint8_t* CIndexedBitmap::PixelsAddress() const {
    if (imageMemory == nullptr) {
        return nullptr;
    }
    return imageMemory + LoadLe32(imageMemory) + 4 * static_cast<size_t>(header.biClrUsed);
}

uint32_t CIndexedBitmap::PaletteBytes() const {
    return 4 * header.biClrUsed;
}

uint32_t CIndexedBitmap::TotalBytes() const {
    return header.biSize + 4 * header.biClrUsed + header.biSizeImage;
}

}  // namespace vellumo::dib
