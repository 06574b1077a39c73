#include "imaging/PhotoMetadata.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>

#include "base/Utf8Path.h"

namespace vellumo::imaging {
namespace {

enum class Directory { Image, Exif, Gps };

struct Kept {
    Directory directory;
    uint16_t tag;
    ExifType type;
};

// The fields a page carries, with the type the page writes them in.
constexpr std::array kKeptFields = {
    Kept{Directory::Image, 0x010F, ExifType::Ascii},     // Make
    Kept{Directory::Image, 0x0110, ExifType::Ascii},     // Model
    Kept{Directory::Image, 0x013B, ExifType::Ascii},     // Artist
    Kept{Directory::Image, 0x8298, ExifType::Ascii},     // Copyright
    Kept{Directory::Exif, 0x829A, ExifType::Rational},   // ExposureTime
    Kept{Directory::Exif, 0x829D, ExifType::Rational},   // FNumber
    Kept{Directory::Exif, 0x8822, ExifType::Short},      // ExposureProgram
    Kept{Directory::Exif, 0x8827, ExifType::Short},      // ISOSpeedRatings
    Kept{Directory::Exif, 0x9003, ExifType::Ascii},      // DateTimeOriginal
    Kept{Directory::Exif, 0x9004, ExifType::Ascii},      // DateTimeDigitized
    Kept{Directory::Exif, 0x9011, ExifType::Ascii},      // OffsetTimeOriginal
    Kept{Directory::Exif, 0x9201, ExifType::SRational},  // ShutterSpeedValue
    Kept{Directory::Exif, 0x9202, ExifType::Rational},   // ApertureValue
    Kept{Directory::Exif, 0x9204, ExifType::SRational},  // ExposureBiasValue
    Kept{Directory::Exif, 0x9205, ExifType::Rational},   // MaxApertureValue
    Kept{Directory::Exif, 0x9207, ExifType::Short},      // MeteringMode
    Kept{Directory::Exif, 0x9209, ExifType::Short},      // Flash
    Kept{Directory::Exif, 0x920A, ExifType::Rational},   // FocalLength
    Kept{Directory::Exif, 0x9291, ExifType::Ascii},      // SubSecTimeOriginal
    Kept{Directory::Exif, 0xA402, ExifType::Short},      // ExposureMode
    Kept{Directory::Exif, 0xA403, ExifType::Short},      // WhiteBalance
    Kept{Directory::Exif, 0xA405, ExifType::Short},      // FocalLengthIn35mmFilm
    Kept{Directory::Exif, 0xA432, ExifType::Rational},   // LensSpecification
    Kept{Directory::Exif, 0xA433, ExifType::Ascii},      // LensMake
    Kept{Directory::Exif, 0xA434, ExifType::Ascii},      // LensModel
    Kept{Directory::Gps, 0x0000, ExifType::Byte},        // GPSVersionID
    Kept{Directory::Gps, 0x0001, ExifType::Ascii},       // GPSLatitudeRef
    Kept{Directory::Gps, 0x0002, ExifType::Rational},    // GPSLatitude
    Kept{Directory::Gps, 0x0003, ExifType::Ascii},       // GPSLongitudeRef
    Kept{Directory::Gps, 0x0004, ExifType::Rational},    // GPSLongitude
    Kept{Directory::Gps, 0x0005, ExifType::Byte},        // GPSAltitudeRef
    Kept{Directory::Gps, 0x0006, ExifType::Rational},    // GPSAltitude
    Kept{Directory::Gps, 0x0007, ExifType::Rational},    // GPSTimeStamp
    Kept{Directory::Gps, 0x001D, ExifType::Ascii},       // GPSDateStamp
};

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kExifVersionTag = 0x9000;
// Longer values are not camera data but something else hiding in a field.
constexpr long kMaxValues = 64;
constexpr size_t kMaxText = 1024;

std::optional<Directory> DirectoryOf(const std::string& group) {
    if (group == "Image") {
        return Directory::Image;
    }
    if (group == "Photo") {
        return Directory::Exif;
    }
    if (group == "GPSInfo") {
        return Directory::Gps;
    }
    return std::nullopt;
}

const Kept* KeptField(Directory directory, uint16_t tag) {
    const auto found = std::find_if(kKeptFields.begin(), kKeptFields.end(), [&](const Kept& k) {
        return k.directory == directory && k.tag == tag;
    });
    return found == kKeptFields.end() ? nullptr : &*found;
}

std::optional<ExifField> FieldOf(const Exiv2::Exifdatum& datum, const Kept& kept) {
    ExifField field;
    field.tag = kept.tag;
    field.type = kept.type;
    const long count = datum.count();
    if (count <= 0 || count > kMaxValues) {
        return std::nullopt;
    }
    switch (kept.type) {
        case ExifType::Ascii:
        case ExifType::Undefined: {
            field.text = datum.toString();
            field.text.erase(std::find(field.text.begin(), field.text.end(), '\0'),
                             field.text.end());
            while (!field.text.empty() && field.text.back() == ' ') {
                field.text.pop_back();
            }
            if (field.text.empty() || field.text.size() > kMaxText) {
                return std::nullopt;
            }
            return field;
        }
        case ExifType::Rational:
        case ExifType::SRational: {
            // Unsigned rationals as they are: exiv2's signed view makes a denominator of
            // 2^31 or more (libtiff writes 0.004 as 8589935/2147483648) negative.
            const auto* unsignedValue = dynamic_cast<const Exiv2::URationalValue*>(&datum.value());
            for (long i = 0; i < count; ++i) {
                int64_t numerator = 0, denominator = 0;
                if (unsignedValue != nullptr &&
                    static_cast<size_t>(i) < unsignedValue->value_.size()) {
                    numerator = unsignedValue->value_[static_cast<size_t>(i)].first;
                    denominator = unsignedValue->value_[static_cast<size_t>(i)].second;
                } else {
                    const Exiv2::Rational r = datum.toRational(i);
                    numerator = r.first;
                    denominator = r.second;
                }
                if (denominator == 0 || (kept.type == ExifType::Rational && numerator < 0)) {
                    return std::nullopt;  // no value, or not one this type can hold
                }
                field.values.push_back(numerator);
                field.values.push_back(denominator);
            }
            return field;
        }
        default:
            for (long i = 0; i < count; ++i) {
                const long v = datum.toLong(i);
                if (v < 0 || v > (kept.type == ExifType::Byte ? 0xFF : 0xFFFF)) {
                    return std::nullopt;
                }
                field.values.push_back(v);
            }
            return field;
    }
}

void SetUpExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);  // failures are ours to report
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
    });
}

std::string Text(const CameraData& camera, Directory directory, uint16_t tag) {
    const auto& fields = directory == Directory::Image ? camera.image : camera.exif;
    const ExifField* field = FindField(fields, tag);
    return field != nullptr ? field->text : std::string();
}

std::optional<double> Number(const CameraData& camera, uint16_t tag) {
    const ExifField* field = FindField(camera.exif, tag);
    if (field == nullptr || field->values.empty()) {
        return std::nullopt;
    }
    if (field->type == ExifType::Rational || field->type == ExifType::SRational) {
        return static_cast<double>(field->values[0]) / static_cast<double>(field->values[1]);
    }
    return static_cast<double>(field->values[0]);
}

std::string Trimmed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string s(text);
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) {
        s.resize(s.size() - 2);
    }
    return s;
}

}  // namespace

const ExifField* FindField(const std::vector<ExifField>& fields, uint16_t tag) {
    const auto found = std::find_if(fields.begin(), fields.end(),
                                    [tag](const ExifField& f) { return f.tag == tag; });
    return found == fields.end() ? nullptr : &*found;
}

CameraData ReadCameraData(const std::filesystem::path& path, bool withGps) {
    SetUpExiv2();
    CameraData camera;
    try {
        const Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(base::Utf8FromPath(path));
        if (image.get() == nullptr) {
            return {};
        }
        image->readMetadata();
        for (const Exiv2::Exifdatum& datum : image->exifData()) {
            const std::optional<Directory> directory = DirectoryOf(datum.groupName());
            if (!directory) {
                continue;
            }
            if (*directory == Directory::Image && datum.tag() == kOrientationTag) {
                const long v = datum.count() > 0 ? datum.toLong(0) : 0;
                camera.orientation = v >= 1 && v <= 8 ? static_cast<int>(v) : 0;
                continue;
            }
            const Kept* kept = KeptField(*directory, datum.tag());
            if (kept == nullptr || (*directory == Directory::Gps && !withGps)) {
                continue;
            }
            std::optional<ExifField> field = FieldOf(datum, *kept);
            auto& into = *directory == Directory::Image  ? camera.image
                         : *directory == Directory::Exif ? camera.exif
                                                         : camera.gps;
            if (field && FindField(into, field->tag) == nullptr) {
                into.push_back(std::move(*field));
            }
        }
    } catch (const std::exception&) {
        return {};  // exiv2 cannot read the file: the page simply has no camera data
    }
    if (!camera.exif.empty()) {
        camera.exif.push_back({kExifVersionTag, ExifType::Undefined, "0232", {}});
    }
    const auto byTag = [](const ExifField& a, const ExifField& b) { return a.tag < b.tag; };
    std::sort(camera.image.begin(), camera.image.end(), byTag);
    std::sort(camera.exif.begin(), camera.exif.end(), byTag);
    std::sort(camera.gps.begin(), camera.gps.end(), byTag);
    return camera;
}

std::string CameraSummary(const CameraData& camera) {
    std::vector<std::string> parts;
    std::string device = Text(camera, Directory::Image, 0x010F);
    const std::string model = Text(camera, Directory::Image, 0x0110);
    // Many makers repeat their name in the model.
    if (!model.empty()) {
        device = model.rfind(device, 0) == 0 || device.empty() ? model : device + " " + model;
    }
    if (!device.empty()) {
        parts.push_back(device);
    }
    if (std::string taken = Text(camera, Directory::Exif, 0x9003); !taken.empty()) {
        parts.push_back(std::move(taken));
    }
    if (const auto t = Number(camera, 0x829A); t && *t > 0) {
        parts.push_back(*t < 1 ? "1/" + Trimmed(std::round(1 / *t)) + " s" : Trimmed(*t) + " s");
    }
    if (const auto f = Number(camera, 0x829D); f && *f > 0) {
        parts.push_back("f/" + Trimmed(*f));
    }
    if (const auto iso = Number(camera, 0x8827)) {
        parts.push_back("ISO " + Trimmed(*iso));
    }
    if (const auto focal = Number(camera, 0x920A); focal && *focal > 0) {
        parts.push_back(Trimmed(*focal) + " mm");
    }
    if (std::string lens = Text(camera, Directory::Exif, 0xA434); !lens.empty()) {
        parts.push_back(std::move(lens));
    }
    std::string line;
    for (const std::string& part : parts) {
        line += (line.empty() ? "" : ", ") + part;
    }
    return line;
}

}  // namespace vellumo::imaging
