#pragma once
// TIFF's horizontal differencing (Predictor 2) for 8-bit samples: a row is stored as the
// difference of each sample from the same sample of the pixel to its left, which turns
// smooth photo content into small, repetitive values that LZW and Deflate pack well.

#include <cstddef>
#include <cstdint>

namespace vellumo::imaging {

// Writes `rowBytes` bytes of `row` (pixels of `samplesPerPixel` 8-bit samples) to `out`
// as horizontal differences, modulo 256; the first pixel is copied unchanged. `row` and
// `out` must not overlap.
void HorizontalDifference8(const uint8_t* row, size_t rowBytes, int samplesPerPixel, uint8_t* out);

}  // namespace vellumo::imaging
