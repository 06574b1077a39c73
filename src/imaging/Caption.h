#pragma once
// Drawing the caption text onto a page.

#include <cstdint>
#include <string_view>

#include "imaging/PageBitmap.h"
#include "options/CaptionFont.h"

namespace vellumo::imaging {

// Draws UTF-8 `text` with its top-left corner at (x, y) page pixels, in `font` and
// `colour`, on one line: no wrapping, no clipping beyond the page edges. A face that is
// not installed falls back to the default sans font. False if drawing was impossible.
bool DrawCaption(PageBitmap& page, int32_t x, int32_t y, std::string_view text,
                 const options::CaptionFont& font, options::ColorRef colour);

}  // namespace vellumo::imaging
