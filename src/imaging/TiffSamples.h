#pragma once
// Decoding of TIFF pages that libtiff's RGBA interface refuses because of their
// sample size: grey, palette, RGB and CMYK pages of 1 to 16 bits per sample (10, 12
// and 14 bits come from scientific and scanner files; 16-bit palette and CMYK pages
// from prepress), and 32-bit float pages (clamped to 0..1). Strips or tiles, contiguous
// or planar.

#include <tiffio.h>
#include <QImage>
#include <string>

#include "imaging/ColourProfiles.h"

namespace vellumo::imaging {

// Bounds checked before anything is allocated for a page: more samples than any colour
// model with extra channels needs, and the largest strip, tile or
// band of tiles we hold.
inline constexpr uint16_t kMaxTiffSamplesPerPixel = 16;
inline constexpr tmsize_t kMaxTiffStripBytes = tmsize_t{256} << 20;

// How the samples become colours beyond the plain rules.
struct TiffColour {
    // CMYK pages go through this transform of their profile instead of the naive
    // inversion.
    const SrgbTransform* cmyk = nullptr;
    // Grey and RGB pages come out as Format_RGBX64 with 16-bit samples, for a colour
    // conversion before the cut to 8 bits.
    bool deep = false;
};

// Decodes the current directory of `tif` (width x height pixels) into Format_RGB888
// (or RGBX64, see above). Null with `error` set for a layout outside the list above or
// damaged data.
QImage DecodeTiffSamples(TIFF* tif, int32_t width, int32_t height, const TiffColour& colour,
                         std::string& error);

}  // namespace vellumo::imaging
