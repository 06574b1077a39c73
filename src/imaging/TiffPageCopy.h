#pragma once
// Copies the pages of a TIFF into another as they are: each directory's tags and its
// compressed strips or tiles, nothing decoded. Tags are those of images (size, samples,
// compression and its tables, colour map, resolution, texts, ICC profile, ...); private
// tags unknown to libtiff are not carried over.

#include <tiffio.h>

#include <cstdint>
#include <string>

namespace vellumo::imaging {

// Copies the current directory of `in` (a file of `inSize` bytes) into the current
// directory of `out`, which the caller then writes with TIFFWriteDirectory. False with
// the reason in `error`; a data size past the file's end is refused before allocating.
bool CopyTiffDirectory(TIFF* in, uint64_t inSize, TIFF* out, std::string& error);

}  // namespace vellumo::imaging
