#include "imaging/PageBitmap.h"

#include <cmath>
#include <cstring>
#include <new>

namespace vellumo::imaging {

std::optional<PageBitmap> PageBitmap::Create(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPagePixels) {
        return std::nullopt;
    }
    PageBitmap page;
    const size_t bytes = static_cast<size_t>(width) * 3 * static_cast<size_t>(height);
    page.pixels_.reset(new (std::nothrow) uint8_t[bytes]());
    if (!page.pixels_) {
        return std::nullopt;
    }
    page.width_ = width;
    page.height_ = height;
    return page;
}

PageBitmap PageBitmap::Clone() const {
    PageBitmap copy;
    if (pixels_) {
        copy.pixels_.reset(new uint8_t[byteSize()]);
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
