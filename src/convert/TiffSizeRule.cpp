#include "convert/TiffSizeRule.h"

#include <algorithm>

#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {
namespace {

// What a classic TIFF can address, with room kept for its header.
constexpr uint64_t kClassicLimit = uint64_t{0xFFFFFFFF} - 4096;
// Directory, tags and strip tables of one page: a generous bound for strips of whole rows.
constexpr uint64_t kPageStructure = 64 * 1024;

// Compressed bytes per 100 raw bytes at worst: LZW codes reach 12 bits for 8-bit bytes;
// Deflate and PackBits add a little; JPEG of noise at quality 100 may pass the raw size.
uint64_t GrowthPercent(imaging::TiffCompression compression) {
    switch (compression) {
        case imaging::TiffCompression::None:
            return 100;
        case imaging::TiffCompression::Lzw:
            return 150;
        case imaging::TiffCompression::Deflate:
        case imaging::TiffCompression::PackBits:
            return 102;
        case imaging::TiffCompression::Jpeg:
            return 125;
    }
    return 150;
}

}  // namespace

uint64_t TiffSizeBound(const std::vector<std::pair<int64_t, int64_t>>& pageSizes,
                       imaging::TiffCompression compression) {
    uint64_t total = 16;
    const uint64_t growth = GrowthPercent(compression);
    for (const auto& [width, height] : pageSizes) {
        // Rows of a strip are whole: each strip pays its per-strip bound plus a row.
        const uint64_t raw = static_cast<uint64_t>(std::max<int64_t>(width, 0)) *
                             static_cast<uint64_t>(std::max<int64_t>(height, 0)) * 3;
        total += raw / 100 * growth + raw % 100 * growth / 100 + 1 + kPageStructure +
                 static_cast<uint64_t>(std::max<int64_t>(height, 0)) * 16;
    }
    return total;
}

bool NeedsBigTiff(const photolist::PhotoList& list, imaging::TiffCompression compression,
                  uint64_t keptBytes) {
    std::vector<std::pair<int64_t, int64_t>> sizes;
    for (const auto& entry : list) {
        if (entry.outputFormat.nOuptputFormat == options::kFormatTif) {
            sizes.emplace_back(entry.outputFormat.nOutputWidth, entry.outputFormat.nOutputHeight);
        }
    }
    return TiffSizeBound(sizes, compression) + keptBytes > kClassicLimit;
}

}  // namespace vellumo::convert
