#pragma once
// Resolution recorded in a BMP file's info header (pixels per metre), read from the
// first bytes of the file without decoding anything.

#include <cstdint>
#include <optional>
#include <span>

namespace vellumo::imaging {

// Horizontal dots per inch, when the header records a usable one.
std::optional<double> BmpResolution(std::span<const uint8_t> head);

}  // namespace vellumo::imaging
