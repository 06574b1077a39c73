#pragma once
// What a page records besides its pixels and resolution: its name and place in the
// album, the program and time that wrote it, the photo's camera data and the ICC profile
// its pixels are in. The writers put each item where their format keeps it; an empty
// item is left out.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/ColourProfiles.h"

namespace vellumo::imaging {

// TIFF field types the camera data uses.
enum class ExifType : uint16_t {
    Byte = 1,
    Ascii = 2,
    Short = 3,
    Long = 4,
    Rational = 5,
    Undefined = 7,
    SRational = 10,
};

// One EXIF or GPS field: its tag, type and values. Rationals take two values each
// (numerator, denominator); ASCII and undefined fields keep their bytes in `text`.
struct ExifField {
    uint16_t tag = 0;
    ExifType type = ExifType::Ascii;
    std::string text;
    std::vector<int64_t> values;
    friend bool operator==(const ExifField&, const ExifField&) = default;
};

// The photo's own data, as read from its file.
struct CameraData {
    std::vector<ExifField> image;  // fields of the page's own directory: Make, Model, ...
    std::vector<ExifField> exif;   // the EXIF directory: date taken, exposure, lens, ...
    std::vector<ExifField> gps;    // the GPS directory; empty unless the run keeps it
    int orientation = 0;           // 1 to 8 from the EXIF data; 0 when absent or invalid
    bool empty() const { return image.empty() && exif.empty() && gps.empty(); }
};

struct PageMetadata {
    std::string pageName;  // the photo's file name (with its frame for a multi-frame file)
    int pageNumber = -1;   // 0-based place in the album; -1 when not known
    int pageTotal = 0;     // pages of the album; 0 when not known
    std::string software;  // the program and version that wrote the page
    std::string dateTime;  // when the page was written, "YYYY:MM:DD HH:MM:SS"
    CameraData camera;
    IccProfile icc;  // the profile of the page's pixels
};

// The field with `tag` in `fields`, or null.
const ExifField* FindField(const std::vector<ExifField>& fields, uint16_t tag);

}  // namespace vellumo::imaging
