#pragma once
// JPEG 2000 files (JP2 container or bare codestream) through OpenJPEG. A page much
// smaller than the picture is decoded at a lower resolution level, as reduced-scale
// JPEG decoding does. Components of any precision become 8-bit grey, RGB or RGBA;
// YCC and CMYK are turned into RGB.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenJp2(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
