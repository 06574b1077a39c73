#pragma once
// The caption font picker: a font dialog with the effects (underline, strike-out) and
// a text colour, starting from the caption font and always from black. On OK the
// caption font and colour are replaced and the face name label shows the new face.

#include <QFont>
#include <functional>
#include <optional>

#include "options/CaptionFont.h"

class QLabel;
class QWidget;

namespace vellumo::app::dialogs {

struct CaptionFontChoice {
    options::CaptionFont font;
    options::ColorRef colour = 0;
};

// The font a caption record stands for. A negative height is the character height
// in pixels, a positive one the cell height, 0 the default size.
QFont ToQFont(const options::CaptionFont& font);
// The record for `font`; members a QFont does not carry keep their values from `base`.
// Point sizes become pixel heights at 96 dots per inch.
options::CaptionFont FromQFont(const QFont& font, const options::CaptionFont& base);

// Shows the picker; the choice on OK, nullopt on Cancel. Replaceable for tests.
using FontPickerFunction =
    std::function<std::optional<CaptionFontChoice>(QWidget* owner, const options::CaptionFont&)>;
FontPickerFunction SetFontPicker(FontPickerFunction picker);

// The Font command: picks, then stores the font and colour and shows the face name in
// `faceName` (may be null). False when the picker was cancelled; nothing changes then.
bool ChooseCaptionFont(QWidget* owner, options::CaptionFont& font, options::ColorRef& colour,
                       QLabel* faceName);

}  // namespace vellumo::app::dialogs
