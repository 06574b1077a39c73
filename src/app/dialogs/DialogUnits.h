#pragma once
// Dialog units: control positions are given in units of the dialog font (a quarter of
// its average character width across, an eighth of its height down), so the window
// keeps its proportions with any platform font.

#include <QFont>
#include <QRect>

namespace vellumo::app {

class DialogUnits {
  public:
    // Base units of `font`: average width of the 52 Latin letters and the line height.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

  private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace vellumo::app
