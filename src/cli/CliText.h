#pragma once
// The command line's own texts go through Qt's translation system in one context,
// "vellumo-cli", the English text being the source. Placeholders are %1, %2, ...

#include <QCoreApplication>
#include <initializer_list>
#include <string>

namespace vellumo::cli {

inline constexpr const char* kTextContext = "vellumo-cli";

// `source` in the user's language with %1, %2, ... replaced by `args` in order.
inline std::string Tr(const char* source, std::initializer_list<std::string> args = {}) {
    QString text = QCoreApplication::translate(kTextContext, source);
    for (const std::string& arg : args) {
        text = text.arg(QString::fromStdString(arg));
    }
    return text.toStdString();
}

}  // namespace vellumo::cli
