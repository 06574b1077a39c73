#include "imaging/PageBitmap.h"

#include <cmath>
#include <cstring>
#include <new>

#include "base/LargeBlocks.h"

namespace vellumo::imaging {

std::unique_ptr<uint8_t[]> PageBitmap::AllocatePixels(size_t bytes) {
    // Left unwritten: the caller fills it at once, in one pass.
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[bytes]);
    base::AdviseHugePages(pixels.get(), bytes);
    return pixels;
}

std::optional<PageBitmap> PageBitmap::Create(int32_t width, int32_t height, Rgb colour) {
    if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPagePixels) {
        return std::nullopt;
    }
    PageBitmap page;
    page.pixels_ = AllocatePixels(static_cast<size_t>(width) * 3 * static_cast<size_t>(height));
    if (!page.pixels_) {
        return std::nullopt;
    }
    page.width_ = width;
    page.height_ = height;
    page.Clear(colour);
    return page;
}

PageBitmap PageBitmap::Clone() const {
    PageBitmap copy;
    if (pixels_) {
        copy.pixels_ = AllocatePixels(byteSize());
        if (!copy.pixels_) {
            throw std::bad_alloc();
        }
        std::memcpy(copy.pixels_.get(), pixels_.get(), byteSize());
    }
    copy.width_ = width_;
    copy.height_ = height_;
    copy.dpiX_ = dpiX_;
    copy.dpiY_ = dpiY_;
    copy.metadata_ = metadata_;
    return copy;
}

void PageBitmap::Clear(Rgb colour) {
    if (!pixels_) {
        return;
    }
    uint8_t* first = row(0);
    for (int32_t x = 0; x < width_; ++x) {
        first[x * 3] = colour.r;
        first[x * 3 + 1] = colour.g;
        first[x * 3 + 2] = colour.b;
    }
    for (int32_t y = 1; y < height_; ++y) {
        std::memcpy(row(y), first, stride());
    }
}

bool PageBitmap::SetResolution(double dpiX, double dpiY) {
    if (!(std::isfinite(dpiX) && std::isfinite(dpiY) && dpiX > 0 && dpiY > 0)) {
        return false;
    }
    dpiX_ = dpiX;
    dpiY_ = dpiY;
    return true;
}

void PageBitmap::Adopt(std::unique_ptr<uint8_t[]> pixels, int32_t width, int32_t height) {
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
}

}  // namespace vellumo::imaging
