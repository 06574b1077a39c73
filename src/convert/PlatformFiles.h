#pragma once
// The few file operations of the engine that differ between platforms: unique
// temporary files, the existence test and replacing one file by another.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vellumo::convert {

// A file exists when it can be opened for reading as an existing regular file.
bool FileExists(const std::filesystem::path& path);

// Creates a new, empty file with a name no other process or run can hold at the same
// time: `folder` / `stem` + random characters + `suffix`. Nothing when the folder does not
// take new files.
std::optional<std::filesystem::path> CreateUniqueFile(const std::filesystem::path& folder,
                                                      std::string_view stem,
                                                      std::string_view suffix);

// Puts `from` in the place of `to` in one step (an existing `to` is replaced). False, with
// both files as they were, when that is impossible.
bool ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file; true when it is gone (or never was there).
bool RemoveFileIfPresent(const std::filesystem::path& path);

}  // namespace vellumo::convert
