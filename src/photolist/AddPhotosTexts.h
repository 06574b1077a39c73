#pragma once
// The texts that adding photos and the folder search show, in the system's own words.

#include <QtGlobal>
#include <string_view>

#include "base/Translate.h"

namespace vellumo::photolist::texts {

// A marked text in the user's language.
inline std::string TrUtf8(std::string_view source) {
    return base::TrUtf8("vellumo-engine", source);
}

inline constexpr std::string_view kCanNotActiveAFrame =
    QT_TRANSLATE_NOOP("vellumo-engine", "Can not Active a Frame");
inline constexpr std::string_view kErrorCaption = QT_TRANSLATE_NOOP("vellumo-engine", "Error");
// Followed by the file's path.
inline constexpr std::string_view kFailedGetStatusFrom =
    QT_TRANSLATE_NOOP("vellumo-engine", "Failed file.GetStatus from ");
// Both follow the searched folder's path.
inline constexpr std::string_view kOccursError =
    QT_TRANSLATE_NOOP("vellumo-engine", " occurs error!");
inline constexpr std::string_view kNotARightDirectory =
    QT_TRANSLATE_NOOP("vellumo-engine", " is not a right directory");
// Follows a subfolder's path and the system's reason for not reading it.
inline constexpr std::string_view kFolderSkipped =
    QT_TRANSLATE_NOOP("vellumo-engine", "; the folder is skipped");

// The open-error text shown for a file whose time cannot be read is cut to this length.
inline constexpr size_t kMaxOpenErrorText = 254;

}  // namespace vellumo::photolist::texts
