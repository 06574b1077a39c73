#include "imaging/TiffPageMetadata.h"

#include <algorithm>
#include <vector>

namespace vellumo::imaging {
namespace {

// Sets one field as libtiff wants it for that tag: libtiff knows each tag's storage type
// and whether a count comes before the values. Tags libtiff does not know are skipped.
bool SetField(TIFF* tif, const ExifField& field) {
    const TIFFField* info = TIFFFindField(tif, field.tag, TIFF_ANY);
    if (info == nullptr) {
        return true;
    }
    const uint32_t tag = field.tag;
    const bool passCount = TIFFFieldPassCount(info) != 0;
    const int size = TIFFFieldSetGetSize(info);
    if (field.type == ExifType::Ascii) {
        return TIFFFieldDataType(info) != TIFF_ASCII ||
               TIFFSetField(tif, tag, field.text.c_str()) == 1;
    }
    if (field.type == ExifType::Undefined) {
        std::vector<uint8_t> bytes(field.text.begin(), field.text.end());
        if (TIFFFieldReadCount(info) > 0 &&
            static_cast<size_t>(TIFFFieldReadCount(info)) != bytes.size()) {
            return true;  // a count libtiff would not accept
        }
        return passCount ? TIFFSetField(tif, tag, static_cast<int>(bytes.size()), bytes.data()) == 1
                         : TIFFSetField(tif, tag, bytes.data()) == 1;
    }
    const bool rational = field.type == ExifType::Rational || field.type == ExifType::SRational;
    std::vector<double> values;
    for (size_t i = 0; i < field.values.size(); i += rational ? 2 : 1) {
        values.push_back(rational ? static_cast<double>(field.values[i]) /
                                        static_cast<double>(field.values[i + 1])
                                  : static_cast<double>(field.values[i]));
    }
    if (values.empty()) {
        return true;
    }
    const int count = static_cast<int>(values.size());
    const int wanted = TIFFFieldReadCount(info);
    if (!passCount && wanted == 1) {
        // One value goes by value; varargs make floats doubles and shorts ints.
        return rational ? TIFFSetField(tif, tag, values[0]) == 1
                        : TIFFSetField(tif, tag, static_cast<uint32_t>(values[0])) == 1;
    }
    if (!passCount && wanted != count) {
        return true;  // a fixed count the photo's field does not have
    }
    // Several values go as an array of libtiff's storage type.
    std::vector<uint8_t> storage(static_cast<size_t>(count) * static_cast<size_t>(size));
    for (int i = 0; i < count; ++i) {
        void* at = storage.data() + static_cast<size_t>(i) * static_cast<size_t>(size);
        const double v = values[static_cast<size_t>(i)];
        if (rational && size == 4) {
            *static_cast<float*>(at) = static_cast<float>(v);
        } else if (rational && size == 8) {
            *static_cast<double*>(at) = v;
        } else if (size == 1) {
            *static_cast<uint8_t*>(at) = static_cast<uint8_t>(v);
        } else if (size == 2) {
            *static_cast<uint16_t*>(at) = static_cast<uint16_t>(v);
        } else if (size == 4) {
            *static_cast<uint32_t*>(at) = static_cast<uint32_t>(v);
        } else {
            return true;  // a storage type the camera fields never have
        }
    }
    return passCount ? TIFFSetField(tif, tag, count, storage.data()) == 1
                     : TIFFSetField(tif, tag, storage.data()) == 1;
}

bool SetFields(TIFF* tif, const std::vector<ExifField>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [tif](const ExifField& f) { return SetField(tif, f); });
}

bool SetText(TIFF* tif, uint32_t tag, const std::string& text) {
    return text.empty() || TIFFSetField(tif, tag, text.c_str()) == 1;
}

// Writes one custom directory of `fields` and gives its offset; none (0) when libtiff
// took none of them, since it cannot write a directory without entries.
bool WriteCustomDirectory(TIFF* tif, int (*create)(TIFF*), const std::vector<ExifField>& fields,
                          uint64_t& offset) {
    // libtiff 4.5 does not free the values of a custom directory when another is created
    // over it.
    TIFFFreeDirectory(tif);
    if (create(tif) != 0 || !SetFields(tif, fields)) {
        return false;
    }
    return TIFFGetTagListCount(tif) == 0 || TIFFWriteCustomDirectory(tif, &offset) == 1;
}

}  // namespace

bool WriteCameraDirectories(TIFF* tif, const CameraData& camera, CameraDirectories& written) {
    written = {};
    if (camera.exif.empty() && camera.gps.empty()) {
        return true;
    }
    if ((!camera.exif.empty() &&
         !WriteCustomDirectory(tif, TIFFCreateEXIFDirectory, camera.exif, written.exif)) ||
        (!camera.gps.empty() &&
         !WriteCustomDirectory(tif, TIFFCreateGPSDirectory, camera.gps, written.gps))) {
        return false;
    }
    // Back to an empty page directory with the ordinary tags.
    TIFFFreeDirectory(tif);
    TIFFCreateDirectory(tif);
    return true;
}

bool SetPageMetadataTags(TIFF* tif, const PageMetadata& metadata,
                         const CameraDirectories& directories, int pageIndex) {
    const int number = metadata.pageNumber >= 0 ? metadata.pageNumber : pageIndex;
    // A total of 0 says it is not known.
    bool ok = TIFFSetField(tif, TIFFTAG_PAGENUMBER, std::clamp(number, 0, 0xFFFF),
                           std::clamp(metadata.pageTotal, 0, 0xFFFF)) == 1 &&
              SetText(tif, TIFFTAG_PAGENAME, metadata.pageName) &&
              SetText(tif, TIFFTAG_SOFTWARE, metadata.software) &&
              SetText(tif, TIFFTAG_DATETIME, metadata.dateTime) &&
              SetFields(tif, metadata.camera.image);
    if (ok && !metadata.icc.empty()) {
        ok = TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(metadata.icc.size()),
                          metadata.icc.data()) == 1;
    }
    if (ok && directories.exif != 0) {
        ok = TIFFSetField(tif, TIFFTAG_EXIFIFD, directories.exif) == 1;
    }
    if (ok && directories.gps != 0) {
        ok = TIFFSetField(tif, TIFFTAG_GPSIFD, directories.gps) == 1;
    }
    return ok;
}

}  // namespace vellumo::imaging
