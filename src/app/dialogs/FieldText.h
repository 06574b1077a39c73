#pragma once
// How the options dialog writes numbers into its edit boxes and reads them back:
// whole numbers in decimal, factors with up to 15 significant digits in the shortest
// form (1.0 shows as "1"), independent of the user's locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellumo::app::dialogs {

std::string FormatInteger(int32_t value);
std::string FormatFactor(double value);

// A 32-bit integer with an optional sign, blanks allowed around it; nullopt for
// anything else (empty text, trailing characters, out of range).
std::optional<int32_t> ParseInteger(std::string_view text);

// A finite decimal floating-point number ("2", "-0.5", "1e-3"), blanks allowed
// around it; nullopt for anything else, including "inf" and "nan".
std::optional<double> ParseNumber(std::string_view text);

// `pattern` with "%1" and "%2" replaced by the two texts.
std::string FillBounds(std::string_view pattern, std::string_view first, std::string_view second);

}  // namespace vellumo::app::dialogs
