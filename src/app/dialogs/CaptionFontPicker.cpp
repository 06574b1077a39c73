#include "app/dialogs/CaptionFontPicker.h"

#include <QLabel>
#include <algorithm>
#include <cmath>

#include "app/dialogs/CaptionFontDialog.h"

namespace vellumo::app::dialogs {
namespace {

std::optional<CaptionFontChoice> PickWithDialog(QWidget* owner,
                                                const options::CaptionFont& initial) {
    CaptionFontDialog dialog(ToQFont(initial), owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return CaptionFontChoice{FromQFont(dialog.selectedFont(), initial), dialog.selectedColour()};
}

FontPickerFunction& CurrentPicker() {
    static FontPickerFunction picker = PickWithDialog;
    return picker;
}

}  // namespace

QFont ToQFont(const options::CaptionFont& record) {
    QFont font;
    if (!record.lfFaceName.empty()) {
        font.setFamily(QString::fromStdString(record.lfFaceName));
    }
    if (record.lfHeight != 0) {
        // INT32_MIN has no positive counterpart; it is no real size anyway.
        const int64_t height = std::abs(static_cast<int64_t>(record.lfHeight));
        font.setPixelSize(static_cast<int>(std::min<int64_t>(height, 0x7fff)));
    }
    // Weight 0 means "any", which is the normal weight.
    font.setWeight(record.lfWeight == 0
                       ? QFont::Normal
                       : static_cast<QFont::Weight>(std::clamp(record.lfWeight, 1, 1000)));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    return font;
}

options::CaptionFont FromQFont(const QFont& font, const options::CaptionFont& base) {
    options::CaptionFont record = base;
    record.lfFaceName = font.family().toStdString();
    if (font.pixelSize() > 0) {
        record.lfHeight = -font.pixelSize();
    } else if (font.pointSizeF() > 0) {
        record.lfHeight = -static_cast<int32_t>(std::lround(font.pointSizeF() * 96.0 / 72.0));
    }
    record.lfWeight = static_cast<int32_t>(font.weight());
    record.lfItalic = font.italic() ? 1 : 0;
    record.lfUnderline = font.underline() ? 1 : 0;
    record.lfStrikeOut = font.strikeOut() ? 1 : 0;
    return record;
}

FontPickerFunction SetFontPicker(FontPickerFunction picker) {
    FontPickerFunction previous = std::move(CurrentPicker());
    CurrentPicker() = picker ? std::move(picker) : FontPickerFunction(PickWithDialog);
    return previous;
}

bool ChooseCaptionFont(QWidget* owner, options::CaptionFont& font, options::ColorRef& colour,
                       QLabel* faceName) {
    const auto choice = CurrentPicker()(owner, font);
    if (!choice) {
        return false;
    }
    font = choice->font;
    colour = choice->colour;
    if (faceName != nullptr) {
        faceName->setText(QString::fromStdString(font.lfFaceName));
    }
    return true;
}

}  // namespace vellumo::app::dialogs
