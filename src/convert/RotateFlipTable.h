#pragma once
// The rotate-and-flip type for a page from the entry's angle and flip choice, and the
// one that turns a photo upright from its EXIF orientation.

#include <cstdint>

#include "imaging/RotateFlip.h"

namespace vellumo::convert {

struct RotateFlipChoice {
    imaging::RotateFlipType type = imaging::RotateFlipType::RotateNoneFlipNone;
    bool angleKnown = true;  // false: the angle was not 0, 90, 180 or 270
};

// nRotateAngel in degrees, nFlipType 0 none, 1 horizontal, 2 vertical. An unknown angle
// keeps the flip without turning; an unknown flip code turns without flipping.
RotateFlipChoice RotateFlipFor(int32_t angle, int32_t flip);

// The type that shows a photo with EXIF orientation 1 to 8 upright; nothing to do for
// any other value.
imaging::RotateFlipType UprightTypeForExif(int orientation);

// True when the type exchanges width and height.
bool SwapsSides(imaging::RotateFlipType type);

}  // namespace vellumo::convert
