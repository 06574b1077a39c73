#pragma once
// When a multi-page TIFF must be a BigTIFF. A classic TIFF addresses 4 GiB; the run knows
// every page's size before it starts, so it can tell in advance whether the file could
// pass that, counting the compression's worst case, and choose BigTIFF only then.

#include <cstdint>
#include <vector>

#include "imaging/TiffWriteOptions.h"
#include "photolist/PhotoList.h"

namespace vellumo::convert {

// The most bytes a TIFF of pages with these sizes (width, height) could take.
uint64_t TiffSizeBound(const std::vector<std::pair<int64_t, int64_t>>& pageSizes,
                       imaging::TiffCompression compression);

// True when the TIFF pages of `list`, after `keptBytes` of pages copied from an existing
// file, could make a file past what a classic TIFF holds.
bool NeedsBigTiff(const photolist::PhotoList& list, imaging::TiffCompression compression,
                  uint64_t keptBytes = 0);

}  // namespace vellumo::convert
