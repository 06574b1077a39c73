#include "imaging/Caption.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

#include "base/QtText.h"

namespace vellumo::imaging {
namespace {

constexpr int32_t kDefaultPixelHeight = 13;  // the record's own default, -13

QFont::Weight WeightOf(int32_t lfWeight) {
    // The record uses the same 100..900 scale as Qt; 0 means "normal".
    if (lfWeight <= 0) {
        return QFont::Normal;
    }
    return static_cast<QFont::Weight>(std::clamp(lfWeight, 1, 1000));
}

QFont FontFrom(const options::CaptionFont& record) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    const QString face = QString::fromStdString(record.lfFaceName);
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        font.setFamily(face);
    }
    font.setWeight(WeightOf(record.lfWeight));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);

    // Negative: height of the characters (the em) in pixels. Positive: height of the
    // character cell, ascent plus descent, which we reach by measuring once.
    if (record.lfHeight < 0) {
        font.setPixelSize(std::max(1, -record.lfHeight));
    } else if (record.lfHeight > 0) {
        font.setPixelSize(record.lfHeight);
        const double cell = QFontMetricsF(font).height();
        if (cell > 0) {
            const double em = record.lfHeight * record.lfHeight / cell;
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(em))));
        }
    } else {
        font.setPixelSize(kDefaultPixelHeight);
    }

    // A non-zero width asks for characters of that average width: stretch to it.
    if (record.lfWidth > 0) {
        const double natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0) {
            const int stretch = static_cast<int>(std::lround(100.0 * record.lfWidth / natural));
            font.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return font;
}

}  // namespace

bool DrawCaption(PageBitmap& page, int32_t x, int32_t y, std::string_view text,
                 const options::CaptionFont& font, options::ColorRef colour) {
    // Fonts need the platform's font database, which exists only with a GUI application.
    if (page.empty() || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    if (text.empty()) {
        return true;
    }
    // Paint straight into the page's memory: no copy of the page is made.
    QImage surface(page.data(), page.width(), page.height(), static_cast<qsizetype>(page.stride()),
                   QImage::Format_RGB888);
    if (surface.isNull()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&surface)) {
        return false;
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(FontFrom(font));
    painter.setPen(
        QColor(options::RedOf(colour), options::GreenOf(colour), options::BlueOf(colour)));
    // A zero-size rectangle anchored at (x, y) with no clipping: the text is laid out from
    // its top-left corner, breaks only at line breaks in the text, and is never cut.
    const QString line = base::ToQString(text);
    painter.drawText(QRectF(x, y, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, line);
    return painter.end();
}

}  // namespace vellumo::imaging
