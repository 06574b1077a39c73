#include "dib/OctreePalette.h"

#include <algorithm>
#include <new>
#include <vector>

#include "dib/Endian.h"
#include "dib/PixelPacking.h"

namespace vellumo::dib {
namespace {

RGBQUAD MeanColor(uint64_t red, uint64_t green, uint64_t blue, uint64_t alpha, uint64_t count) {
    if (count == 0) {
        return RGBQUAD{};
    }
    return RGBQUAD{static_cast<uint8_t>(blue / count), static_cast<uint8_t>(green / count),
                   static_cast<uint8_t>(red / count), static_cast<uint8_t>(alpha / count)};
}

}  // namespace

COctreePalette::COctreePalette(uint32_t maxColorsWanted, uint32_t colorBits)
    : maxLeaves(maxColorsWanted >= 16 ? maxColorsWanted : 16),
      maxColors(maxColorsWanted),
      leafLevel(colorBits >= 8 ? 8 : colorBits) {}

COctreePalette::~COctreePalette() {
    FreeTree(root);
}

void COctreePalette::FreeTree(OctreeNode* node) {
    if (node == nullptr) {
        return;
    }
    for (OctreeNode* child : node->children) {
        FreeTree(child);
    }
    delete node;
}

void COctreePalette::InsertColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    OctreeNode** slot = &root;
    for (uint32_t level = 0;; ++level) {
        if (*slot == nullptr) {
            auto* node = new (std::nothrow) OctreeNode{};
            if (node == nullptr) {
                return;  // out of memory: this colour is not counted
            }
            if (level == leafLevel) {
                node->isLeaf = 1;
                ++leafCount;
            } else {
                node->nextReducible = reducible[level];
                reducible[level] = node;
            }
            *slot = node;
        }
        OctreeNode* node = *slot;
        if (node->isLeaf != 0) {
            node->pixelCount += 1;
            node->redSum += red;
            node->greenSum += green;
            node->blueSum += blue;
            node->alphaSum += alpha;
            return;
        }
        const int shift = 7 - static_cast<int>(level);
        const uint32_t i =
            (((red >> shift) & 1u) << 2) | (((green >> shift) & 1u) << 1) | ((blue >> shift) & 1u);
        slot = &node->children[i];
    }
}

bool COctreePalette::MergeDeepest() {
    if (leafLevel == 0) {
        return false;  // the root is the only leaf there can be
    }
    uint32_t level = leafLevel - 1;
    while (level > 0 && reducible[level] == nullptr) {
        --level;
    }
    OctreeNode* node = reducible[level];
    if (node == nullptr) {
        return false;
    }
    reducible[level] = node->nextReducible;
    node->nextReducible = nullptr;

    uint32_t folded = 0;
    for (OctreeNode*& child : node->children) {
        if (child == nullptr) {
            continue;
        }
        node->pixelCount += child->pixelCount;
        node->redSum += child->redSum;
        node->greenSum += child->greenSum;
        node->blueSum += child->blueSum;
        node->alphaSum += child->alphaSum;
        FreeTree(child);
        child = nullptr;
        ++folded;
    }
    node->isLeaf = 1;
    leafCount = leafCount - folded + 1;
    return true;
}

void COctreePalette::AddPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    InsertColor(red, green, blue, alpha);
    while (leafCount > maxLeaves && MergeDeepest()) {
    }
}

bool COctreePalette::AddImage(const uint8_t* block) {
    if (block == nullptr) {
        return false;
    }
    const BITMAPINFOHEADER info = LoadInfoHeader(block);
    const uint32_t bits = info.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
        return false;
    }
    if (info.biWidth <= 0 || info.biHeight <= 0) {
        return true;  // no pixels
    }
    const auto width = static_cast<uint32_t>(info.biWidth);
    const auto height = static_cast<uint32_t>(info.biHeight);
    const size_t stride = static_cast<size_t>((uint64_t{bits} * width + 31) / 32 * 4);
    const uint8_t* table = block + kInfoHeaderSize;
    const uint8_t* rows = block + info.biSize + 4 * size_t{info.biClrUsed};

    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = rows + size_t{y} * stride;
        for (uint32_t x = 0; x < width; ++x) {
            if (bits == 24) {
                const uint8_t* p = row + size_t{x} * 3;
                AddPixel(p[2], p[1], p[0], 0);
                continue;
            }
            const uint8_t index = LoadIndex(row, x, bits);
            if (index >= info.biClrUsed) {
                AddPixel(0, 0, 0, 0);  // an index without an entry reads as black
                continue;
            }
            const uint8_t* entry = table + 4 * size_t{index};
            AddPixel(entry[2], entry[1], entry[0], entry[3]);
        }
    }
    return true;
}

template <typename Visit>
void COctreePalette::WalkLeaves(const OctreeNode* node, Visit& visit) {
    if (node == nullptr) {
        return;
    }
    if (node->isLeaf != 0) {
        visit(*node);
        return;
    }
    for (const OctreeNode* child : node->children) {
        WalkLeaves(child, visit);
    }
}

void COctreePalette::FillPalette(RGBQUAD* table) const {
    if (table == nullptr) {
        return;
    }
    uint32_t written = 0;
    if (maxColors >= 16) {
        auto write = [&](const OctreeNode& leaf) {
            if (written < maxColors) {
                table[written++] = MeanColor(leaf.redSum, leaf.greenSum, leaf.blueSum,
                                             leaf.alphaSum, leaf.pixelCount);
            }
        };
        WalkLeaves(root, write);
    } else {
        // Few colours wanted: list at most 16 leaf colours with their pixel counts and
        // merge consecutive runs of them, weighting each colour by its count.
        std::vector<LeafColor> leaves;
        auto list = [&](const OctreeNode& leaf) {
            if (leaves.size() < 16) {
                leaves.push_back({MeanColor(leaf.redSum, leaf.greenSum, leaf.blueSum, leaf.alphaSum,
                                            leaf.pixelCount),
                                  leaf.pixelCount});
            }
        };
        WalkLeaves(root, list);
        const auto listed = static_cast<uint32_t>(leaves.size());
        if (listed <= maxColors) {
            for (const LeafColor& leaf : leaves) {
                table[written++] = leaf.color;
            }
        } else {
            for (uint32_t c = 0; c < maxColors; ++c) {
                const uint32_t first = c * listed / maxColors;
                const uint32_t last = (c + 1) * listed / maxColors;
                uint64_t red = 0, green = 0, blue = 0, alpha = 0, count = 0;
                for (uint32_t i = first; i < last; ++i) {
                    const LeafColor& leaf = leaves[i];
                    red += leaf.count * leaf.color.rgbRed;
                    green += leaf.count * leaf.color.rgbGreen;
                    blue += leaf.count * leaf.color.rgbBlue;
                    alpha += leaf.count * leaf.color.rgbReserved;
                    count += leaf.count;
                }
                table[written++] = MeanColor(red, green, blue, alpha, count);
            }
        }
    }
    const RGBQUAD filler = written > 0 ? table[written - 1] : RGBQUAD{};
    for (uint32_t i = written; i < maxColors; ++i) {
        table[i] = filler;
    }
}

}  // namespace vellumo::dib
