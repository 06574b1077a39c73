#pragma once
// The per-photo output options record: how a page is sized, encoded, rotated and
// flipped. A plain value; field names are also the stored settings keys, so their
// spelling is kept exactly.

#include <array>
#include <cstdint>
#include <string_view>

namespace vellumo::options {

// Size rules (nOuputSizeType).
inline constexpr int32_t kSizeOriginal = 0;
inline constexpr int32_t kSizeCustom = 1;
inline constexpr int32_t kSizeStretch = 2;

// Keep-aspect rules (nKeepAspectRatio).
inline constexpr int32_t kKeepNone = 0;
inline constexpr int32_t kKeepWithWidth = 1;
inline constexpr int32_t kKeepWithHeight = 2;
// The largest size inside nOutputWidth x nOutputHeight with the photo's aspect ratio.
inline constexpr int32_t kKeepFit = 3;

// Output formats (nOuptputFormat): indexes of the format list.
inline constexpr int32_t kFormatBmp = 0;
inline constexpr int32_t kFormatJpg = 1;
inline constexpr int32_t kFormatPng = 2;
inline constexpr int32_t kFormatTif = 3;
// Past the window's list: only the command line writes PDF.
inline constexpr int32_t kFormatPdf = 4;

// Flips (nFlipType).
inline constexpr int32_t kFlipNone = 0;
inline constexpr int32_t kFlipHorizontal = 1;
inline constexpr int32_t kFlipVertical = 2;

struct OutputPhotoFormat {
    int32_t nOuputSizeType = kSizeOriginal;
    int32_t nOutputWidth = 1024;
    int32_t nOutputHeight = 768;
    int32_t nOuptputFormat = kFormatTif;
    int32_t iComboPixelFormat = 4;
    int32_t nCurrentJpegQuality = 80;
    int32_t nKeepAspectRatio = kKeepWithWidth;
    double dStretchHorizontal = 1.0;
    double dStretchVertical = 1.0;
    int32_t nRotateAngel = 0;
    int32_t nFlipType = kFlipNone;
    // A photo that the size rule would not shrink on either side keeps its own size.
    bool bShrinkOnly = false;

    friend bool operator==(const OutputPhotoFormat&, const OutputPhotoFormat&) = default;
};

// The format list, in list order ("BMP", "JPG", "PNG", "TIF").
inline constexpr std::array<std::string_view, 4> kFormatListTexts = {"BMP", "JPG", "PNG", "TIF"};

// The bounds the options dialog accepts for the stretch factors and the quality.
inline constexpr double kStretchMin = 0.000001;
inline constexpr double kStretchMax = 1000000.0;
inline constexpr int32_t kQualityMin = 1;
inline constexpr int32_t kQualityMax = 100;

}  // namespace vellumo::options
