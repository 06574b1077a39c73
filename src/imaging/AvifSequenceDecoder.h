#pragma once
// Animated AVIF files (major brand "avis") through libavif: every frame of the sequence
// is a frame in the time dimension, as in an animated GIF. The still AVIF and HEIC files
// go through libheif, which reads only the still item of a sequence.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenAvifSequence(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
