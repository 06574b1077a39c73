#pragma once
// A page: a 24-bit RGB bitmap (bytes R, G, B per pixel, rows top-down, no padding)
// with a resolution and the metadata the writers record with it. Pages are what the conversion
// draws onto and what the writers write; they own their memory and copy only when asked to (Clone).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "imaging/PageMetadata.h"

namespace vellumo::imaging {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};

// Largest page we agree to allocate, in pixels (about 1.3 GB at 24 bits): above every
// real photo, below what a hostile header could otherwise make us allocate.
inline constexpr int64_t kMaxPagePixels = int64_t{450} * 1000 * 1000;

class PageBitmap {
  public:
    PageBitmap() = default;
    PageBitmap(PageBitmap&&) noexcept = default;
    PageBitmap& operator=(PageBitmap&&) noexcept = default;
    PageBitmap(const PageBitmap&) = delete;
    PageBitmap& operator=(const PageBitmap&) = delete;

    // A page of one colour (black unless given); nullopt when a side is not above 0, the
    // size is over kMaxPagePixels, or memory runs out.
    static std::optional<PageBitmap> Create(int32_t width, int32_t height, Rgb colour = Rgb{});

    // An independent copy.
    PageBitmap Clone() const;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    size_t stride() const { return static_cast<size_t>(width_) * 3; }
    size_t byteSize() const { return stride() * static_cast<size_t>(height_); }
    bool empty() const { return pixels_ == nullptr; }

    uint8_t* row(int32_t y) { return pixels_.get() + stride() * static_cast<size_t>(y); }
    const uint8_t* row(int32_t y) const {
        return pixels_.get() + stride() * static_cast<size_t>(y);
    }
    uint8_t* data() { return pixels_.get(); }
    const uint8_t* data() const { return pixels_.get(); }

    Rgb pixel(int32_t x, int32_t y) const {
        const uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
        return {p[0], p[1], p[2]};
    }
    void setPixel(int32_t x, int32_t y, Rgb c) {
        uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    void Clear(Rgb colour);

    // Dots per inch on each axis; both 96 until set.
    double dpiX() const { return dpiX_; }
    double dpiY() const { return dpiY_; }
    // False (nothing changed) for a resolution that is not a positive finite number.
    bool SetResolution(double dpiX, double dpiY);

    // Name, place, camera data and colour profile; empty until the run sets them.
    PageMetadata& metadata() { return metadata_; }
    const PageMetadata& metadata() const { return metadata_; }

    // Replaces the pixels with a buffer of the given size (used by rotation, which
    // swaps the sides). `pixels` must hold width * height * 3 bytes.
    void Adopt(std::unique_ptr<uint8_t[]> pixels, int32_t width, int32_t height);

    // An unwritten pixel buffer of `bytes` (null when memory runs out), set up the way
    // every page's is: large ones on huge pages.
    static std::unique_ptr<uint8_t[]> AllocatePixels(size_t bytes);

  private:
    std::unique_ptr<uint8_t[]> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    double dpiX_ = 96.0;
    double dpiY_ = 96.0;
    PageMetadata metadata_;
};

}  // namespace vellumo::imaging
