#pragma once
// PNG files through libpng: every colour type and bit depth, transparency (alpha
// channel or tRNS) as premultiplied alpha, 16-bit samples rounded to 8. The stored
// sample values are kept as they are (no gamma conversion).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenPng(const std::filesystem::path& path, std::string& error);

// The same for a PNG held in memory (an icon entry): its size from the header, and
// its pixels (Format_RGB888 or Format_RGBA8888_Premultiplied; null with `error` set
// on failure).
std::optional<QSize> PngSize(std::span<const uint8_t> bytes);
QImage DecodePngBytes(std::span<const uint8_t> bytes, std::string& error);

}  // namespace vellumo::imaging
