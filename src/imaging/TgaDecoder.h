#pragma once
// TGA files: colour-mapped, true-colour and grey, plain or run-length coded, 8 to 32
// bits per pixel, any of the four origins. Qt's reader takes only plain true-colour, so
// this one is ours. Every run and every palette index is checked against the header.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenTga(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
