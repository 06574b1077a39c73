#include "app/dialogs/DialogUnits.h"

#include <QFontMetrics>
#include <algorithm>

namespace vellumo::app {
namespace {

// Scales with rounding half away from zero, as the platform's MulDiv does.
int Scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
}

int DialogUnits::ToPixelsX(int units) const {
    return Scale(units, baseWidth_, 4);
}
int DialogUnits::ToPixelsY(int units) const {
    return Scale(units, baseHeight_, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height)};
}

}  // namespace vellumo::app
