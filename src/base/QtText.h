#pragma once
// UTF-8 texts and paths of the program as Qt strings, and back.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/Utf8Path.h"

namespace vellumo::base {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// These two only keep a string or literal from meaning a path as well.
inline QString ToQString(const std::string& text) {
    return ToQString(std::string_view(text));
}
inline QString ToQString(const char* text) {
    return ToQString(std::string_view(text));
}

inline QString ToQString(const std::filesystem::path& path) {
    return ToQString(std::string_view(Utf8FromPath(path)));
}

inline std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

}  // namespace vellumo::base
