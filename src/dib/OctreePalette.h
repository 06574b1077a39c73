#pragma once
// COctreePalette: an adaptive colour table of up to `maxColors` entries for one picture.
// Every pixel colour is sorted into an octree over the bits of red, green and blue; when
// the tree has more than `maxLeaves` leaves the deepest branch (the most recently made
// one of the deepest level) is folded into one leaf. The table holds the mean colour of
// each leaf. Use: construct, AddImage once, FillPalette, destroy.

#include <array>
#include <cstdint>

#include "dib/BitmapTypes.h"
#include "dib/IndexedBitmap.h"

namespace vellumo::dib {

// One tree node. The sums are 64 bits wide: a leaf may gather any number of pixels of a
// page without its sums wrapping.
struct OctreeNode {
    int32_t isLeaf = 0;
    uint64_t pixelCount = 0;
    uint64_t redSum = 0;
    uint64_t greenSum = 0;
    uint64_t blueSum = 0;
    uint64_t alphaSum = 0;
    std::array<OctreeNode*, 8> children{};
    OctreeNode* nextReducible = nullptr;
};

class COctreePalette {
  public:
    // `colorBits` above 8 counts as 8; the leaf limit is `maxColors`, at least 16.
    COctreePalette(uint32_t maxColors, uint32_t colorBits);
    virtual ~COctreePalette();
    COctreePalette(const COctreePalette&) = delete;
    COctreePalette& operator=(const COctreePalette&) = delete;

    // Adds every pixel of an image block (40-byte header, colour table, rows) as made by
    // CIndexedBitmap::Allocate. False, adding nothing, for a null block or a bit count
    // other than 1, 4, 8 and 24.
    bool AddImage(const uint8_t* imageMemory);
    bool AddImage(const CIndexedBitmap& image) { return AddImage(image.imageMemory); }

    // Writes the leaf colours (reserved byte = mean alpha) into `table`, which must hold
    // `maxColors` entries. With fewer than 16 colours wanted, the leaves are merged into
    // `maxColors` consecutive groups averaged by pixel count. Entries no leaf fills are
    // copies of the last written entry (black when the tree is empty), so a nearest-
    // colour search never picks a colour the picture does not have.
    void FillPalette(RGBQUAD* table) const;

    // One colour into the tree (no reduction).
    void InsertColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    // One reduction step; false when there is nothing left to fold.
    bool MergeDeepest();

    uint32_t LeafCount() const { return leafCount; }
    uint32_t MaxLeaves() const { return maxLeaves; }
    uint32_t MaxColors() const { return maxColors; }
    uint32_t LeafLevel() const { return leafLevel; }
    bool Empty() const { return root == nullptr; }

  private:
    struct LeafColor {
        RGBQUAD color;
        uint64_t count;
    };
    void AddPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    template <typename Visit>
    static void WalkLeaves(const OctreeNode* node, Visit& visit);
    static void FreeTree(OctreeNode* node);

    OctreeNode* root = nullptr;
    uint32_t leafCount = 0;
    std::array<OctreeNode*, 9> reducible{};  // inner nodes per level, newest first
    uint32_t maxLeaves = 16;
    uint32_t maxColors = 0;
    uint32_t leafLevel = 8;
};

}  // namespace vellumo::dib
