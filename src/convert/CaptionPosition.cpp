#include "convert/CaptionPosition.h"

#include <limits>

#include "convert/Messages.h"

namespace vellumo::convert {

namespace {

// The boxes are read up to this many characters, as the window's edit boxes give them.
constexpr size_t kBoxReadLimit = 63;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

int32_t ParseBoxInteger(std::string_view text) {
    text = text.substr(0, kBoxReadLimit);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;  // clamp instead of overflowing; further digits change nothing
        }
        ++i;
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int32_t>::max()) {
        value = std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

namespace {

void Reset(ui::Toolkit& toolkit, CaptionSettings& caption, ui::Axis axis) {
    (axis == ui::Axis::X ? caption.positionX : caption.positionY) = "0";
    toolkit.CaptionPositionReset(axis);
}

}  // namespace

void CheckCaptionBeforeRun(ui::Toolkit& toolkit, const options::OutputPhotoFormat& record,
                           CaptionSettings& caption) {
    if (ParseBoxInteger(caption.positionX) >= record.nOutputWidth) {
        toolkit.MessageBox(text::TrUtf8(text::kCaptionXTooBig), text::TrUtf8(text::kWarning),
                           ui::MessageStyle::Warning);
        Reset(toolkit, caption, ui::Axis::X);
    }
    if (ParseBoxInteger(caption.positionY) >= record.nOutputHeight) {
        toolkit.MessageBox(text::TrUtf8(text::kCaptionYTooBig), text::TrUtf8(text::kWarning),
                           ui::MessageStyle::Warning);
        Reset(toolkit, caption, ui::Axis::Y);
    }
}

CaptionPoint PlaceCaption(ui::Toolkit& toolkit, shell::ActivityLog& log, CaptionSettings& caption,
                          const std::string& photoPath, int32_t pageWidth, int32_t pageHeight) {
    CaptionPoint point{ParseBoxInteger(caption.positionX), ParseBoxInteger(caption.positionY)};
    if (point.x >= pageWidth || point.x < 0) {
        log.AppendLogLine(photoPath + " " + text::TrUtf8(text::kCaptionXOutOfRange));
        Reset(toolkit, caption, ui::Axis::X);
        point.x = 0;
    }
    if (point.y >= pageHeight || point.y < 0) {
        log.AppendLogLine(photoPath + " " + text::TrUtf8(text::kCaptionYOutOfRange));
        Reset(toolkit, caption, ui::Axis::Y);
        point.y = 0;
    }
    return point;
}

}  // namespace vellumo::convert
