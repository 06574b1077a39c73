#pragma once
// Dialog units: positions and sizes that scale with the dialog's font, so a layout
// drawn once keeps its proportions under any font. One horizontal unit is a quarter
// of the font's average character width, one vertical unit an eighth of its height.

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace vellumo::app::dialogs {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    // Places `widget` at the rectangle given in dialog units.
    void place(QWidget* widget, int x, int y, int width, int height) const;

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

  private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace vellumo::app::dialogs
