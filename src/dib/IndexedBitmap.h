#pragma once
// CIndexedBitmap: one picture in memory as a device-independent bitmap of 1, 4, 8 or 24
// bits per pixel. The image lives in one heap block, `imageMemory`, laid out as a BMP
// file without its file header: the 40-byte info header, the colour table (2, 16 or 256
// RGBQUAD entries for 1, 4, 8 bits; none for 24) and the pixel rows, bottom-up, each row
// padded to a multiple of 4 bytes.
//
// Pixel access is bounds-checked everywhere: reads outside the image give index 0 or
// black, writes there are dropped, so callers may step past any edge.

#include <cstdint>
#include <filesystem>

#include "dib/BitmapTypes.h"

namespace vellumo::dib {

// Largest image block Allocate agrees to create: above any page the conversion makes,
// low enough that every size field of a BMP file (32 bits) still holds the file size.
// Fuzzing builds use a small limit: clearing a huge block for every hostile header would
// make each run take seconds.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr uint64_t kMaxImageBytes = uint64_t{4} * 1024 * 1024;
#else
inline constexpr uint64_t kMaxImageBytes = uint64_t{1536} * 1024 * 1024;
#endif

class CIndexedBitmap {
  public:
    CIndexedBitmap();
    virtual ~CIndexedBitmap();
    CIndexedBitmap(const CIndexedBitmap&) = delete;
    CIndexedBitmap& operator=(const CIndexedBitmap&) = delete;
    // Moving is TakeOver: the moved-from holder is left empty.
    CIndexedBitmap(CIndexedBitmap&& other) noexcept { TakeOver(&other); }
    CIndexedBitmap& operator=(CIndexedBitmap&& other) noexcept {
        TakeOver(&other);
        return *this;
    }

    // Replaces the image by a cleared one of `width` x `height` pixels. The bit count is
    // normalised: up to 1 -> 1, 2..4 -> 4, 5..8 -> 8, above 8 -> 24. Returns the block,
    // or null (holder empty, header showing the request) for a negative side, a block
    // above kMaxImageBytes or a failed allocation.
    uint8_t* Allocate(int32_t width, int32_t height, uint16_t bitsPerPixel);
    // Moves `source`'s image and attributes into this holder and leaves `source` empty
    // with an all-zero header. Null or this holder itself: nothing happens.
    void TakeOver(CIndexedBitmap* source);

    uint8_t ReadIndex(int32_t x, int32_t y) const;
    void WriteIndex(int32_t x, int32_t y, uint8_t index);
    RGBQUAD ReadColor(int32_t x, int32_t y) const;
    void WriteColor(int32_t x, int32_t y, RGBQUAD color);

    // The colour-table entry closest to `color` (squared distance over blue, green,
    // red) among the first biClrImportant entries, or all when that is 0. Ties go to
    // the lowest index; 0 without a colour table.
    uint8_t NearestEntry(RGBQUAD color) const;
    RGBQUAD GetEntry(uint8_t index) const;
    void SetEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue);
    // Copies min(biClrUsed, count) entries as they are (reserved byte included).
    void CopyPalette(const RGBQUAD* entries, uint32_t count);
    void LimitImportant(uint32_t count);

    uint8_t* PaletteAddress();
    const uint8_t* PaletteAddress() const;
    uint8_t* PixelsAddress();
    const uint8_t* PixelsAddress() const;
    uint32_t PaletteBytes() const;
    uint32_t TotalBytes() const;

    // Writes the standard 16-colour palette into a 4-bit image, the standard 256-colour
    // palette into an 8-bit image; other holders are left alone.
    void LoadStandardPalette();
    // Replaces the image by one of `targetBits` bits (normalised as by Allocate) whose
    // colour table is `palette` (or the standard one when null), mapping every pixel to
    // its nearest entry; with `diffuse` each pixel's error is spread into the source
    // pixels not yet visited (7, 2, 4 and 1 sixteenths). A nonzero `importantCount`
    // limits the entries that pixels may use. False (image unchanged) when empty, when
    // the target is deeper than the image or 24 bits, or when memory runs out.
    bool ReduceDepth(uint32_t targetBits, bool diffuse, const RGBQUAD* palette,
                     uint32_t importantCount);

    // Reads a BMP file; the previous image is discarded either way. On failure the holder
    // is empty and lastError holds the reason, unless the file could not be opened.
    bool LoadBmp(const std::filesystem::path& fileName);
    // Writes the image as an uncompressed BMP file. False with a reason in lastError when
    // there is no image or a write fails; false without one when the file cannot be
    // created.
    bool SaveBmp(const std::filesystem::path& fileName);

    bool HasImage() const { return imageMemory != nullptr; }
    bool HasColorTable() const { return imageMemory != nullptr && header.biClrUsed != 0; }
    // Stores `text` (cut to 255 characters) in lastError.
    void SetLastError(const char* text);

    // The block described above; owned unless `borrowed` is set.
    uint8_t* imageMemory = nullptr;
    BITMAPINFOHEADER header;
    // The attribute block: moved together by TakeOver.
    uint32_t rowStride = 0;
    uint8_t* pixels = nullptr;  // row 0 (the bottom row) inside imageMemory
    uint32_t borrowed = 0;      // nonzero: imageMemory belongs to another holder
    char lastError[256] = {};

  protected:
    // Frees the block (unless borrowed) and leaves the holder empty.
    void ReleaseImage();
    // Copies rowStride, pixels, borrowed and lastError from `source`.
    void CopyAttributes(const CIndexedBitmap& source);

  private:
    bool Contains(int32_t x, int32_t y) const;
    uint8_t* RowAt(int32_t y) const;
};

}  // namespace vellumo::dib
