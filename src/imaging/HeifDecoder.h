#pragma once
// HEIC and AVIF files through libheif. Every top-level image is a frame in the page
// dimension, the primary image first; depth maps, alpha planes and thumbnails are not
// frames. The container's rotation, mirroring and crop are applied while decoding, so
// the EXIF orientation is not reported (it would turn the photo a second time).

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

// Reports itself as "AVIF" when the file's major brand says so, else as "HEIF".
std::unique_ptr<Decoder> OpenHeif(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
