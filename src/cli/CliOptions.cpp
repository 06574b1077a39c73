#include "cli/CliOptions.h"

#include <algorithm>
#include <string_view>

#include "cli/CliText.h"
#include "cli/OptionTable.h"

namespace vellumo::cli {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return out;
}

class Parser {
  public:
    ParseResult Run(const std::vector<std::string>& args);

  private:
    bool Apply(const OptionRow& row, const std::string& name, const std::string& value) {
        options_.given.emplace_back(row.longName);
        return row.apply(state_, name, value);
    }
    bool LongOption(const std::string& arg, const std::vector<std::string>& args, size_t& i);
    bool ShortOptions(const std::string& arg, const std::vector<std::string>& args, size_t& i);
    bool Finish();

    CliOptions options_;
    ParseState state_{options_, {}, {}};
};

bool Parser::LongOption(const std::string& arg, const std::vector<std::string>& args, size_t& i) {
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionRow* row = FindOption(name);
    if (row == nullptr) {
        return state_.Fail(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "unknown option '%1'"), {name}));
    }
    if (row->valueName == nullptr) {
        if (equals != std::string::npos) {
            return state_.Fail(
                Tr(QT_TRANSLATE_NOOP("vellumo-cli", "option '%1' takes no value"), {name}));
        }
        return Apply(*row, name, {});
    }
    if (equals != std::string::npos) {
        return Apply(*row, name, arg.substr(equals + 1));
    }
    if (i + 1 >= args.size()) {
        return state_.Fail(
            Tr(QT_TRANSLATE_NOOP("vellumo-cli", "option '%1' needs a value"), {name}));
    }
    return Apply(*row, name, args[++i]);
}

bool Parser::ShortOptions(const std::string& arg, const std::vector<std::string>& args, size_t& i) {
    for (size_t k = 1; k < arg.size(); ++k) {
        const std::string name = std::string("-") + arg[k];
        const OptionRow* row = FindShortOption(arg[k]);
        if (row == nullptr) {
            return state_.Fail(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "unknown option '%1'"), {name}));
        }
        if (row->valueName == nullptr) {
            if (!Apply(*row, name, {})) {
                return false;
            }
            continue;
        }
        // A value option ends the group: the rest of it, or the next argument, is its value.
        if (k + 1 < arg.size()) {
            return Apply(*row, name, arg.substr(k + 1));
        }
        if (i + 1 >= args.size()) {
            return state_.Fail(
                Tr(QT_TRANSLATE_NOOP("vellumo-cli", "option '%1' needs a value"), {name}));
        }
        return Apply(*row, name, args[++i]);
    }
    return true;
}

bool Parser::Finish() {
    switch (options_.mode) {
        case Mode::Help:
        case Mode::Version:
            return true;
        case Mode::Info:
            if (options_.inputs.empty()) {
                return state_.Fail(
                    Tr(QT_TRANSLATE_NOOP("vellumo-cli", "--info needs at least one file")));
            }
            return true;
        case Mode::List:
            if (options_.inputs.empty()) {
                return state_.Fail(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "no input photos given")));
            }
            return true;
        case Mode::Convert:
            break;
    }
    if (options_.inputs.empty()) {
        return state_.Fail(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "no input photos given")));
    }
    if (options_.output.empty()) {
        return state_.Fail(
            Tr(QT_TRANSLATE_NOOP("vellumo-cli", "no output file given (-o OUTPUT)")));
    }
    if (!options_.formatGiven) {
        const auto format = FormatFromOutputPath(options_.output);
        if (!format) {
            return state_.Fail(
                Tr(QT_TRANSLATE_NOOP("vellumo-cli",
                                     "%1: the extension names no output format; the formats are "
                                     "%2 (use --format to force one)"),
                   {options_.output, FormatList()}));
        }
        options_.record.nOuptputFormat = *format;
    }
    if (options_.append && options_.record.nOuptputFormat != options::kFormatTif) {
        return state_.Fail(
            Tr(QT_TRANSLATE_NOOP("vellumo-cli", "--append adds pages to a TIFF only")));
    }
    if (options_.append && options_.output == "-") {
        return state_.Fail(Tr(QT_TRANSLATE_NOOP(
            "vellumo-cli", "--append needs an output file, not standard output")));
    }
    return true;
}

ParseResult Parser::Run(const std::vector<std::string>& args) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size() && state_.error.empty(); ++i) {
        const std::string& arg = args[i];
        // "-" alone is an input: standard input.
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options_.inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg.starts_with("--")) {
            LongOption(arg, args, i);
        } else {
            ShortOptions(arg, args, i);
        }
    }
    if (state_.error.empty()) {
        Finish();
    }
    ParseResult result;
    if (state_.error.empty()) {
        result.options = std::move(options_);
    } else {
        result.error = state_.error;
    }
    return result;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    return Parser().Run(args);
}

std::optional<int32_t> FormatFromOutputPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot + 1 == path.size()) {
        return options::kFormatTif;
    }
    const std::string extension = Lower(path.substr(dot + 1));
    for (const FormatName& format : FormatNames()) {
        if (extension == format.name) {
            return format.format;
        }
    }
    return std::nullopt;
}

std::vector<std::string> OptionWarnings(const CliOptions& options) {
    const int32_t format = options.record.nOuptputFormat;
    std::vector<std::string> warnings;
    std::vector<std::string> seen;
    for (const std::string& name : options.given) {
        const OptionRow* row = FindOption(name);
        if (row == nullptr || std::find(seen.begin(), seen.end(), name) != seen.end()) {
            continue;
        }
        seen.push_back(name);
        bool applies = row->formats == kForAll || (row->formats & (1u << format)) != 0;
        // Quality sets the JPEG encoder only: that of JPEG files and of JPEG compression.
        if (applies && name == "--quality" && format != options::kFormatJpg) {
            applies = options.compression == imaging::TiffCompression::Jpeg;
        }
        if (applies && name == "--compression" && format == options::kFormatPdf) {
            applies = options.compression == imaging::TiffCompression::Jpeg;
        }
        if (!applies) {
            warnings.push_back(Tr(
                QT_TRANSLATE_NOOP("vellumo-cli", "%1 does nothing for this output and is ignored"),
                {name}));
        }
    }
    return warnings;
}

}  // namespace vellumo::cli
