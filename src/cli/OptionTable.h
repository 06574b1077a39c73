#pragma once
// The one table of vellumo-cli's options. The parser, --help, the man page and the shell
// completions are all made from it, so an option is added by adding one row.

#include <span>
#include <string>

#include "cli/CliOptions.h"

namespace vellumo::cli {

// What the parser keeps while it reads one command line.
struct ParseState {
    CliOptions& options;
    std::string error;           // the first problem found
    std::string sizeOptionName;  // the size option given, of those that exclude each other

    bool Fail(std::string message);
    // "invalid value 'VALUE' for NAME (expected EXPECTED)"; EXPECTED is a source text.
    bool BadValue(const std::string& name, const std::string& value, const char* expected);
    // Records a size option; fails when another one was given.
    bool SetSizeOption(const std::string& name);
};

// The groups of --help, in order.
enum class OptionGroup { Inputs, PageSize, Output, Metadata, Caption, Other };

// What a shell may offer after an option.
enum class ValueKind { None, Text, File, Words };

// Formats an option applies to (bits); an option given for another format is warned about.
inline constexpr unsigned kForAll = 0;
inline constexpr unsigned kForTif = 1u << options::kFormatTif;
inline constexpr unsigned kForBmp = 1u << options::kFormatBmp;
inline constexpr unsigned kForJpg = 1u << options::kFormatJpg;
inline constexpr unsigned kForPng = 1u << options::kFormatPng;
inline constexpr unsigned kForPdf = 1u << options::kFormatPdf;

struct OptionRow {
    const char* longName;   // "--width"
    char shortName;         // 'o', or 0 for none
    const char* valueName;  // "W"; null for a flag
    OptionGroup group;
    ValueKind kind;
    const char* words;  // the values a shell offers for ValueKind::Words, blank-separated
    unsigned formats;   // kForAll or the formats the option applies to
    const char* help;   // source text of the help line
    // Applies the option; `value` is empty for a flag. False after ParseState::Fail.
    bool (*apply)(ParseState& state, const std::string& name, const std::string& value);
};

std::span<const OptionRow> OptionTable();

// The row of a long name ("--width") or of a short letter; null when there is none.
const OptionRow* FindOption(std::string_view longName);
const OptionRow* FindShortOption(char letter);

// The help text of the option groups, in the user's language.
std::string GroupTitle(OptionGroup group);

// The output formats by name, as --format takes them and as output extensions imply.
struct FormatName {
    const char* name;
    int32_t format;
};
std::span<const FormatName> FormatNames();
// "tif, pdf, bmp, jpg, png": the names a user may choose from.
std::string FormatList();

}  // namespace vellumo::cli
