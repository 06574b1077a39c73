#pragma once
// Where the help pages are: the data folder of an installed program (found from the
// executable's folder), a "help" folder beside the executable, or the source tree
// of a development build.

#include <filesystem>
#include <optional>
#include <vector>

namespace vellumo::app::dialogs {

// The folders searched, in order, for a program running from `executableFolder`.
std::vector<std::filesystem::path> HelpFolderCandidates(
    const std::filesystem::path& executableFolder);

// The first "Introduction.htm" found in `folders`.
std::optional<std::filesystem::path> FindHelpEntryPage(
    const std::vector<std::filesystem::path>& folders);

// The entry page for the running program.
std::optional<std::filesystem::path> FindHelpEntryPage();

}  // namespace vellumo::app::dialogs
