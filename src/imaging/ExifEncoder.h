#pragma once
// Encodes a page's metadata as an EXIF block: the TIFF structure (little-endian) that a
// JPEG APP1 segment holds after "Exif\0\0" and a PNG eXIf chunk holds as it is. It says
// Orientation 1, since pages are written as drawn.

#include <cstdint>
#include <vector>

#include "imaging/PageMetadata.h"

namespace vellumo::imaging {

// Empty when there is nothing to record.
std::vector<uint8_t> EncodeExif(const PageMetadata& metadata);

}  // namespace vellumo::imaging
