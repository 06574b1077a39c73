#include "imaging/MpoIndex.h"

#include <cstring>

namespace vellumo::imaging {
namespace {

// More pictures than a multi-picture file holds (stereo pairs, a few views).
constexpr uint32_t kMaxImages = 64;
constexpr uint16_t kEntriesTag = 0xB002;
constexpr size_t kEntryBytes = 16;

struct Reader {
    std::span<const uint8_t> b;
    bool big = false;
    bool Has(size_t at, size_t n) const { return at <= b.size() && b.size() - at >= n; }
    uint32_t U16(size_t at) const {
        return big ? (uint32_t{b[at]} << 8) | b[at + 1] : (uint32_t{b[at + 1]} << 8) | b[at];
    }
    uint32_t U32(size_t at) const {
        return big ? (U16(at) << 16) | U16(at + 2) : (U16(at + 2) << 16) | U16(at);
    }
};

// The index inside the segment: a TIFF-style header at `base`, whose first directory
// lists the picture entries (attributes, size, offset from `base`).
std::vector<uint64_t> ReadIndex(std::span<const uint8_t> head, size_t base, size_t end) {
    std::vector<uint64_t> offsets;
    Reader r{head.subspan(0, end)};
    if (!r.Has(base, 8) || (head[base] != 'I' && head[base] != 'M') ||
        head[base] != head[base + 1]) {
        return offsets;
    }
    r.big = head[base] == 'M';
    const size_t directory = base + r.U32(base + 4);
    if (directory < base || !r.Has(directory, 2)) {
        return offsets;
    }
    const uint32_t count = r.U16(directory);
    for (uint32_t i = 0; i < count && r.Has(directory + 2 + 12 * size_t{i}, 12); ++i) {
        const size_t entry = directory + 2 + 12 * size_t{i};
        if (r.U16(entry) != kEntriesTag) {
            continue;
        }
        const uint32_t images = r.U32(entry + 4) / kEntryBytes;
        const size_t at = base + r.U32(entry + 8);
        if (images < 2 || images > kMaxImages || at < base || !r.Has(at, images * kEntryBytes)) {
            return offsets;
        }
        for (uint32_t k = 1; k < images; ++k) {
            const uint32_t offset = r.U32(at + k * kEntryBytes + 8);
            if (offset != 0) {
                offsets.push_back(uint64_t{base} + offset);
            }
        }
        return offsets;
    }
    return offsets;
}

}  // namespace

std::vector<uint64_t> MpoImageOffsets(std::span<const uint8_t> head) {
    // Walk the segments after the start of image up to the first scan.
    size_t pos = 2;
    while (pos + 4 <= head.size() && head[pos] == 0xFF) {
        const uint8_t marker = head[pos + 1];
        if (marker == 0xFF) {
            ++pos;  // fill byte
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) {
            break;  // image data or its end: the index comes before
        }
        const size_t length = (size_t{head[pos + 2]} << 8) | head[pos + 3];
        if (length < 2 || pos + 2 + length > head.size()) {
            break;
        }
        if (marker == 0xE2 && length >= 2 + 4 + 8 &&
            std::memcmp(head.data() + pos + 4, "MPF\0", 4) == 0) {
            return ReadIndex(head, pos + 8, pos + 2 + length);
        }
        pos += 2 + length;
    }
    return {};
}

}  // namespace vellumo::imaging
