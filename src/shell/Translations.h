#pragma once
// Chooses the program's language from the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
// and installs its translation, and Qt's own for the same language, on the application.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <vector>

namespace vellumo::shell {

// The translation files to try for the user's preferred languages, best first, as
// "vellumo_de_DE", "vellumo_de"...; empty when the first preference is English or C:
// the English source texts need no translation, even if another language follows.
QStringList TranslationNames(const QStringList& uiLanguages);

// Where the translations lie: beside the installed program, then in the build tree.
std::vector<std::filesystem::path> TranslationFolders(
    const std::filesystem::path& executableFolder);

// Installs the first translation found for the system locale (and Qt's own texts in
// that language). Returns the language installed ("de"), empty when none was.
QString InstallTranslations();

}  // namespace vellumo::shell
