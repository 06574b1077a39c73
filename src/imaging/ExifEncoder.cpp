#include "imaging/ExifEncoder.h"

#include <algorithm>

namespace vellumo::imaging {
namespace {

constexpr uint16_t kOrientation = 0x0112;
constexpr uint16_t kSoftware = 0x0131;
constexpr uint16_t kDateTime = 0x0132;
constexpr uint16_t kExifPointer = 0x8769;
constexpr uint16_t kGpsPointer = 0x8825;

size_t UnitSize(ExifType type) {
    switch (type) {
        case ExifType::Short:
            return 2;
        case ExifType::Long:
            return 4;
        case ExifType::Rational:
        case ExifType::SRational:
            return 8;
        default:
            return 1;
    }
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A field's values as they are stored, and its count in units of its type.
struct Encoded {
    uint16_t tag;
    ExifType type;
    uint32_t count;
    std::vector<uint8_t> bytes;
};

Encoded Encode(const ExifField& field) {
    Encoded e{field.tag, field.type, 0, {}};
    if (field.type == ExifType::Ascii || field.type == ExifType::Undefined) {
        e.bytes.assign(field.text.begin(), field.text.end());
        if (field.type == ExifType::Ascii) {
            e.bytes.push_back(0);
        }
        e.count = static_cast<uint32_t>(e.bytes.size());
        return e;
    }
    for (const int64_t v : field.values) {
        const auto u = static_cast<uint32_t>(v);
        switch (UnitSize(field.type)) {
            case 1:
                e.bytes.push_back(static_cast<uint8_t>(u));
                break;
            case 2:
                Put16(e.bytes, u);
                break;
            default:
                Put32(e.bytes, u);  // a rational is two of these
                break;
        }
    }
    e.count = static_cast<uint32_t>(e.bytes.size() / UnitSize(field.type));
    return e;
}

// Bytes one directory takes with its values, even-sized.
size_t DirectorySize(const std::vector<Encoded>& entries) {
    size_t size = 2 + 12 * entries.size() + 4;
    for (const Encoded& e : entries) {
        if (e.bytes.size() > 4) {
            size += (e.bytes.size() + 1) & ~size_t{1};
        }
    }
    return size;
}

// Appends a directory that starts at `out.size()` (the TIFF header at offset 0).
void AppendDirectory(std::vector<uint8_t>& out, std::vector<Encoded> entries) {
    std::sort(entries.begin(), entries.end(),
              [](const Encoded& a, const Encoded& b) { return a.tag < b.tag; });
    size_t data = out.size() + 2 + 12 * entries.size() + 4;
    std::vector<uint8_t> values;
    Put16(out, static_cast<uint32_t>(entries.size()));
    for (const Encoded& e : entries) {
        Put16(out, e.tag);
        Put16(out, static_cast<uint32_t>(e.type));
        Put32(out, e.count);
        if (e.bytes.size() <= 4) {
            std::vector<uint8_t> inline_(e.bytes);
            inline_.resize(4, 0);
            out.insert(out.end(), inline_.begin(), inline_.end());
        } else {
            Put32(out, static_cast<uint32_t>(data + values.size()));
            values.insert(values.end(), e.bytes.begin(), e.bytes.end());
            if (values.size() % 2 != 0) {
                values.push_back(0);
            }
        }
    }
    Put32(out, 0);  // no next directory
    out.insert(out.end(), values.begin(), values.end());
}

std::vector<Encoded> EncodeAll(const std::vector<ExifField>& fields) {
    std::vector<Encoded> encoded;
    for (const ExifField& f : fields) {
        encoded.push_back(Encode(f));
    }
    return encoded;
}

Encoded Pointer(uint16_t tag, size_t offset) {
    Encoded e{tag, ExifType::Long, 1, {}};
    Put32(e.bytes, static_cast<uint32_t>(offset));
    return e;
}

}  // namespace

std::vector<uint8_t> EncodeExif(const PageMetadata& metadata) {
    const CameraData& camera = metadata.camera;
    std::vector<Encoded> image = EncodeAll(camera.image);
    if (!metadata.software.empty()) {
        image.push_back(Encode({kSoftware, ExifType::Ascii, metadata.software, {}}));
    }
    if (!metadata.dateTime.empty()) {
        image.push_back(Encode({kDateTime, ExifType::Ascii, metadata.dateTime, {}}));
    }
    const std::vector<Encoded> exif = EncodeAll(camera.exif);
    const std::vector<Encoded> gps = EncodeAll(camera.gps);
    if (image.empty() && exif.empty() && gps.empty()) {
        return {};
    }
    image.push_back(Encode({kOrientation, ExifType::Short, {}, {1}}));
    // The pointers' own entries count in the first directory's size.
    const size_t pointers = (exif.empty() ? 0 : 1) + (gps.empty() ? 0 : 1);
    const size_t imageSize = DirectorySize(image) + 12 * pointers;
    const size_t exifAt = 8 + imageSize;
    const size_t gpsAt = exifAt + (exif.empty() ? 0 : DirectorySize(exif));
    if (!exif.empty()) {
        image.push_back(Pointer(kExifPointer, exifAt));
    }
    if (!gps.empty()) {
        image.push_back(Pointer(kGpsPointer, gpsAt));
    }

    std::vector<uint8_t> out = {'I', 'I', 42, 0};
    Put32(out, 8);
    AppendDirectory(out, std::move(image));
    if (!exif.empty()) {
        AppendDirectory(out, exif);
    }
    if (!gps.empty()) {
        AppendDirectory(out, gps);
    }
    return out;
}

}  // namespace vellumo::imaging
