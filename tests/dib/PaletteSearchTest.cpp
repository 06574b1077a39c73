// The cell search must give exactly the answers of the linear nearest-entry rule, ties
// and important counts included, and so leave every reduced image byte for byte as it was.
#include "dib/PaletteSearch.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "dib/IndexedBitmap.h"
#include "dib/OctreePalette.h"

namespace vellumo::dib {
namespace {

std::vector<RGBQUAD> RandomTable(std::mt19937& random, size_t count, bool duplicates) {
    std::vector<RGBQUAD> table(count);
    for (auto& e : table) {
        e = MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random()));
    }
    if (duplicates) {
        for (size_t i = 1; i < count; i += 3) {
            table[i] = table[i / 2];
        }
    }
    return table;
}

// A 24-bit photo-like image: smooth gradients with noise.
CIndexedBitmap Noisy(std::mt19937& random, int32_t width, int32_t height) {
    CIndexedBitmap image;
    image.Allocate(width, height, 24);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const auto n = [&] { return int(random() % 41) - 20; };
            image.WriteColor(x, y,
                             MakeColor(uint8_t(std::clamp(x * 255 / width + n(), 0, 255)),
                                       uint8_t(std::clamp(y * 255 / height + n(), 0, 255)),
                                       uint8_t(std::clamp((x + y) * 128 / width + n(), 0, 255))));
        }
    }
    return image;
}

// The reduction as the linear rule defines it, one pixel at a time through the
// bounds-checked accessors: the oracle for ReduceDepth.
std::vector<uint8_t> ReferenceIndexes(const CIndexedBitmap& original, uint32_t bits, bool diffuse,
                                      const RGBQUAD* table, uint32_t important) {
    CIndexedBitmap source;
    source.Allocate(original.header.biWidth, original.header.biHeight, original.header.biBitCount);
    std::memcpy(source.imageMemory, original.imageMemory, original.TotalBytes());
    CIndexedBitmap reduced;
    reduced.Allocate(source.header.biWidth, source.header.biHeight, uint16_t(bits));
    reduced.CopyPalette(table, bits == 8 ? 256 : 16);
    if (important != 0) {
        reduced.LimitImportant(important);
    }
    constexpr int kN[4][3] = {{1, 0, 7}, {-1, 1, 2}, {0, 1, 4}, {1, 1, 1}};
    const auto add = [](uint8_t v, int e, int w) {
        return uint8_t(std::clamp(v + e * w / 16, 0, 255));
    };
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < source.header.biHeight; ++y) {
        for (int32_t x = 0; x < source.header.biWidth; ++x) {
            const RGBQUAD c = source.ReadColor(x, y);
            reduced.WriteColor(x, y, c);
            out.push_back(reduced.ReadIndex(x, y));
            if (!diffuse) {
                continue;
            }
            const RGBQUAD q = reduced.ReadColor(x, y);
            for (const auto& n : kN) {
                RGBQUAD v = source.ReadColor(x + n[0], y + n[1]);
                v.rgbRed = add(v.rgbRed, c.rgbRed - q.rgbRed, n[2]);
                v.rgbGreen = add(v.rgbGreen, c.rgbGreen - q.rgbGreen, n[2]);
                v.rgbBlue = add(v.rgbBlue, c.rgbBlue - q.rgbBlue, n[2]);
                source.WriteColor(x + n[0], y + n[1], v);
            }
        }
    }
    return out;
}

std::vector<uint8_t> Indexes(const CIndexedBitmap& image) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < image.header.biHeight; ++y) {
        for (int32_t x = 0; x < image.header.biWidth; ++x) {
            out.push_back(image.ReadIndex(x, y));
        }
    }
    return out;
}

TEST(PaletteSearch, AnswersAsTheLinearRuleForRandomTablesAndColours) {
    std::mt19937 random(7);
    for (const size_t count : {1u, 2u, 16u, 100u, 256u}) {
        for (const bool duplicates : {false, true}) {
            const auto table = RandomTable(random, count, duplicates);
            CIndexedBitmap holder;
            holder.Allocate(1, 1, 8);
            holder.CopyPalette(table.data(), uint32_t(count));
            holder.LimitImportant(uint32_t(count));
            PaletteSearch search(holder.PaletteAddress(), uint32_t(count));
            for (int i = 0; i < 50000; ++i) {
                const RGBQUAD c =
                    MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random()));
                ASSERT_EQ(search.Nearest(c.rgbBlue, c.rgbGreen, c.rgbRed), holder.NearestEntry(c))
                    << count << " entries, duplicates " << duplicates;
            }
        }
    }
}

TEST(PaletteSearch, ReducedImagesAreThoseOfTheLinearRule) {
    std::mt19937 random(11);
    const CIndexedBitmap photo = Noisy(random, 97, 61);
    COctreePalette octree(256, 8);
    ASSERT_TRUE(octree.AddImage(photo));
    std::array<RGBQUAD, 256> fromPhoto{};
    octree.FillPalette(fromPhoto.data());
    const auto randomTable = RandomTable(random, 256, true);
    struct Case {
        uint32_t bits;
        const RGBQUAD* table;
        uint32_t important;
    };
    const Case cases[] = {{8, fromPhoto.data(), 0},
                          {8, randomTable.data(), 0},
                          {8, randomTable.data(), 40},
                          {4, randomTable.data(), 0},
                          {1, randomTable.data(), 0}};
    for (const Case& c : cases) {
        for (const bool diffuse : {false, true}) {
            CIndexedBitmap image;
            image.Allocate(photo.header.biWidth, photo.header.biHeight, 24);
            std::memcpy(image.imageMemory, photo.imageMemory, photo.TotalBytes());
            ASSERT_TRUE(image.ReduceDepth(c.bits, diffuse, c.table, c.important));
            EXPECT_EQ(Indexes(image),
                      ReferenceIndexes(photo, c.bits, diffuse, c.table, c.important))
                << c.bits << " bits, important " << c.important << ", diffuse " << diffuse;
        }
    }
}

}  // namespace
}  // namespace vellumo::dib
