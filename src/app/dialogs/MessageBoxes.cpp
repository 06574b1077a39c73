#include "app/dialogs/MessageBoxes.h"

#include <QMessageBox>

#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

QMessageBox::Icon IconFor(const QString& caption, ui::MessageStyle style) {
    if (style != ui::MessageStyle::Ok) {
        return style == ui::MessageStyle::YesNoQuestion ? QMessageBox::Question
                                                        : QMessageBox::Warning;
    }
    const QString lower = caption.toLower();
    if (lower.contains(QStringLiteral("error"))) {
        return QMessageBox::Critical;
    }
    if (lower == QStringLiteral("warning") || caption == QLatin1String(texts::kApplicationName)) {
        // Field validation and other unnamed messages are warnings to correct something.
        return QMessageBox::Warning;
    }
    return QMessageBox::Information;
}

ui::Answer ShowQtMessageBox(QWidget* owner, const QString& text, const QString& caption,
                            ui::MessageStyle style) {
    QMessageBox box(IconFor(caption, style), caption, text, QMessageBox::NoButton, owner);
    if (style == ui::MessageStyle::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return ui::Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? ui::Answer::Yes : ui::Answer::No;
}

MessageFunction& CurrentFunction() {
    static MessageFunction function = ShowQtMessageBox;
    return function;
}

}  // namespace

ui::Answer ShowMessage(QWidget* owner, std::string_view text, std::string_view caption,
                       ui::MessageStyle style) {
    return CurrentFunction()(owner, ToQString(text), ToQString(caption), style);
}

MessageFunction SetMessageFunction(MessageFunction function) {
    MessageFunction previous = std::move(CurrentFunction());
    CurrentFunction() = function ? std::move(function) : MessageFunction(ShowQtMessageBox);
    return previous;
}

}  // namespace vellumo::app::dialogs
