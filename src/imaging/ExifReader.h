#pragma once
// Reads the few EXIF fields the imaging layer reports (orientation, resolution) from
// the payload of a JPEG APP1 segment. Every offset is checked against the payload, so
// any byte string is safe to pass.

#include <cstdint>
#include <optional>
#include <span>

namespace vellumo::imaging {

struct ExifFields {
    int orientation = 0;         // 1 to 8; 0 when absent or not a valid value
    std::optional<double> dpiX;  // horizontal resolution in dots per inch, when given
};

// `app1` is the segment payload, starting with "Exif\0\0". Anything else gives empty
// fields.
ExifFields ReadExifFields(std::span<const uint8_t> app1);

}  // namespace vellumo::imaging
