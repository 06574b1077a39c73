#pragma once
// Names as the terminal may safely show them: a file name can hold any byte but '/' and
// NUL, and a newline or an escape sequence in one must neither start a forged line nor
// reach the terminal as a command.

#include <string>
#include <string_view>

namespace vellumo::cli {

// `text` with every control character (C0, DEL, and C1 as UTF-8 encodes it) and the
// backslash written as a C-style escape: "\n", "\t", "\r", "\\" or "\xNN".
std::string Printable(std::string_view text);

}  // namespace vellumo::cli
