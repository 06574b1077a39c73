#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "base/QtText.h"

#ifndef VELLUMO_TRANSLATIONS_RELATIVE_DIR
#error "VELLUMO_TRANSLATIONS_RELATIVE_DIR is set by the build"
#endif
#ifndef VELLUMO_BUILD_TRANSLATIONS_DIR
#error "VELLUMO_BUILD_TRANSLATIONS_DIR is set by the build"
#endif

namespace vellumo::shell {

QStringList TranslationNames(const QStringList& uiLanguages) {
    QStringList names;
    for (QString language : uiLanguages) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        if (language == QLatin1String("C") || language == QLatin1String("en") ||
            language.startsWith(QLatin1String("en_"))) {
            break;  // the source texts are English
        }
        names.append(QStringLiteral("vellumo_") + language);
    }
    return names;
}

std::vector<std::filesystem::path> TranslationFolders(
    const std::filesystem::path& executableFolder) {
    std::vector<std::filesystem::path> folders;
    if (!executableFolder.empty()) {
        folders.push_back((executableFolder / base::PathFromUtf8(VELLUMO_TRANSLATIONS_RELATIVE_DIR))
                              .lexically_normal());
    }
    folders.push_back(base::PathFromUtf8(VELLUMO_BUILD_TRANSLATIONS_DIR));
    return folders;
}

QString InstallTranslations() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return {};
    }
    const QStringList names = TranslationNames(QLocale::system().uiLanguages());
    const auto folders = TranslationFolders(
        base::PathFromUtf8(base::ToUtf8(QCoreApplication::applicationDirPath())));
    auto* own = new QTranslator(application);
    for (const QString& name : names) {
        for (const auto& folder : folders) {
            // load() also tries the name cut at its last '_' (vellumo_de for vellumo_de_AT).
            if (!own->load(name, base::ToQString(folder))) {
                continue;
            }
            QCoreApplication::installTranslator(own);
            const QString language = own->language();
            auto* qt = new QTranslator(application);
            if (qt->load(QStringLiteral("qtbase_") + language,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
                QCoreApplication::installTranslator(qt);
            }
            return language;
        }
    }
    delete own;
    return {};
}

}  // namespace vellumo::shell
