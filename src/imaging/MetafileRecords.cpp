#include "imaging/MetafileRecords.h"

namespace vellumo::imaging {
namespace {

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return b[at] | (uint32_t{b[at + 1]} << 8);
}
uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr size_t kEmfHeaderBytes = 88;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"

constexpr uint32_t kWmfPlaceableKey = 0x9AC6CDD7;
constexpr size_t kWmfPlaceableBytes = 22;
constexpr size_t kWmfHeaderBytes = 18;
constexpr uint32_t kWmfEof = 0;

// Records that carry a device-independent bitmap, and the bytes of parameters before it.
struct BitmapRecord {
    uint32_t function;
    size_t offset;
};
constexpr BitmapRecord kBitmapRecords[] = {
    {0x0940, 16},  // DIBBITBLT
    {0x0B41, 20},  // DIBSTRETCHBLT
    {0x0F43, 22},  // STRETCHDIB
    {0x0D33, 18},  // SETDIBTODEV
    {0x0142, 4},   // DIBCREATEPATTERNBRUSH
};

// Run-length data can say "skip" cheaply, so its pixels are bounded by this many per byte.
constexpr uint64_t kMaxRunLengthPixelsPerByte = 1024;

// A bitmap whose pixels the record can hold: libwmf reads every pixel the header claims,
// however few bytes follow, which costs seconds for a header of a billion pixels.
bool DibFits(std::span<const uint8_t> dib) {
    if (dib.size() < 12) {
        return false;
    }
    const uint32_t headerSize = Le32(dib, 0);
    uint64_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0;
    if (headerSize == 12) {
        width = Le16(dib, 4);
        height = Le16(dib, 6);
        bits = Le16(dib, 10);
    } else if (headerSize >= 40 && headerSize <= 124 && dib.size() >= 40) {
        const auto w = static_cast<int32_t>(Le32(dib, 4));
        const auto h = static_cast<int32_t>(Le32(dib, 8));
        width = w < 0 ? -int64_t{w} : w;
        height = h < 0 ? -int64_t{h} : h;
        bits = Le16(dib, 14);
        compression = Le32(dib, 16);
    } else {
        return false;
    }
    if (width == 0 || height == 0 || bits == 0 || bits > 32) {
        return false;
    }
    // The colour table too: libwmf allocates the count a header claims before it reads
    // a single entry.
    const uint64_t colours = headerSize >= 40 && Le32(dib, 32) != 0 ? Le32(dib, 32)
                             : bits <= 8                            ? uint64_t{1} << bits
                                                                    : 0;
    if (headerSize + colours * (headerSize == 12 ? 3 : 4) > dib.size()) {
        return false;
    }
    switch (compression) {
        case 0:  // uncompressed rows
        case 3:  // bit fields
            return (width * bits + 31) / 32 * 4 * height <= dib.size();
        case 1:  // run lengths of 8 or 4 bits
        case 2:
            return width * height <= dib.size() * kMaxRunLengthPixelsPerByte;
        default:
            return false;
    }
}

}  // namespace

bool EmfRecordsFit(std::span<const uint8_t> emf) {
    if (emf.size() < kEmfHeaderBytes || Le32(emf, 0) != kEmrHeader ||
        Le32(emf, 40) != kEmfSignature) {
        return false;
    }
    for (size_t at = 0; at + 8 <= emf.size();) {
        const uint32_t type = Le32(emf, at);
        const uint32_t size = Le32(emf, at + 4);
        if (size < 8 || size % 4 != 0 || size > emf.size() - at ||
            (at == 0 && size < kEmfHeaderBytes)) {
            return false;
        }
        if (type == kEmrEof) {
            return true;
        }
        at += size;
    }
    return false;  // no end-of-file record
}

bool WmfRecordsFit(std::span<const uint8_t> wmf) {
    size_t at = wmf.size() >= kWmfPlaceableBytes && Le32(wmf, 0) == kWmfPlaceableKey
                    ? kWmfPlaceableBytes
                    : 0;
    if (wmf.size() - at < kWmfHeaderBytes || Le16(wmf, at + 2) != 9) {
        return false;
    }
    const uint64_t largest = uint64_t{Le32(wmf, at + 12)} * 2;
    at += kWmfHeaderBytes;
    if (largest > wmf.size() - at) {
        return false;
    }
    while (at + 6 <= wmf.size()) {
        const uint64_t size = uint64_t{Le32(wmf, at)} * 2;
        if (size < 6 || size > largest || size > wmf.size() - at) {
            return false;
        }
        const uint32_t function = Le16(wmf, at + 4);
        if (function == kWmfEof) {
            return true;
        }
        for (const BitmapRecord& r : kBitmapRecords) {
            // Without room for a bitmap the record only names a raster operation.
            if (function == r.function && size > 6 + r.offset &&
                !DibFits(wmf.subspan(at + 6 + r.offset, size - 6 - r.offset))) {
                return false;
            }
        }
        at += size;
    }
    return false;  // no end-of-file record
}

}  // namespace vellumo::imaging
