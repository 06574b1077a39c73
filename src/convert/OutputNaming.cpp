#include "convert/OutputNaming.h"

#include <algorithm>
#include <filesystem>

#include "options/OutputPhotoFormat.h"

namespace vellumo::convert {

bool IsSingleImageFormat(int32_t nOuptputFormat) {
    return nOuptputFormat == options::kFormatBmp || nOuptputFormat == options::kFormatJpg ||
           nOuptputFormat == options::kFormatPng;
}

std::string NumberedPath(const std::string& path, int number, int count) {
    const int width = static_cast<int>(std::to_string(std::max(count, 1)).size());
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    }

    // The extension starts at the last dot of the last component, unless that dot opens
    // the name (".jpg" alone is a name, not an extension).
    const size_t nameStart = path.find_last_of(
        std::string("/") + static_cast<char>(std::filesystem::path::preferred_separator));
    const size_t base = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= base) {
        dot = path.size();
    }
    return path.substr(0, dot) + "-" + digits + path.substr(dot);
}

std::string OutputPathForEntry(const std::string& path, int32_t nOuptputFormat, int index,
                               int count) {
    if (!IsSingleImageFormat(nOuptputFormat) || count <= 1) {
        return path;
    }
    return NumberedPath(path, index + 1, count);
}

}  // namespace vellumo::convert
