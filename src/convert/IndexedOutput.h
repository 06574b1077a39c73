#pragma once
// BMP output at 1, 4 or 8 bits per pixel: the 24-bit page goes through a temporary BMP
// file of its own (unique for every page and run) into the indexed bitmap engine, which
// builds an adaptive palette, reduces the depth with error diffusion and writes the file.

#include <filesystem>
#include <string>

#include "convert/OutputEncoders.h"
#include "imaging/PageBitmap.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

// Writes `page` to `target` with `bits` bits per pixel and a palette of `paletteSize`
// colours; the temporary BMP goes to `outputFolder` when the system's temporary folder
// takes no file. `outputName` is the caption of "Failed to save the file!", shown
// whenever the file is not written. True when the file was written.
bool WriteIndexedBmp(ui::Toolkit& toolkit, OutputEncoders& writers, const imaging::PageBitmap& page,
                     const std::filesystem::path& target, const std::filesystem::path& outputFolder,
                     const std::string& outputName, int bits, int paletteSize);

}  // namespace vellumo::convert
