#pragma once
// The "load list" command: a file picker for list files in the output folder. The
// program does not read list files; the choice is returned and otherwise unused.

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace vellumo::app::dialogs {

// Shows an open-file dialog; the chosen existing file, or an empty text on Cancel.
using OpenFileFunction = std::function<QString(QWidget* owner, const QString& title,
                                               const QString& folder, const QString& filter)>;
OpenFileFunction SetOpenFileFunction(OpenFileFunction function);

QString LoadListCommand(QWidget* owner, const std::string& outputFolder);

}  // namespace vellumo::app::dialogs
