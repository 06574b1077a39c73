#pragma once
// Rotation and flip of a page by one of the eight rotate-and-flip types.

#include <cstdint>

#include "imaging/PageBitmap.h"

namespace vellumo::imaging {

enum class RotateFlipType : int32_t {
    RotateNoneFlipNone = 0,
    Rotate90FlipNone = 1,
    Rotate180FlipNone = 2,
    Rotate270FlipNone = 3,
    RotateNoneFlipX = 4,
    Rotate90FlipX = 5,
    Rotate180FlipX = 6,
    Rotate270FlipX = 7,
};

// Turns the page clockwise by the type's angle, then mirrors it left-right for the
// FlipX types. Quarter turns swap width and height (and the two resolutions). False
// when memory for the turned page cannot be had or `type` is not one of the eight;
// the page is then unchanged.
bool RotateFlip(PageBitmap& page, RotateFlipType type);

}  // namespace vellumo::imaging
