#pragma once
// The first half of the per-photo pipeline, which may run ahead of the page order on
// another thread: load the file, select the entry's frame, size the page, scale the
// frame onto it (turned upright first when asked, converted to sRGB unless the colours
// are kept), give it the photo's name and camera data and, when no caption is to be
// drawn, rotate and flip it. Reads nothing but the entry and touches no user interface.

#include "convert/OpenImageFiles.h"
#include "convert/PreparedPage.h"
#include "convert/RunSettings.h"
#include "imaging/ImageFile.h"
#include "imaging/PageBitmap.h"
#include "photolist/PhotoEntry.h"

namespace vellumo::convert {

struct PreparationOptions {
    bool autoOrient = false;          // turn the photo upright from its EXIF orientation first
    bool applyRotation = true;        // also apply the entry's rotate/flip (no caption follows)
    int threads = 1;                  // threads scaling the frame onto the page
    OpenImageFiles* files = nullptr;  // the run's open files; null opens each file anew
    // PDF output with nothing drawn on the page: a JPEG photo at its own size, not turned,
    // is passed on as its file's bytes.
    bool embedJpeg = false;
    MetadataSettings metadata;  // colours, and the metadata the page carries
};

// The EXIF orientation that turns the photo upright (1 to 8; 0 for none): the decoder's,
// or for formats whose decoders read none (PNG, WebP) the one in their EXIF data. HEIF
// and JPEG XL pictures are decoded upright already and report none.
int UprightOrientation(imaging::ImageFile& image);

PreparedPage PreparePage(const photolist::PhotoEntry& entry, const PreparationOptions& options);

// The entry's rotate and flip, with its two messages queued in `messages`.
void ApplyEntryRotation(imaging::PageBitmap& page, const options::OutputPhotoFormat& record,
                        std::vector<PendingMessage>& messages);

}  // namespace vellumo::convert
