#pragma once
// Camera raw files (DNG, CR2, CR3, NEF, ARW, ORF, RW2, RAF, PEF, SRW ...) through
// LibRaw: camera white balance, sRGB, 8 bits per channel. A page at most half the
// sensor's size is developed at half size, which skips demosaicing. Pixels stay as the
// sensor holds them; the camera's orientation is reported as an EXIF orientation, as
// a JPEG from the same camera would.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenRaw(const std::filesystem::path& path, std::string& error);

// For files with a TIFF signature: true when the file is a camera's raw file (a DNG, or
// a TIFF-shaped raw that LibRaw recognises) rather than an ordinary TIFF.
bool IsTiffShapedRaw(const std::filesystem::path& path);

}  // namespace vellumo::imaging
