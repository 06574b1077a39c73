#include "cli/ValueParsers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace vellumo::cli {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return out;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<int64_t> ParseSigned(std::string_view text) {
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<int32_t> ParseWholeNumber(std::string_view text, int32_t min, int32_t max) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    const auto value = ParseSigned(text);
    if (!value || *value < min || *value > max) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

std::optional<double> ParseDecimal(std::string_view text, double min, double max) {
    // Digits, at most one point, at least one digit: "2", "0.5", ".5", "2." are numbers;
    // "1e3", "nan", "inf" and "-1" are not.
    if (text.empty() || text.size() > 32 || std::count(text.begin(), text.end(), '.') > 1 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; }) ||
        std::none_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<SizeValue> ParseSize(std::string_view text, int32_t max) {
    const size_t cut = text.find_first_of("xX*");
    if (cut == std::string_view::npos) {
        return std::nullopt;
    }
    const auto width = ParseWholeNumber(text.substr(0, cut), 1, max);
    const auto height = ParseWholeNumber(text.substr(cut + 1), 1, max);
    if (!width || !height) {
        return std::nullopt;
    }
    return SizeValue{*width, *height};
}

std::optional<StretchValue> ParseStretch(std::string_view text, double min, double max) {
    const auto parts = Split(text, ',');
    if (parts.size() > 2) {
        return std::nullopt;
    }
    const auto horizontal = ParseDecimal(Trim(parts[0]), min, max);
    if (!horizontal) {
        return std::nullopt;
    }
    if (parts.size() == 1) {
        return StretchValue{*horizontal, *horizontal};
    }
    const auto vertical = ParseDecimal(Trim(parts[1]), min, max);
    if (!vertical) {
        return std::nullopt;
    }
    return StretchValue{*horizontal, *vertical};
}

std::optional<PositionValue> ParsePosition(std::string_view text) {
    const auto parts = Split(text, ',');
    if (parts.size() != 2) {
        return std::nullopt;
    }
    PositionValue position;
    for (size_t i = 0; i < 2; ++i) {
        const std::string_view part = Trim(parts[i]);
        const std::string_view digits = part.starts_with('-') ? part.substr(1) : part;
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit) ||
            !ParseSigned(part)) {
            return std::nullopt;
        }
        (i == 0 ? position.x : position.y) = std::string(part);
    }
    return position;
}

std::optional<options::CaptionFont> ParseFont(std::string_view text,
                                              const options::CaptionFont& base) {
    const auto parts = Split(text, ',');
    options::CaptionFont font = base;
    font.lfFaceName = std::string(Trim(parts[0]));
    if (font.lfFaceName.empty()) {
        return std::nullopt;
    }
    bool sizeSeen = false;
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string word = Lower(Trim(parts[i]));
        if (word == "bold") {
            font.lfWeight = 700;
        } else if (word == "italic") {
            font.lfItalic = 1;
        } else if (const auto size = ParseWholeNumber(word, 1, 1000); size && !sizeSeen) {
            font.lfHeight = -*size;
            sizeSeen = true;
        } else {
            return std::nullopt;
        }
    }
    return font;
}

std::optional<options::ColorRef> ParseColor(std::string_view text) {
    if (text.starts_with('#')) {
        text.remove_prefix(1);
    }
    if (text.size() != 6) {
        return std::nullopt;
    }
    uint32_t rgb = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    if (ec != std::errc() || end != text.data() + text.size() ||
        !std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    return options::MakeColorRef(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                 static_cast<uint8_t>(rgb));
}

}  // namespace vellumo::cli
