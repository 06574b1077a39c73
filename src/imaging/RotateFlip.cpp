#include "imaging/RotateFlip.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace vellumo::imaging {
namespace {

void SwapPixels(uint8_t* a, uint8_t* b) {
    std::swap(a[0], b[0]);
    std::swap(a[1], b[1]);
    std::swap(a[2], b[2]);
}

void MirrorRows(PageBitmap& page) {
    const int32_t w = page.width();
    for (int32_t y = 0; y < page.height(); ++y) {
        uint8_t* row = page.row(y);
        for (int32_t l = 0, r = w - 1; l < r; ++l, --r) {
            SwapPixels(row + static_cast<size_t>(l) * 3, row + static_cast<size_t>(r) * 3);
        }
    }
}

void SwapRowsTopBottom(PageBitmap& page) {
    const size_t stride = page.stride();
    for (int32_t t = 0, b = page.height() - 1; t < b; ++t, --b) {
        std::swap_ranges(page.row(t), page.row(t) + stride, page.row(b));
    }
}

// A half turn reverses the order of all pixels.
void ReversePixels(PageBitmap& page) {
    const size_t count = static_cast<size_t>(page.width()) * static_cast<size_t>(page.height());
    uint8_t* p = page.data();
    for (size_t l = 0, r = count - 1; l < r; ++l, --r) {
        SwapPixels(p + l * 3, p + r * 3);
    }
}

// Quarter turns: the turned page's pixel (x, y) comes from source column
// (reverseColumn ? W - 1 - y : y) and source row (reverseRow ? H - 1 - x : x).
// Copied in square tiles so that both the reads and the writes stay in cache.
bool QuarterTurn(PageBitmap& page, bool reverseColumn, bool reverseRow) {
    const int32_t w = page.width(), h = page.height();
    std::unique_ptr<uint8_t[]> turned = PageBitmap::AllocatePixels(page.byteSize());
    if (!turned) {
        return false;
    }
    constexpr int32_t kTile = 64;
    const size_t srcStride = page.stride();
    const size_t dstStride = static_cast<size_t>(h) * 3;  // the turned page is h wide
    const uint8_t* src = page.data();
    for (int32_t ty = 0; ty < w; ty += kTile) {
        const int32_t yEnd = std::min(w, ty + kTile);
        for (int32_t tx = 0; tx < h; tx += kTile) {
            const int32_t xEnd = std::min(h, tx + kTile);
            for (int32_t y = ty; y < yEnd; ++y) {
                const size_t column = static_cast<size_t>(reverseColumn ? w - 1 - y : y) * 3;
                uint8_t* d =
                    turned.get() + dstStride * static_cast<size_t>(y) + static_cast<size_t>(tx) * 3;
                for (int32_t x = tx; x < xEnd; ++x, d += 3) {
                    const int32_t row = reverseRow ? h - 1 - x : x;
                    const uint8_t* s = src + srcStride * static_cast<size_t>(row) + column;
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
            }
        }
    }
    const double dpiX = page.dpiX(), dpiY = page.dpiY();
    page.Adopt(std::move(turned), h, w);
    page.SetResolution(dpiY, dpiX);
    return true;
}

}  // namespace

bool RotateFlip(PageBitmap& page, RotateFlipType type) {
    if (page.empty()) {
        return true;
    }
    switch (type) {
        case RotateFlipType::RotateNoneFlipNone:
            return true;
        case RotateFlipType::RotateNoneFlipX:
            MirrorRows(page);
            return true;
        case RotateFlipType::Rotate180FlipNone:
            ReversePixels(page);
            return true;
        case RotateFlipType::Rotate180FlipX:  // a half turn then a mirror: top-bottom flip
            SwapRowsTopBottom(page);
            return true;
        case RotateFlipType::Rotate90FlipNone:
            return QuarterTurn(page, false, true);
        case RotateFlipType::Rotate270FlipNone:
            return QuarterTurn(page, true, false);
        case RotateFlipType::Rotate90FlipX:  // transpose
            return QuarterTurn(page, false, false);
        case RotateFlipType::Rotate270FlipX:  // transpose across the other diagonal
            return QuarterTurn(page, true, true);
    }
    return false;  // not one of the eight types
}

}  // namespace vellumo::imaging
