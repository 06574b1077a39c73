#pragma once
// BMP files and bare DIBs (an info header without the file header), decoded by our own
// BMP codec (dib/): every header size from the 12-byte core to V5, bit fields read
// exactly, run-length data, top-down rows. One frame.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenBmp(const std::filesystem::path& path, std::string& error);

// Whether `head` starts like a bare DIB: a known info header size, one plane and a
// known bit count.
bool LooksLikeBareDib(std::span<const uint8_t> head);

}  // namespace vellumo::imaging
