#include "imaging/MetadataSegments.h"

#include <zlib.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace vellumo::imaging {
namespace {

// A JPEG segment's payload is at most this long (its 16-bit length counts itself).
constexpr size_t kMaxSegmentPayload = 65533;
constexpr std::string_view kExifHeader("Exif\0\0", 6);
constexpr std::string_view kIccHeader("ICC_PROFILE\0", 12);
// One APP2 segment holds the header, its sequence number and count, then the profile.
constexpr size_t kIccPerSegment = kMaxSegmentPayload - kIccHeader.size() - 2;
constexpr size_t kMaxIccSegments = 255;

void AppendSegment(QByteArray& out, uint8_t marker, const QByteArray& payload) {
    const auto length = static_cast<uint16_t>(payload.size() + 2);
    out.append(static_cast<char>(0xFF));
    out.append(static_cast<char>(marker));
    out.append(static_cast<char>(length >> 8));
    out.append(static_cast<char>(length & 0xFF));
    out.append(payload);
}

QByteArray Bytes(std::span<const uint8_t> data) {
    return QByteArray(reinterpret_cast<const char*>(data.data()),
                      static_cast<qsizetype>(data.size()));
}

void AppendBigEndian32(QByteArray& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.append(static_cast<char>((v >> shift) & 0xFF));
    }
}

void AppendChunk(QByteArray& out, const char type[4], const QByteArray& data) {
    AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out.append(typed);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                            static_cast<uInt>(typed.size()));
    AppendBigEndian32(out, static_cast<uint32_t>(crc));
}

}  // namespace

QByteArray AddJpegMetadata(const QByteArray& jpeg, std::span<const uint8_t> exif,
                           std::span<const uint8_t> icc) {
    if (jpeg.size() < 4 || static_cast<uint8_t>(jpeg[0]) != 0xFF ||
        static_cast<uint8_t>(jpeg[1]) != 0xD8) {
        return jpeg;
    }
    // After the JFIF segment, which must come first, when there is one.
    qsizetype at = 2;
    if (static_cast<uint8_t>(jpeg[2]) == 0xFF && static_cast<uint8_t>(jpeg[3]) == 0xE0 &&
        jpeg.size() >= 6) {
        at += 2 + ((static_cast<uint8_t>(jpeg[4]) << 8) | static_cast<uint8_t>(jpeg[5]));
        at = std::min(at, jpeg.size());
    }
    QByteArray out = jpeg.left(at);
    if (!exif.empty() && exif.size() + kExifHeader.size() <= kMaxSegmentPayload) {
        AppendSegment(out, 0xE1, QByteArray(kExifHeader.data(), kExifHeader.size()) + Bytes(exif));
    }
    const size_t segments = (icc.size() + kIccPerSegment - 1) / kIccPerSegment;
    if (segments <= kMaxIccSegments) {
        for (size_t i = 0; i < segments; ++i) {
            QByteArray payload(kIccHeader.data(), kIccHeader.size());
            payload.append(static_cast<char>(i + 1));
            payload.append(static_cast<char>(segments));
            payload.append(Bytes(icc.subspan(
                i * kIccPerSegment, std::min(kIccPerSegment, icc.size() - i * kIccPerSegment))));
            AppendSegment(out, 0xE2, payload);
        }
    }
    out.append(jpeg.mid(at));
    return out;
}

QByteArray AddPngMetadata(const QByteArray& png, std::span<const uint8_t> exif,
                          std::span<const uint8_t> icc) {
    // The signature and the IHDR chunk (13 bytes of data) come first in every PNG.
    constexpr qsizetype kAfterHeader = 8 + 8 + 13 + 4;
    if (png.size() < kAfterHeader || png.mid(12, 4) != "IHDR") {
        return png;
    }
    QByteArray out = png.left(kAfterHeader);
    if (!icc.empty()) {
        uLongf packed = compressBound(static_cast<uLong>(icc.size()));
        std::vector<Bytef> compressed(packed);
        if (compress2(compressed.data(), &packed, icc.data(), static_cast<uLong>(icc.size()),
                      Z_BEST_COMPRESSION) == Z_OK) {
            QByteArray data("ICC profile", 11);
            data.append('\0');  // end of the name
            data.append('\0');  // compression method: zlib
            data.append(reinterpret_cast<const char*>(compressed.data()),
                        static_cast<qsizetype>(packed));
            AppendChunk(out, "iCCP", data);
        }
    }
    if (!exif.empty()) {
        AppendChunk(out, "eXIf", Bytes(exif));
    }
    out.append(png.mid(kAfterHeader));
    return out;
}

}  // namespace vellumo::imaging
