#pragma once
// Size limits every decoder checks before it allocates pixels, so that a hostile
// header cannot make us allocate gigabytes.

#include <cstdint>

namespace vellumo::imaging {

// Largest source frame we decode, in pixels: room for 100-megapixel photos with a
// wide margin, far below what a 100000 x 100000 header would claim. Fuzzing builds use
// a small bound so that one input cannot take seconds.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr int64_t kMaxSourcePixels = int64_t{4} * 1000 * 1000;
#else
inline constexpr int64_t kMaxSourcePixels = int64_t{300} * 1000 * 1000;
#endif

// The same bound as Qt's image reader understands it (megabytes of 32-bit pixels).
inline constexpr int kQtAllocationLimitMb =
    static_cast<int>(kMaxSourcePixels * 4 / (1024 * 1024)) + 1;

inline bool SourceSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSourcePixels && height <= kMaxSourcePixels &&
           width * height <= kMaxSourcePixels;
}

}  // namespace vellumo::imaging
