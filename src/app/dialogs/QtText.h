#pragma once
// UTF-8 texts of the program as Qt strings.

#include <QString>
#include <string_view>

namespace vellumo::app::dialogs {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace vellumo::app::dialogs
