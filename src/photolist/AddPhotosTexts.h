#pragma once
// The texts that adding photos and the folder search show, in the system's own words.

#include <string_view>

namespace vellumo::photolist::texts {

inline constexpr std::string_view kCanNotActiveAFrame = "Can not Active a Frame";
inline constexpr std::string_view kErrorCaption = "Error";
// Followed by the file's path.
inline constexpr std::string_view kFailedGetStatusFrom = "Failed file.GetStatus from ";
// Both follow the searched folder's path.
inline constexpr std::string_view kOccursError = " occurs error!";
inline constexpr std::string_view kNotARightDirectory = " is not a right directory";
// Follows a subfolder's path and the system's reason for not reading it.
inline constexpr std::string_view kFolderSkipped = "; the folder is skipped";

// The open-error text shown for a file whose time cannot be read is cut to this length.
inline constexpr size_t kMaxOpenErrorText = 254;

}  // namespace vellumo::photolist::texts
