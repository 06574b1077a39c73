#pragma once
// The window's file dialogs and folder picker, as replaceable functions so that tests
// can answer them. Paths are UTF-8 in native separators; a cancelled dialog gives an
// empty result.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vellumo::app {

// One filter of a file dialog: the text the user sees and the patterns it admits.
struct FileFilter {
    QString description;
    QStringList patterns;
};

struct OpenFilesRequest {
    QString title;
    std::string initialFolder;
    std::vector<FileFilter> filters;  // the first one is selected
};

struct SaveFileRequest {
    QString title;
    std::string initialFolder;
    FileFilter filter;
};

struct Interaction {
    // Several existing files; empty when cancelled.
    std::function<std::vector<std::string>(QWidget* owner, const OpenFilesRequest&)> openFiles;
    // One file name (not checked for existence, no overwrite prompt); nullopt when cancelled.
    std::function<std::optional<std::string>(QWidget* owner, const SaveFileRequest&)> saveFile;
    // One existing folder; nullopt when cancelled.
    std::function<std::optional<std::string>(QWidget* owner, const QString& title)> chooseFolder;
};

// The real dialogs (QFileDialog).
Interaction DefaultInteraction();

// The filters of Add Photos: the photo formats, then any file.
std::vector<FileFilter> PhotoFileFilters();

}  // namespace vellumo::app
