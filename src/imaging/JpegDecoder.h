#pragma once
// JPEG files through libjpeg-turbo: the header alone at open, and decoding at 1/8,
// 1/4 or 1/2 scale when the drawing is small enough, so a 24-megapixel photo drawn
// onto a 1024-pixel page is decoded at a fraction of the cost.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenJpeg(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
