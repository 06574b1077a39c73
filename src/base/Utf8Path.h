#pragma once
// Text and paths are UTF-8 std::string throughout the program; these are its only
// conversions to and from std::filesystem::path, so a name is never re-encoded on the way.

#include <filesystem>
#include <string>
#include <string_view>

namespace vellumo::base {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
#ifdef _WIN32
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
#else
    // Paths are bytes here; names that are not valid UTF-8 must pass unchanged.
    return std::filesystem::path(std::string(text));
#endif
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
#else
    return path.native();
#endif
}

}  // namespace vellumo::base
