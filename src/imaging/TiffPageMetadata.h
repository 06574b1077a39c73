#pragma once
// The metadata tags of a page of the multi-page TIFF writer: PageName, PageNumber,
// Software, DateTime, the camera's fields and the ICC profile in the page's directory,
// and the EXIF and GPS directories it points to.

#include <tiffio.h>

#include <cstdint>

#include "imaging/PageMetadata.h"

namespace vellumo::imaging {

struct CameraDirectories {
    uint64_t exif = 0;  // offsets of the written directories; 0: none written
    uint64_t gps = 0;
};

// Writes the EXIF and GPS directories of `camera` (those it has fields for) at the end
// of the file, outside the chain of pages, and leaves a fresh directory for the page
// itself. False when libtiff failed; the page must then not be finished.
bool WriteCameraDirectories(TIFF* tif, const CameraData& camera, CameraDirectories& written);

// Sets the page directory's metadata tags, pointing to `directories`. `pageIndex` is the
// page's place in the file, used when the metadata gives none.
bool SetPageMetadataTags(TIFF* tif, const PageMetadata& metadata,
                         const CameraDirectories& directories, int pageIndex);

}  // namespace vellumo::imaging
