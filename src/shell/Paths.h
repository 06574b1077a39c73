#pragma once
// Folder helpers. Every folder that is stored or joined ends in the native separator.

#include <string>

namespace vellumo::shell {

// The platform's path separator ('/' here, '\' on Windows).
char NativeSeparator();

// Appends the separator unless the text already ends in one; empty text becomes it.
std::string EnsureTrailingBackslash(const std::string& text);

// The path up to and including its last separator; a path without one gives "".
std::string FolderOfPath(const std::string& path);

}  // namespace vellumo::shell
