#pragma once
// The caption position boxes: read as decimal integers, checked against the page (or,
// before a run, against the main options record) and reset to "0" when out of range.

#include <cstdint>
#include <string>
#include <string_view>

#include "options/OutputPhotoFormat.h"
#include "shell/ActivityLog.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

// The standard decimal text-to-integer rule on the first 63 characters: leading blanks
// and a sign allowed, conversion stops at the first non-digit, no digits give 0. Values
// beyond the 32-bit range are clamped to it.
int32_t ParseBoxInteger(std::string_view text);

// Before a run: x at or beyond the record's nOutputWidth, then y at or beyond its
// nOutputHeight, each gives its warning and resets its box. Negative values pass.
void CheckCaptionBoxesBeforeRun(ui::Toolkit& toolkit, const options::OutputPhotoFormat& record);

struct CaptionPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// For one page: reads the boxes; a value below 0 or at or beyond the page side is logged
// as "<photo path> <notice>", its box reset to "0" and 0 used.
CaptionPoint PlaceCaption(ui::Toolkit& toolkit, shell::ActivityLog& log,
                          const std::string& photoPath, int32_t pageWidth, int32_t pageHeight);

}  // namespace vellumo::convert
