#pragma once
// Run-length decoding of BMP pixel data (RLE8 and RLE4) into a holder.

#include "dib/ByteStream.h"
#include "dib/IndexedBitmap.h"

namespace vellumo::dib {

// Decodes from the stream's position until the end-of-bitmap code. `fourBit` selects
// RLE4 (two pixels per data byte, high nibble first), otherwise RLE8. Pixels are stored
// at the holder's own bit count; pixels no code reaches keep their value.
//
// Hostile streams: a pixel right of the row end is dropped (x stops at the width), a
// move above the top row ends the decoding (nothing above can be written), and a
// stream that ends before its end-of-bitmap code keeps what was decoded. Every step
// consumes input, so decoding ends with the data.
void DecodeRunLength(ByteStream& stream, CIndexedBitmap& image, bool fourBit);

}  // namespace vellumo::dib
