// Colour-depth reduction: maps every pixel of a holder to the nearest entry of a colour
// table, optionally spreading each pixel's error over its unvisited neighbours.

#include <algorithm>

#include "dib/IndexedBitmap.h"

namespace vellumo::dib {
namespace {

struct Neighbour {
    int32_t dx, dy, weight;
};

// Right, then the three pixels of the next stored row (the row above in the picture).
// Together 14/16 of the error is passed on.
constexpr Neighbour kNeighbours[4] = {{1, 0, 7}, {-1, 1, 2}, {0, 1, 4}, {1, 1, 1}};

uint8_t AddError(uint8_t channel, int32_t error, int32_t weight) {
    // Integer division truncates toward zero: -700 / 16 is -43, not -44.
    const int32_t value = channel + error * weight / 16;
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

bool CIndexedBitmap::ReduceDepth(uint32_t targetBits, bool diffuse, const RGBQUAD* palette,
                                 uint32_t importantCount) {
    if (!HasImage() || header.biBitCount < targetBits) {
        return false;
    }
    if (header.biBitCount == targetBits) {
        if (importantCount == 0) {
            return true;
        }
        if (header.biClrImportant != 0 && header.biClrImportant < importantCount) {
            return true;
        }
    }

    // Only the error text travels to the new holder; it must own its own block (a copied
    // `borrowed` flag would leak it).
    CIndexedBitmap reduced;
    reduced.SetLastError(lastError);
    // targetBits <= biBitCount <= 24 here, so the narrowing is exact.
    if (reduced.Allocate(header.biWidth, header.biHeight, static_cast<uint16_t>(targetBits)) ==
        nullptr) {
        return false;
    }
    if (importantCount != 0) {
        reduced.LimitImportant(importantCount);
    }

    switch (reduced.header.biBitCount) {
        case 1:
            if (palette != nullptr) {
                reduced.CopyPalette(palette, 16);
            } else {
                reduced.SetEntry(0, 0, 0, 0);
                reduced.SetEntry(1, 255, 255, 255);
            }
            break;
        case 4:
            if (palette != nullptr) {
                reduced.CopyPalette(palette, 16);
            } else {
                reduced.LoadStandardPalette();
            }
            break;
        case 8:
            if (palette != nullptr) {
                reduced.CopyPalette(palette, 256);
            } else {
                reduced.LoadStandardPalette();
            }
            break;
        default:
            return false;  // 24 bits is no reduction
    }

    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const RGBQUAD c = ReadColor(x, y);
            reduced.WriteColor(x, y, c);
            if (!diffuse) {
                continue;
            }
            const RGBQUAD q = reduced.ReadColor(x, y);
            const int32_t errorRed = c.rgbRed - q.rgbRed;
            const int32_t errorGreen = c.rgbGreen - q.rgbGreen;
            const int32_t errorBlue = c.rgbBlue - q.rgbBlue;
            for (const Neighbour& n : kNeighbours) {
                const int32_t nx = x + n.dx;
                const int32_t ny = y + n.dy;
                if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                    continue;
                }
                RGBQUAD v = ReadColor(nx, ny);
                v.rgbRed = AddError(v.rgbRed, errorRed, n.weight);
                v.rgbGreen = AddError(v.rgbGreen, errorGreen, n.weight);
                v.rgbBlue = AddError(v.rgbBlue, errorBlue, n.weight);
                // An indexed source snaps the adjusted colour to its own nearest entry.
                WriteColor(nx, ny, v);
            }
        }
    }

    if (header.biBitCount == 1) {
        reduced.SetEntry(0, 0, 0, 0);
        reduced.SetEntry(1, 255, 255, 255);
    }
    TakeOver(&reduced);
    return true;
}

}  // namespace vellumo::dib
