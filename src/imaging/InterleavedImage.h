#pragma once
// Copies the 8-bit interleaved pixels a codec library hands back into the image a
// decoder returns (Format_RGB888, or Format_RGBA8888_Premultiplied when there is alpha),
// so that no library buffer outlives the decoder that owns it.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vellumo::imaging {

struct InterleavedPixels {
    const uint8_t* data = nullptr;
    size_t stride = 0;  // bytes from one row to the next
    int32_t width = 0;
    int32_t height = 0;
    int channels = 3;            // 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA
    bool premultiplied = false;  // whether the colours are already multiplied by alpha
};

// A null image with `error` set when the pixels are not one of the shapes above or
// memory runs out.
QImage CopyInterleaved(const InterleavedPixels& pixels, std::string& error);

}  // namespace vellumo::imaging
