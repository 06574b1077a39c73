#include "shell/Paths.h"

#include <filesystem>

namespace vellumo::shell {

char NativeSeparator() {
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

std::string EnsureTrailingBackslash(const std::string& text) {
    if (!text.empty() && text.back() == NativeSeparator()) {
        return text;
    }
    return text + NativeSeparator();
}

std::string FolderOfPath(const std::string& path) {
    const auto cut = path.rfind(NativeSeparator());
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace vellumo::shell
