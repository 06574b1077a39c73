#pragma once
// The indexed bitmap engine in one include: CIndexedBitmap (the holder, with LoadBmp,
// SaveBmp, ReduceDepth and LoadStandardPalette), CBmpCodec (stream decoding and encoding)
// and COctreePalette (adaptive colour tables). Standard library only.
//
// Typical use, a 24-bit BMP into an 8-bit one with its own palette:
//   CIndexedBitmap image;
//   image.LoadBmp(in);
//   COctreePalette octree(256, 8);
//   octree.AddImage(image);
//   std::array<RGBQUAD, 256> table;
//   octree.FillPalette(table.data());
//   image.ReduceDepth(8, true, table.data(), 0);
//   image.SaveBmp(out);

#include "dib/BitmapTypes.h"
#include "dib/BmpCodec.h"
#include "dib/ByteStream.h"
#include "dib/FileStream.h"
#include "dib/IndexedBitmap.h"
#include "dib/OctreePalette.h"
#include "dib/StandardPalette.h"
