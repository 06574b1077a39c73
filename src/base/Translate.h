#pragma once
// The user-visible texts in the user's language. Each module keeps its texts in English
// in one header, marked with QT_TRANSLATE_NOOP(context, text) so that lupdate finds
// them; these look them up in the translation the program installed. Without one
// (English, C or a language with no translation) the English text comes back unchanged.

#include <QCoreApplication>
#include <QString>
#include <string>
#include <string_view>

namespace vellumo::base {

inline QString Tr(const char* context, std::string_view source) {
    const std::string text(source);  // the lookup wants it NUL-terminated
    return QCoreApplication::translate(context, text.c_str());
}

inline std::string TrUtf8(const char* context, std::string_view source) {
    return Tr(context, source).toStdString();
}

}  // namespace vellumo::base
