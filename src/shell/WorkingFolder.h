#pragma once
// The per-user working folder ("Vellumo" inside the user's pictures folder), created on
// demand, and the folder-valued settings whose default it is.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "options/Reporter.h"
#include "shell/SettingsStore.h"

namespace vellumo::shell {

inline constexpr std::string_view kWorkingFolderName = "Vellumo";

// Where the user's pictures folder is; nullopt when the platform cannot tell.
using PicturesFolderQuery = std::function<std::optional<std::string>()>;

// The platform's answer (QStandardPaths::PicturesLocation), in native separators.
std::optional<std::string> SystemPicturesFolder();

// The default of a folder setting when the pictures folder is unknown: the user's home
// folder, ending in the separator. (A drive root is not writable for users here.)
std::string FolderFallback();

// Reads the folder-valued setting (section, key). Its default is the working folder:
// the pictures folder, the fallback's part from its last separator on, then "Vellumo"
// and a separator; the folder is created when missing. Failures are reported and give
// other defaults:
//   pictures folder unknown   -> "Can not get My Documents directory!" ("Error"), fallback
//   folder cannot be created  -> "Can not create the directory" (the folder as caption),
//                                the pictures folder followed by the separator
// The stored value, when there is one, is returned as stored.
std::string ResolveFolderSetting(SettingsStore& store, std::string_view section,
                                 std::string_view key, const std::string& fallback,
                                 options::Reporter& reporter,
                                 const PicturesFolderQuery& picturesFolder = SystemPicturesFolder);

}  // namespace vellumo::shell
