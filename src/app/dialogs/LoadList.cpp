#include "app/dialogs/LoadList.h"

#include <QFileDialog>

#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

QString PickWithDialog(QWidget* owner, const QString& title, const QString& folder,
                       const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, folder, filter);
}

OpenFileFunction& CurrentFunction() {
    static OpenFileFunction function = PickWithDialog;
    return function;
}

}  // namespace

OpenFileFunction SetOpenFileFunction(OpenFileFunction function) {
    OpenFileFunction previous = std::move(CurrentFunction());
    CurrentFunction() = function ? std::move(function) : OpenFileFunction(PickWithDialog);
    return previous;
}

QString LoadListCommand(QWidget* owner, const std::string& outputFolder) {
    return CurrentFunction()(owner, texts::Tr(texts::kLoadListTitle),
                             QString::fromStdString(outputFolder),
                             texts::Tr(texts::kLoadListFilter));
}

}  // namespace vellumo::app::dialogs
