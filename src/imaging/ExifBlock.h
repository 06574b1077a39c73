#pragma once
// The EXIF payload as HEIF and JPEG XL containers store it: a 4-byte big-endian offset
// to the TIFF header, then the TIFF structure. Any byte string is safe to pass.

#include <cstdint>
#include <span>

#include "imaging/ExifReader.h"

namespace vellumo::imaging {

ExifFields ReadExifBlock(std::span<const uint8_t> block);

}  // namespace vellumo::imaging
