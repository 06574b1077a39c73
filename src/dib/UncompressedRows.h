#pragma once
// Uncompressed BMP pixel data into a holder whose bit count Allocate derived from the
// file's: the same layout is read in one piece; 2-bit rows are widened to 4 bits, 16- and
// 32-bit pixels become 24-bit ones through their colour masks, and top-down files are
// stored bottom-up.

#include <array>
#include <cstdint>

#include "dib/ByteStream.h"
#include "dib/IndexedBitmap.h"

namespace vellumo::dib {

struct SourceRows {
    uint16_t bits = 0;                // the file's bits per pixel: 1, 2, 4, 8, 16, 24 or 32
    bool topDown = false;             // the first stored row is the top of the picture
    std::array<uint32_t, 3> masks{};  // red, green, blue; used at 16 and 32 bits
};

// Default masks when the file names none: 5-5-5 at 16 bits, 8-8-8 at 32 bits.
std::array<uint32_t, 3> DefaultMasks(uint16_t bits);

// Reads rows until the image is full or the data ends; rows or pixels the data does not
// reach keep their value. The work done is bounded by the bytes actually read.
void ReadUncompressedRows(ByteStream& stream, CIndexedBitmap& image, const SourceRows& source);

}  // namespace vellumo::dib
