#pragma once
// Identifies the dimension in which an image file counts its frames: pages of a
// multi-page TIFF, time steps of an animation, or the sizes of an icon.

#include <cstdint>

namespace vellumo::imaging {

enum class FrameDimension : int32_t {
    None = 0,
    Page = 1,
    Time = 2,
    Resolution = 3,
};

// One dimension a file counts frames in, with its count.
struct FrameDimensionCount {
    FrameDimension dimension = FrameDimension::None;
    uint32_t count = 0;
};

}  // namespace vellumo::imaging
