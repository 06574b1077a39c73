#pragma once
// Parsers for the values of command-line options. Each accepts the whole text or
// nothing: trailing junk, signs where none belong and out-of-range numbers give nullopt.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/CaptionFont.h"

namespace vellumo::cli {

// A decimal whole number in [min, max].
std::optional<int32_t> ParseWholeNumber(std::string_view text, int32_t min, int32_t max);

// A decimal number (digits with an optional fraction, no exponent) in [min, max].
std::optional<double> ParseDecimal(std::string_view text, double min, double max);

struct SizeValue {
    int32_t width = 0;
    int32_t height = 0;
};
// "WxH" (or "W*H"), each side in [1, max].
std::optional<SizeValue> ParseSize(std::string_view text, int32_t max);

struct StretchValue {
    double horizontal = 1.0;
    double vertical = 1.0;
};
// "H" (both factors) or "H,V", each in [min, max].
std::optional<StretchValue> ParseStretch(std::string_view text, double min, double max);

struct PositionValue {
    std::string x;
    std::string y;
};
// "X,Y" with two whole numbers (a minus sign allowed); kept as text, since the engine
// reads the caption position boxes as text.
std::optional<PositionValue> ParsePosition(std::string_view text);

// "FAMILY[,SIZE][,bold][,italic]": SIZE is the character height in pixels (1 to 1000),
// the words in any order and case. Members not named keep their value in `base`.
std::optional<options::CaptionFont> ParseFont(std::string_view text,
                                              const options::CaptionFont& base);

// "#RRGGBB" (the '#' may be left out), hexadecimal digits in either case.
std::optional<options::ColorRef> ParseColor(std::string_view text);

}  // namespace vellumo::cli
