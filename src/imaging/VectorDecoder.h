#pragma once
// Vector drawings: SVG (through Qt SVG), EMF (turned into SVG by libemf2svg) and WMF
// (turned into SVG by libwmf). They have no pixels of their own: each is drawn straight
// at the size of the page it lands on. The frame size is the drawing's own size at
// 96 dpi (SVG width/height or viewBox, the metafile header's frame or bounds).

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

std::unique_ptr<Decoder> OpenSvg(const std::filesystem::path& path, std::string& error);
std::unique_ptr<Decoder> OpenEmf(const std::filesystem::path& path, std::string& error);
std::unique_ptr<Decoder> OpenWmf(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
