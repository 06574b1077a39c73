#include "app/dialogs/MessageBoxes.h"

#include "app/dialogs/Texts.h"
#include "base/QtText.h"
#include "ui/qt/QtToolkit.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

MessageFunction& CurrentFunction() {
    static MessageFunction function = ui::qt::ShowMessageBox;
    return function;
}

}  // namespace

ui::Answer ShowMessage(QWidget* owner, std::string_view text, std::string_view caption,
                       ui::MessageStyle style) {
    return CurrentFunction()(owner, ToQString(text), ToQString(caption), style);
}

MessageFunction SetMessageFunction(MessageFunction function) {
    MessageFunction previous = std::move(CurrentFunction());
    CurrentFunction() = function ? std::move(function) : MessageFunction(ui::qt::ShowMessageBox);
    return previous;
}

}  // namespace vellumo::app::dialogs
