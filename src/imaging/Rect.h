#pragma once
// A rectangle in pixels: top-left corner and size.

#include <cstdint>

namespace vellumo::imaging {

struct Rect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

}  // namespace vellumo::imaging
