#pragma once
// Icon and cursor files. An icon holds one picture at several sizes; we offer its
// largest image (the deepest of equal ones) as the file's single frame. PNG entries
// are decoded with our PNG decoder, bitmap entries with Qt's icon reader.

#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

// `qtFormat` is "ico" or "cur", `name` the name the decoder reports.
std::unique_ptr<Decoder> OpenIco(const std::filesystem::path& path, const char* qtFormat,
                                 const char* name, std::string& error);

}  // namespace vellumo::imaging
