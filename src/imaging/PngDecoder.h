#pragma once
// PNG files through libpng: every colour type and bit depth, transparency (alpha
// channel or tRNS) as premultiplied alpha, 16-bit samples rounded to 8. The stored
// sample values are kept as they are (no gamma conversion).

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenPng(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
