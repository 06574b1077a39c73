#include "imaging/TiffPredictor.h"

#include <cstring>

namespace vellumo::imaging {

void HorizontalDifference8(const uint8_t* row, size_t rowBytes, int samplesPerPixel, uint8_t* out) {
    const auto lead = static_cast<size_t>(samplesPerPixel);
    if (rowBytes <= lead) {
        std::memcpy(out, row, rowBytes);
        return;
    }
    std::memcpy(out, row, lead);
    // Separate input and output let the compiler vectorise this loop.
    for (size_t i = lead; i < rowBytes; ++i) {
        out[i] = static_cast<uint8_t>(row[i] - row[i - lead]);
    }
}

}  // namespace vellumo::imaging
