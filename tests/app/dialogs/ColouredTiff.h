#pragma once
// Test images with known pixels: multi-page TIFF files of solid-coloured pages.

#include <QRgb>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::test {

struct ColouredPage {
    uint32_t width;
    uint32_t height;
    QRgb colour;
};

// Writes an RGB TIFF with one directory per page; false if it could not be written.
bool WriteColouredTiff(const std::string& path, const std::vector<ColouredPage>& pages);

// Colours equal within what scaling and rounding can change.
bool Near(QRgb a, QRgb b);

}  // namespace vellumo::test
