#pragma once
// GIF files, decoded by our own code so that every frame of an animation comes out
// composited the way a viewer shows it: each frame is drawn over the previous one,
// transparent pixels let it show through, and the disposal of the frame before
// (keep, clear its area to transparent, restore what was under it) is applied first.
// Frames count in the time dimension and all have the logical screen's size.

#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenGif(const std::filesystem::path& path, std::string& error);

// The same over bytes already in memory (used by the tests and the fuzz target).
std::unique_ptr<Decoder> OpenGifBytes(std::vector<uint8_t> bytes, std::string& error);

}  // namespace vellumo::imaging
