#pragma once
// JPEG files through libjpeg-turbo: the header alone at open, and decoding at 1/8,
// 1/4 or 1/2 scale when the drawing is small enough, so a 24-megapixel photo drawn
// onto a 1024-pixel page is decoded at a fraction of the cost.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::imaging {

// The size and colour components of the JPEG file at `path` when a PDF can embed its
// bytes as they are: one 8-bit picture in grey or YCbCr colour that libjpeg can read.
struct JpegEmbedding {
    int32_t width = 0;
    int32_t height = 0;
    int components = 0;
};
std::optional<JpegEmbedding> ProbeJpegForEmbedding(const std::filesystem::path& path);

std::unique_ptr<Decoder> OpenJpeg(const std::filesystem::path& path, std::string& error);

}  // namespace vellumo::imaging
