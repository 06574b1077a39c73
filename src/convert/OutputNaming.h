#pragma once
// Names of the files a run writes. A multi-page TIFF is one file; a single-image format
// (BMP, JPG, PNG) with more than one page writes one numbered file per page beside the
// given name, so pages never overwrite each other.

#include <cstdint>
#include <string>

namespace vellumo::convert {

// True for the output formats that hold one page per file.
bool IsSingleImageFormat(int32_t nOuptputFormat);

// `path` with the number put before its extension: album.jpg, 3 of 12 -> album-03.jpg,
// 3 of 5 -> album-3.jpg. The number is zero-padded to the digits of `count`.
std::string NumberedPath(const std::string& path, int number, int count);

// The file for the page of entry `index` (0-based) in a run of `count` entries: the
// given name for TIFF and for a run of one entry, else the numbered name (index + 1).
std::string OutputPathForEntry(const std::string& path, int32_t nOuptputFormat, int index,
                               int count);

}  // namespace vellumo::convert
