#include "imaging/BmpResolution.h"

namespace vellumo::imaging {

std::optional<double> BmpResolution(std::span<const uint8_t> head) {
    constexpr double kInchesPerMetre = 0.0254;
    const auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(head[at]) | (static_cast<uint32_t>(head[at + 1]) << 8) |
               (static_cast<uint32_t>(head[at + 2]) << 16) |
               (static_cast<uint32_t>(head[at + 3]) << 24);
    };
    // File header (14 bytes), then an info header of at least 40 bytes whose
    // horizontal pixels per metre sit at offset 24.
    if (head.size() < 14 + 40 || head[0] != 'B' || head[1] != 'M') {
        return std::nullopt;
    }
    if (le32(14) < 40) {
        return std::nullopt;  // the OS/2 core header records no resolution
    }
    const auto perMetre = static_cast<int32_t>(le32(14 + 24));
    if (perMetre <= 0) {
        return std::nullopt;
    }
    return perMetre * kInchesPerMetre;
}

}  // namespace vellumo::imaging
