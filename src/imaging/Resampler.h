#pragma once
// High-quality bicubic drawing on plain pixel buffers: a separable cubic convolution
// (Keys kernel, a = -0.5) whose support is widened by the scale factor when shrinking,
// so a downscale is prefiltered instead of aliased. Edges are clamped; results are
// rounded and clamped to 0..255. Kept free of Qt so it can be tested and benchmarked
// alone.

#include <cstddef>
#include <cstdint>

#include "imaging/Rect.h"

namespace vellumo::imaging {

enum class SourceLayout {
    Rgb,                // bytes R, G, B
    RgbaPremultiplied,  // bytes R, G, B, A with colour already multiplied by alpha
};

struct SourcePixels {
    const uint8_t* data = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;  // bytes from one row to the next
    SourceLayout layout = SourceLayout::Rgb;
};

// A 24-bit RGB buffer to draw into.
struct TargetPixels {
    uint8_t* data = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;
};

// Scales the whole source into `destination` of the target. The rectangle may reach
// past the target's edges; only the part inside is written, with the geometry of the
// whole rectangle. Sources with alpha are composited over the target's pixels.
// Large outputs are drawn on up to `threads` threads (small ones on the calling thread
// alone); the result is the same for every count. False, with the target untouched, for
// an empty source or rectangle or when memory runs out.
bool DrawBicubic(const SourcePixels& source, const TargetPixels& target, const Rect& destination,
                 int threads = 1);

}  // namespace vellumo::imaging
