#pragma once
// Reads a photo's camera data (EXIF and GPS) with exiv2, for any format it knows (JPEG,
// TIFF, PNG, WebP, HEIF, camera raw, ...). Only the fields an album page carries are
// kept; a file without them, or one exiv2 cannot read, gives empty data.

#include <filesystem>
#include <string>

#include "imaging/PageMetadata.h"

namespace vellumo::imaging {

// The GPS fields are read only when `withGps`: where a photo was taken stays out of an
// album unless asked for.
CameraData ReadCameraData(const std::filesystem::path& path, bool withGps);

// One line of the main camera data for people: "Canon EOS 5D, 2019:05:01 10:00:00,
// 1/250 s, f/8, ISO 100, 50 mm, EF50mm f/1.8"; empty when there is none.
std::string CameraSummary(const CameraData& camera);

}  // namespace vellumo::imaging
