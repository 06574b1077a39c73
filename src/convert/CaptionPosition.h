#pragma once
// The caption position of a run: the boxes' texts of the snapshot, read as decimal
// integers, checked against the page (or, before a run, against the main options record)
// and reset to "0" when out of range, for this and every following page of the run; the
// front end is told of each reset so that its box shows it.

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/RunSettings.h"
#include "options/OutputPhotoFormat.h"
#include "shell/ActivityLog.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

// The standard decimal text-to-integer rule on the first 63 characters: leading blanks
// and a sign allowed, conversion stops at the first non-digit, no digits give 0. Values
// beyond the 32-bit range are clamped to it.
int32_t ParseBoxInteger(std::string_view text);

// Before a run: x at or beyond the record's nOutputWidth, then y at or beyond its
// nOutputHeight, each gives its warning and is reset. Negative values pass.
void CheckCaptionBeforeRun(ui::Toolkit& toolkit, const options::OutputPhotoFormat& record,
                           CaptionSettings& caption);

struct CaptionPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// For one page: a value below 0 or at or beyond the page side is logged as
// "<photo path> <notice>", reset to "0" and 0 used.
CaptionPoint PlaceCaption(ui::Toolkit& toolkit, shell::ActivityLog& log, CaptionSettings& caption,
                          const std::string& photoPath, int32_t pageWidth, int32_t pageHeight);

}  // namespace vellumo::convert
