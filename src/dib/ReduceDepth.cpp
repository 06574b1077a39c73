// Colour-depth reduction: maps every pixel of a holder to the nearest entry of a colour
// table, optionally spreading each pixel's error over its unvisited neighbours.

#include <algorithm>
#include <optional>

#include "dib/IndexedBitmap.h"
#include "dib/PaletteSearch.h"
#include "dib/PixelPacking.h"

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

// The entries a holder's pixels may use, as NearestEntry counts them.
uint32_t SearchableEntries(const BITMAPINFOHEADER& h) {
    const uint32_t count = h.biClrImportant != 0 ? h.biClrImportant : h.biClrUsed;
    return std::min(count, h.biClrUsed);
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

    // Every pixel is the nearest-entry search; the cell search gives the same answers as
    // NearestEntry, much faster. An indexed source snaps each adjusted colour to its own
    // nearest entry, so it gets a search of its own.
    PaletteSearch target(reduced.PaletteAddress(), SearchableEntries(reduced.header));
    std::optional<PaletteSearch> source;
    if (HasColorTable()) {
        source.emplace(PaletteAddress(), SearchableEntries(header));
    }
    const uint8_t* targetTable = reduced.PaletteAddress();
    const uint32_t storedBits = reduced.header.biBitCount;
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    if (!source) {
        // The same walk for a 24-bit source, adjusted in place a row and the next at a
        // time: a photo's page goes through here, a pixel at a time, so it pays to skip
        // the general accessors.
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* targetRow = reduced.RowAt(y);
            uint8_t* p = RowAt(y);
            uint8_t* below = y + 1 < height ? RowAt(y + 1) : nullptr;
            for (int32_t x = 0; x < width; ++x, p += 3) {
                const uint8_t index = target.Nearest(p[0], p[1], p[2]);
                StoreIndex(targetRow, static_cast<uint32_t>(x), storedBits, index);
                if (!diffuse) {
                    continue;
                }
                const uint8_t* q = targetTable + 4 * index;
                const int32_t errorBlue = p[0] - q[0];
                const int32_t errorGreen = p[1] - q[1];
                const int32_t errorRed = p[2] - q[2];
                if ((errorBlue | errorGreen | errorRed) == 0) {
                    continue;
                }
                const auto spread = [&](uint8_t* v, int32_t weight) {
                    v[0] = AddError(v[0], errorBlue, weight);
                    v[1] = AddError(v[1], errorGreen, weight);
                    v[2] = AddError(v[2], errorRed, weight);
                };
                const bool right = x + 1 < width;
                if (right) {
                    spread(p + 3, kNeighbours[0].weight);
                }
                if (below != nullptr) {
                    uint8_t* n = below + static_cast<size_t>(x) * 3;
                    if (x > 0) {
                        spread(n - 3, kNeighbours[1].weight);
                    }
                    spread(n, kNeighbours[2].weight);
                    if (right) {
                        spread(n + 3, kNeighbours[3].weight);
                    }
                }
            }
        }
    } else {
        // An indexed source: each adjusted colour snaps to the source's own nearest entry.
        const auto readSource = [&](int32_t x, int32_t y) { return ReadColor(x, y); };
        const auto writeSource = [&](int32_t x, int32_t y, RGBQUAD v) {
            WriteIndex(x, y, source->Nearest(v.rgbBlue, v.rgbGreen, v.rgbRed));
        };
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* targetRow = reduced.RowAt(y);
            for (int32_t x = 0; x < width; ++x) {
                const RGBQUAD c = readSource(x, y);
                const uint8_t index = target.Nearest(c.rgbBlue, c.rgbGreen, c.rgbRed);
                StoreIndex(targetRow, static_cast<uint32_t>(x), storedBits, index);
                if (!diffuse) {
                    continue;
                }
                const uint8_t* q = targetTable + 4 * index;
                const int32_t errorBlue = c.rgbBlue - q[0];
                const int32_t errorGreen = c.rgbGreen - q[1];
                const int32_t errorRed = c.rgbRed - q[2];
                for (const Neighbour& n : kNeighbours) {
                    const int32_t nx = x + n.dx;
                    const int32_t ny = y + n.dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                        continue;
                    }
                    RGBQUAD v = readSource(nx, ny);
                    v.rgbRed = AddError(v.rgbRed, errorRed, n.weight);
                    v.rgbGreen = AddError(v.rgbGreen, errorGreen, n.weight);
                    v.rgbBlue = AddError(v.rgbBlue, errorBlue, n.weight);
                    writeSource(nx, ny, v);
                }
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
