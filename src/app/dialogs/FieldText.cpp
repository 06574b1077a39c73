#include "app/dialogs/FieldText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vellumo::app::dialogs {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// from_chars takes no leading '+'; accept it like a typed sign, but only before a digit
// or point so "+-1" stays invalid.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

std::string FormatInteger(int32_t value) {
    return std::to_string(value);
}

std::string FormatFactor(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    if (result.ec != std::errc()) {
        return {};
    }
    return std::string(buffer.data(), result.ptr);
}

std::optional<int32_t> ParseInteger(std::string_view text) {
    text = WithoutPlus(Trimmed(text));
    if (text.empty()) {
        return std::nullopt;
    }
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = WithoutPlus(Trimmed(text));
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string FillBounds(std::string_view pattern, std::string_view first, std::string_view second) {
    std::string out;
    out.reserve(pattern.size() + first.size() + second.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace vellumo::app::dialogs
