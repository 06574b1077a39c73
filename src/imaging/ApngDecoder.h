#pragma once
// Animated PNG files: every frame in the time dimension, composited the way a viewer
// shows it (each frame's region blended over or replacing the canvas, then disposed of
// as the frame asks), all at the canvas size.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/ApngFrames.h"
#include "imaging/Decoder.h"

namespace vellumo::imaging {

// `bytes` is the whole file, `index` its frames (IndexApng), `dpiX` from its header.
std::unique_ptr<Decoder> OpenApng(std::vector<uint8_t> bytes, ApngIndex index, double dpiX);

}  // namespace vellumo::imaging
