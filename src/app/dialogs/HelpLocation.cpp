#include "app/dialogs/HelpLocation.h"

#include <QCoreApplication>
#include <system_error>

#include "app/dialogs/Texts.h"
#include "base/Utf8Path.h"

#ifndef VELLUMO_HELP_RELATIVE_DIR
#error "VELLUMO_HELP_RELATIVE_DIR is set by the build"
#endif
#ifndef VELLUMO_SOURCE_HELP_DIR
#error "VELLUMO_SOURCE_HELP_DIR is set by the build"
#endif

namespace vellumo::app::dialogs {

std::vector<std::filesystem::path> HelpFolderCandidates(
    const std::filesystem::path& executableFolder) {
    std::vector<std::filesystem::path> folders;
    if (!executableFolder.empty()) {
        folders.push_back(
            (executableFolder / base::PathFromUtf8(VELLUMO_HELP_RELATIVE_DIR)).lexically_normal());
        folders.push_back(executableFolder / "help");
    }
    folders.push_back(base::PathFromUtf8(VELLUMO_SOURCE_HELP_DIR));
    return folders;
}

std::optional<std::filesystem::path> FindHelpEntryPage(
    const std::vector<std::filesystem::path>& folders) {
    for (const auto& folder : folders) {
        const auto page = folder / base::PathFromUtf8(texts::kHelpEntryPage);
        std::error_code error;
        if (std::filesystem::is_regular_file(page, error)) {
            return page;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> FindHelpEntryPage() {
    const QString folder = QCoreApplication::applicationDirPath();
    const QByteArray utf8 = folder.toUtf8();
    return FindHelpEntryPage(
        HelpFolderCandidates(base::PathFromUtf8(std::string_view(utf8.constData(), utf8.size()))));
}

}  // namespace vellumo::app::dialogs
