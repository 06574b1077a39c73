#pragma once
// TIFF files through libtiff: one frame per directory of the main chain (a page
// dimension), each page with its own size and resolution. A chain that loops back is
// read up to the loop and no further.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenTiff(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
