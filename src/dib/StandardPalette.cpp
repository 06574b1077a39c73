#include "dib/StandardPalette.h"

#include <cstdint>

#include "dib/IndexedBitmap.h"

namespace vellumo::dib {
namespace {

struct Rgb {
    int red, green, blue;
};

// Tints lighten the base colour towards white, one step per k = 0..5.
int Tint(int base, int k) {
    switch (base) {
        case 0:
            return 212 - 35 * k;
        case 85:
            return 227 - 28 * k;
        case 170:
            return 240 - 14 * k;
        default:
            return 255;
    }
}

// Shades darken the base colour towards black, one step per k = 0..5.
int Shade(int base, int k, bool pureHue) {
    switch (base) {
        case 255:
            // The six pure hues start their shades at 254: the full colour is already
            // among the system colours at the end of the table.
            return (k == 0 && pureHue) ? 254 : 255 - 35 * k;
        case 170:
            return 170 - 24 * k;
        case 85:
            return 85 - 12 * k;
        default:
            return 0;
    }
}

bool IsPureHue(const Rgb& c) {
    auto extreme = [](int v) { return v == 0 || v == 255; };
    return extreme(c.red) && extreme(c.green) && extreme(c.blue);
}

RGBQUAD Entry(int red, int green, int blue) {
    return MakeColor(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                     static_cast<uint8_t>(blue));
}

std::array<RGBQUAD, 256> Build256() {
    static constexpr Rgb kHueBases[18] = {
        {255, 170, 0}, {255, 85, 0}, {255, 0, 0}, {255, 0, 85}, {255, 0, 170}, {255, 0, 255},
        {170, 0, 255}, {85, 0, 255}, {0, 0, 255}, {0, 85, 255}, {0, 170, 255}, {0, 255, 255},
        {0, 255, 170}, {0, 255, 85}, {0, 255, 0}, {85, 255, 0}, {170, 255, 0}, {255, 255, 0}};
    static constexpr Rgb kSystemColors[10] = {
        {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
        {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};

    std::array<RGBQUAD, 256> table{};
    const auto& sixteen = StandardPalette16();
    for (size_t i = 0; i < 8; ++i) {
        table[i] = sixteen[i];
    }
    table[8] = Entry(192, 220, 192);
    table[9] = Entry(166, 202, 240);

    size_t next = 10;
    for (const Rgb& base : kHueBases) {
        for (int k = 0; k < 6; ++k) {
            table[next++] = Entry(Tint(base.red, k), Tint(base.green, k), Tint(base.blue, k));
        }
        const bool pure = IsPureHue(base);
        for (int k = 0; k < 6; ++k) {
            table[next++] = Entry(Shade(base.red, k, pure), Shade(base.green, k, pure),
                                  Shade(base.blue, k, pure));
        }
    }
    for (int j = 0; j < 20; ++j) {
        const int v = 242 - 12 * j;
        table[next++] = Entry(v, v, v);
    }
    for (const Rgb& c : kSystemColors) {
        table[next++] = Entry(c.red, c.green, c.blue);
    }
    return table;
}

}  // namespace

const std::array<RGBQUAD, 16>& StandardPalette16() {
    static const std::array<RGBQUAD, 16> kTable = {
        Entry(0, 0, 0),       Entry(128, 0, 0),   Entry(0, 128, 0),   Entry(128, 128, 0),
        Entry(0, 0, 128),     Entry(128, 0, 128), Entry(0, 128, 128), Entry(192, 192, 192),
        Entry(128, 128, 128), Entry(255, 0, 0),   Entry(0, 255, 0),   Entry(255, 255, 0),
        Entry(0, 0, 255),     Entry(255, 0, 255), Entry(0, 255, 255), Entry(255, 255, 255)};
    return kTable;
}

const std::array<RGBQUAD, 256>& StandardPalette256() {
    static const std::array<RGBQUAD, 256> kTable = Build256();
    return kTable;
}

void CIndexedBitmap::LoadStandardPalette() {
    if (!HasColorTable()) {
        return;
    }
    if (header.biBitCount == 4) {
        CopyPalette(StandardPalette16().data(), 16);
    } else if (header.biBitCount == 8) {
        CopyPalette(StandardPalette256().data(), 256);
    }
}

}  // namespace vellumo::dib
