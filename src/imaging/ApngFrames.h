#pragma once
// The frames of an animated PNG: where each frame's image data lies in the file, its
// rectangle on the canvas and how it is disposed of and blended. A frame becomes an
// ordinary PNG in memory (the header with the frame's size, the colour chunks, the
// frame's data as image data) that the PNG decoder reads like any other.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vellumo::imaging {

enum class ApngDispose : uint8_t { None = 0, Background = 1, Previous = 2 };
enum class ApngBlend : uint8_t { Source = 0, Over = 1 };

struct ByteRange {
    size_t offset = 0;
    size_t length = 0;
};

struct ApngFrame {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    ApngDispose dispose = ApngDispose::None;
    ApngBlend blend = ApngBlend::Source;
    std::vector<ByteRange> data;  // compressed image data, in order
};

struct ApngIndex {
    uint32_t width = 0, height = 0;       // the canvas
    ByteRange header;                     // the IHDR chunk's 13 data bytes
    std::vector<ByteRange> colourChunks;  // whole chunks every frame needs (PLTE, tRNS, ...)
    std::vector<ApngFrame> frames;
};

// Whether the chunks before the image data of the PNG at the start of `head` include
// an animation control chunk.
bool HasAnimationControl(std::span<const uint8_t> head);

// The frames of an animated PNG, in order, up to the first that is damaged or lies
// outside the canvas; nullopt when the file is not an animated PNG or has no usable
// frame.
std::optional<ApngIndex> IndexApng(std::span<const uint8_t> file);

// Frame `frame` of `file` as a standalone PNG.
std::vector<uint8_t> FramePng(std::span<const uint8_t> file, const ApngIndex& index,
                              const ApngFrame& frame);

}  // namespace vellumo::imaging
