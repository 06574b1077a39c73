#pragma once
// The engine's fixed colour tables: 16 colours for 4-bit images and 256 colours for
// 8-bit images (the 16-colour set's first half, two extra tints, 18 hue groups of tints
// and shades, 20 greys and 10 system colours). The reserved byte of every entry is 0.

#include <array>

#include "dib/BitmapTypes.h"

namespace vellumo::dib {

const std::array<RGBQUAD, 16>& StandardPalette16();
const std::array<RGBQUAD, 256>& StandardPalette256();

}  // namespace vellumo::dib
