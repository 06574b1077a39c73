// Arbitrary bytes decoded as a PNG held in memory (the way icon entries are read).
// Beyond "no crash, no sanitizer report": a refused image names its reason, and a
// decoded one has the size its header announced, in one of the two promised formats.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "imaging/PngDecoder.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const auto announced = vellumo::imaging::PngSize(bytes);
    std::string error;
    const QImage image = vellumo::imaging::DecodePngBytes(bytes, error);
    if (image.isNull()) {
        Check(!error.empty());
        return 0;
    }
    Check(announced.has_value() && *announced == image.size());
    Check(image.format() == QImage::Format_RGB888 ||
          image.format() == QImage::Format_RGBA8888_Premultiplied);
    return 0;
}
