#pragma once
// JPEG XL files (bare codestream or container, JPEG-recompressed ones too) through
// libjxl. An animation counts its shown frames in the time dimension, as GIF does.
// The codestream's orientation is applied while decoding, so none is reported.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenJxl(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
