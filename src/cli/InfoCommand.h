#pragma once
// --info: what the imaging layer sees in each file: its format, the frame dimensions
// with their counts, and for every frame its size, resolution and a hash of its decoded
// pixels (drawn on white at its own size, the way a page of original size is made).
// Equal hashes mean equal pixels, so outputs can be compared with inputs.

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/PageBitmap.h"

namespace vellumo::cli {

// SHA-256 of the page's RGB bytes, row by row, as 64 lower-case hexadecimal digits.
std::string PagePixelHash(const imaging::PageBitmap& page);

// Prints the report of every file to `out` and problems to `err`. Returns the exit
// status: 0 when every file and frame could be read, 1 otherwise.
int RunInfo(const std::vector<std::string>& files, std::FILE* out, std::FILE* err);

}  // namespace vellumo::cli
