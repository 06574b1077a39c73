#pragma once
// The dialog behind the caption font picker: the toolkit's font chooser (family,
// style, size, underline, strike-out, sample) with a colour list below it.

#include <QDialog>

#include "options/CaptionFont.h"

class QComboBox;
class QFontDialog;

namespace vellumo::app::dialogs {

class CaptionFontDialog : public QDialog {
    Q_OBJECT

  public:
    CaptionFontDialog(const QFont& initial, QWidget* parent = nullptr);

    QFont selectedFont() const;
    options::ColorRef selectedColour() const;

    // The colour list (for tests); it starts at black.
    QComboBox* colourList() const { return colours_; }
    QFontDialog* fontChooser() const { return chooser_; }

  private:
    QFontDialog* chooser_;
    QComboBox* colours_;
};

}  // namespace vellumo::app::dialogs
