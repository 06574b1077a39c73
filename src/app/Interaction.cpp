#include "app/Interaction.h"

#include <QDir>
#include <QFileDialog>

#include "app/AppTexts.h"
#include "base/QtText.h"

namespace vellumo::app {
namespace {

using base::ToQString;

// "description (patterns)": the dialog reads the patterns from the last parentheses and,
// with the details hidden, shows only the description.
QString FilterText(const FileFilter& filter) {
    return filter.description + QStringLiteral(" (") + filter.patterns.join(' ') + ')';
}

QString InitialFolder(const std::string& folder) {
    return folder.empty() ? QString() : QString::fromStdString(folder);
}

std::string ToNative(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

std::vector<std::string> OpenFiles(QWidget* owner, const OpenFilesRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters << FilterText(filter);
    }
    QFileDialog dialog(owner, request.title, InitialFolder(request.initialFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.front());
    }
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(ToNative(file));
        }
    }
    return chosen;
}

std::optional<std::string> SaveFile(QWidget* owner, const SaveFileRequest& request) {
    // The filter is shown as given, so its own parentheses name the pattern.
    const QString filter = request.filter.description;
    const QString chosen =
        QFileDialog::getSaveFileName(owner, request.title, InitialFolder(request.initialFolder),
                                     filter, nullptr, QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToNative(chosen);
}

std::optional<std::string> ChooseFolder(QWidget* owner, const QString& title) {
    const QString chosen =
        QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToNative(chosen);
}

// A pattern list written with ';' as the platform dialogs know it, plus upper-case
// forms: file names are case-sensitive here, extensions were not where the list comes
// from.
QStringList PatternsOf(std::string_view list) {
    QStringList patterns;
    for (const QString& pattern : ToQString(list).split(';', Qt::SkipEmptyParts)) {
        patterns << pattern;
        if (pattern.toUpper() != pattern) {
            patterns << pattern.toUpper();
        }
    }
    return patterns;
}

}  // namespace

Interaction DefaultInteraction() {
    return {OpenFiles, SaveFile, ChooseFolder};
}

std::vector<FileFilter> PhotoFileFilters() {
    return {
        {texts::Tr(texts::kPhotoFilesDescription), PatternsOf(texts::kPhotoFilesPattern)},
        // Every file: names without a dot included.
        {texts::Tr(texts::kAnyFilesDescription), {QStringLiteral("*")}},
    };
}

}  // namespace vellumo::app
