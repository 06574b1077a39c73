#pragma once
// Decoding one frame of an image file for the preview pane: the file is opened, the
// frame selected and decoded near the pane's size (a decoder may decode large photos
// at a reduced scale), then stretched to exactly that size. Safe on any thread.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <string>

#include "imaging/FrameDimension.h"

namespace vellumo::app::dialogs {

// The frame `frameIndex` of `dimension` stretched to `target` (aspect ratio not kept);
// a null image when the file does not load, the frame cannot be selected or decoded,
// or `target` is empty.
QImage DecodePreviewFrame(const std::string& path, imaging::FrameDimension dimension,
                          int32_t frameIndex, QSize target);

}  // namespace vellumo::app::dialogs
