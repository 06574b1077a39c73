#include "app/dialogs/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace vellumo::app::dialogs {
namespace {

// Multiplies and divides with rounding half away from zero, as dialog layouts do.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // Average width over the 52 letters, rounded.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
}

int DialogUnits::x(int units) const {
    return ScaleRounded(units, baseWidth_, 4);
}
int DialogUnits::y(int units) const {
    return ScaleRounded(units, baseHeight_, 8);
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return QRect(x(left), y(top), x(width), y(height));
}

QSize DialogUnits::size(int width, int height) const {
    return QSize(x(width), y(height));
}

void DialogUnits::place(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(rect(left, top, width, height));
}

}  // namespace vellumo::app::dialogs
