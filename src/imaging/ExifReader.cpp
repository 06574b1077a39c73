#include "imaging/ExifReader.h"

#include <cmath>
#include <cstring>

namespace vellumo::imaging {
namespace {

constexpr uint16_t kTagXResolution = 0x011A;
constexpr uint16_t kTagResolutionUnit = 0x0128;
constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr uint16_t kTypeRational = 5;

// The TIFF structure inside the segment, with its byte order.
class TiffBytes {
  public:
    TiffBytes(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}

    std::optional<uint16_t> U16(size_t at) const {
        if (at > bytes_.size() || bytes_.size() - at < 2) {
            return std::nullopt;
        }
        const uint8_t* p = bytes_.data() + at;
        return static_cast<uint16_t>(big_ ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
    }
    std::optional<uint32_t> U32(size_t at) const {
        const auto hi = U16(big_ ? at : at + 2);
        const auto lo = U16(big_ ? at + 2 : at);
        if (!hi || !lo) {
            return std::nullopt;
        }
        return (static_cast<uint32_t>(*hi) << 16) | *lo;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool big_;
};

// A SHORT or LONG value stored in the entry itself.
std::optional<uint32_t> InlineInteger(const TiffBytes& tiff, size_t entry) {
    const auto type = tiff.U16(entry + 2);
    if (type == kTypeShort) {
        return tiff.U16(entry + 8);
    }
    if (type == kTypeLong) {
        return tiff.U32(entry + 8);
    }
    return std::nullopt;
}

std::optional<double> RationalAt(const TiffBytes& tiff, size_t entry) {
    if (tiff.U16(entry + 2) != kTypeRational) {
        return std::nullopt;
    }
    const auto offset = tiff.U32(entry + 8);
    if (!offset) {
        return std::nullopt;
    }
    const auto num = tiff.U32(*offset);
    const auto den = tiff.U32(static_cast<size_t>(*offset) + 4);
    if (!num || !den || *den == 0 || *num == 0) {
        return std::nullopt;
    }
    return static_cast<double>(*num) / *den;
}

}  // namespace

ExifFields ReadExifFields(std::span<const uint8_t> app1) {
    ExifFields fields;
    static constexpr uint8_t kSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < 6 + 8 || std::memcmp(app1.data(), kSignature, 6) != 0) {
        return fields;
    }
    const std::span<const uint8_t> body = app1.subspan(6);
    bool bigEndian = false;
    if (body[0] == 'M' && body[1] == 'M') {
        bigEndian = true;
    } else if (!(body[0] == 'I' && body[1] == 'I')) {
        return fields;
    }
    const TiffBytes tiff(body, bigEndian);
    if (tiff.U16(2) != 42) {
        return fields;
    }
    const auto ifd = tiff.U32(4);
    if (!ifd) {
        return fields;
    }
    const auto count = tiff.U16(*ifd);
    if (!count) {
        return fields;
    }

    std::optional<double> xResolution;
    uint32_t unit = 2;  // inches unless the file says otherwise
    for (uint32_t i = 0; i < *count; ++i) {
        const size_t entry = static_cast<size_t>(*ifd) + 2 + static_cast<size_t>(i) * 12;
        const auto tag = tiff.U16(entry);
        if (!tag) {
            break;  // the directory runs past the segment
        }
        if (*tag == kTagOrientation) {
            const auto value = InlineInteger(tiff, entry);
            if (value && *value >= 1 && *value <= 8) {
                fields.orientation = static_cast<int>(*value);
            }
        } else if (*tag == kTagXResolution) {
            xResolution = RationalAt(tiff, entry);
        } else if (*tag == kTagResolutionUnit) {
            unit = InlineInteger(tiff, entry).value_or(2);
        }
    }
    if (xResolution && std::isfinite(*xResolution)) {
        if (unit == 2) {
            fields.dpiX = *xResolution;
        } else if (unit == 3) {
            fields.dpiX = *xResolution * 2.54;  // dots per centimetre
        }
    }
    return fields;
}

}  // namespace vellumo::imaging
