#include "imaging/ExifBlock.h"

#include <vector>

namespace vellumo::imaging {

ExifFields ReadExifBlock(std::span<const uint8_t> block) {
    if (block.size() < 4) {
        return {};
    }
    const uint64_t offset = (uint64_t{block[0]} << 24) | (uint64_t{block[1]} << 16) |
                            (uint64_t{block[2]} << 8) | uint64_t{block[3]};
    if (offset > block.size() - 4) {
        return {};
    }
    // The JPEG segment form the reader knows: "Exif\0\0" then the TIFF structure.
    std::vector<uint8_t> segment = {'E', 'x', 'i', 'f', 0, 0};
    segment.insert(segment.end(), block.begin() + 4 + static_cast<std::ptrdiff_t>(offset),
                   block.end());
    return ReadExifFields(segment);
}

}  // namespace vellumo::imaging
