#pragma once
// Formats served by Qt's image readers (WebP, PNM, ICNS). An animated WebP
// counts its frames in the time dimension.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

// `qtFormat` is the Qt reader's format key ("webp", "pgm", ...), chosen by sniffing;
// `name` is the name the decoder reports.
std::unique_ptr<Decoder> OpenWithQt(const std::filesystem::path& path, const char* qtFormat,
                                    const char* name, std::string& error);

}  // namespace vellumo::imaging
