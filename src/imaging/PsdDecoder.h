#pragma once
// Photoshop files (PSD and the large-document PSB): the merged picture Photoshop stores
// after the layers, in grey, duotone (drawn as grey), indexed, RGB or CMYK at 1, 8, 16
// or 32 bits, raw or PackBits-coded. Layers are not pages; Lab and multichannel files
// are refused. The orientation from the file's EXIF resource is reported.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenPsd(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
