#include "app/dialogs/FitText.h"

#include <QAbstractButton>
#include <QLabel>
#include <algorithm>

namespace vellumo::app {
namespace {

bool HoldsText(const QWidget* control) {
    return qobject_cast<const QLabel*>(control) != nullptr ||
           qobject_cast<const QAbstractButton*>(control) != nullptr;
}

// The extent of the window's controls, hidden ones included: a dialog shows and hides
// them as its options change, and must hold them all without changing its size.
QRect ControlsExtent(const QWidget* window) {
    QRect extent;
    for (const QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow()) {
            extent |= control->geometry();
        }
    }
    return extent;
}

}  // namespace

void GrowToFitText(QWidget* control) {
    const QSize hint = control->sizeHint();
    QRect box = control->geometry();
    const auto* label = qobject_cast<const QLabel*>(control);
    if (!(label != nullptr && label->wordWrap()) && box.width() < hint.width()) {
        box.setWidth(hint.width());
    }
    if (box.height() < hint.height()) {
        const int grow = hint.height() - box.height();
        box.adjust(0, -(grow / 2), 0, grow - grow / 2);
    }
    control->setGeometry(box);
}

void FitTextControls(QWidget* window) {
    const QRect before = ControlsExtent(window);
    const int rightMargin = window->width() - before.right();
    const int bottomMargin = window->height() - before.bottom();
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (HoldsText(control)) {
            GrowToFitText(control);
        }
    }
    const QRect after = ControlsExtent(window);
    window->setFixedSize(std::max(window->width(), after.right() + rightMargin),
                         std::max(window->height(), after.bottom() + bottomMargin));
}

}  // namespace vellumo::app
