#include "cli/HelpText.h"

#include <sstream>

#include "cli/CliText.h"
#include "cli/OptionTable.h"

namespace vellumo::cli {
namespace {

constexpr const char* kSynopsis[] = {"[options] INPUT... -o OUTPUT", "--list [options] INPUT...",
                                     "--info FILE..."};
constexpr const char* kDescription = QT_TRANSLATE_NOOP(
    "vellumo-cli",
    "Combines photos into one multi-page TIFF or PDF (or BMP, JPEG or PNG files), one page "
    "per frame of every input, in the order given. An INPUT of - is read from standard "
    "input.");
constexpr const char* kReplaceNote = QT_TRANSLATE_NOOP(
    "vellumo-cli",
    "Without -y, an existing OUTPUT is replaced only after you agree on the terminal; when "
    "nobody can answer, it is left alone. A run stopped with Ctrl-C keeps the pages "
    "written.");
constexpr const char* kExitNote = QT_TRANSLATE_NOOP(
    "vellumo-cli",
    "Exit status: 0 every page written, 1 some photos failed (the output holds the "
    "others), 2 usage error or nothing written.");

constexpr OptionGroup kGroups[] = {OptionGroup::Inputs,  OptionGroup::PageSize,
                                   OptionGroup::Output,  OptionGroup::Metadata,
                                   OptionGroup::Caption, OptionGroup::Other};

// "-o, --output OUTPUT" as --help shows it.
std::string Spelling(const OptionRow& row) {
    std::string text = row.shortName != 0 ? std::string("-") + row.shortName + ", " : "    ";
    text += row.longName;
    if (row.valueName != nullptr) {
        text += std::string(" ") + row.valueName;
    }
    return text;
}

// Breaks `text` into lines of at most `width` characters, each after `indent` blanks.
std::string Wrap(const std::string& text, size_t width, size_t indent, size_t firstUsed) {
    std::istringstream words(text);
    std::string out;
    std::string word;
    size_t used = firstUsed;
    bool lineEmpty = true;
    while (words >> word) {
        if (!lineEmpty && used + 1 + word.size() > width) {
            out += "\n" + std::string(indent, ' ');
            used = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++used;
        }
        out += word;
        used += word.size();
        lineEmpty = false;
    }
    return out;
}

// Roff text: backslashes and leading dots or quotes must not be read as requests.
std::string Roff(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

// The words of a row, as a list.
std::vector<std::string> Words(const OptionRow& row) {
    std::vector<std::string> words;
    std::istringstream in(row.words != nullptr ? row.words : "");
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::string Joined(const std::vector<std::string>& words, const char* separator) {
    std::string out;
    for (const auto& word : words) {
        out += (out.empty() ? "" : separator) + word;
    }
    return out;
}

}  // namespace

std::string HelpText() {
    constexpr size_t kColumn = 24;
    constexpr size_t kWidth = 79;
    std::string out = Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Usage:"));
    for (size_t i = 0; i < std::size(kSynopsis); ++i) {
        out +=
            (i == 0 ? " "
                    : std::string(Tr(QT_TRANSLATE_NOOP("vellumo-cli", "Usage:")).size() + 1, ' ')) +
            "vellumo-cli " + kSynopsis[i] + "\n";
    }
    out += "\n" + Wrap(Tr(kDescription), kWidth, 0, 0) + "\n";
    for (const OptionGroup group : kGroups) {
        out += "\n" + GroupTitle(group) + ":\n";
        for (const OptionRow& row : OptionTable()) {
            if (row.group != group) {
                continue;
            }
            std::string line = "  " + Spelling(row);
            if (line.size() + 2 > kColumn) {
                line += "\n" + std::string(kColumn, ' ');
            } else {
                line += std::string(kColumn - line.size(), ' ');
            }
            out += line + Wrap(Tr(row.help), kWidth, kColumn, kColumn) + "\n";
        }
    }
    out += "\n" + Wrap(Tr(kReplaceNote), kWidth, 0, 0) + "\n\n" +
           Wrap(Tr(kExitNote), kWidth, 0, 0) + "\n";
    return out;
}

std::string CliManPage(const std::string& version) {
    std::string out = ".TH VELLUMO-CLI 1 \"December 2026\" \"Vellumo " + version +
                      "\" \"User Commands\"\n"
                      ".SH NAME\nvellumo\\-cli \\- combine photos into one multi-page TIFF or "
                      "PDF file\n.SH SYNOPSIS\n";
    for (const char* synopsis : kSynopsis) {
        out += ".B vellumo\\-cli\n" + Roff(synopsis) + "\n.br\n";
    }
    out += ".SH DESCRIPTION\n" + Roff(kDescription) + "\n";
    for (const OptionGroup group : kGroups) {
        out += ".SH \"" + Roff(GroupTitle(group)) + "\"\n";
        for (const OptionRow& row : OptionTable()) {
            if (row.group != group) {
                continue;
            }
            out += ".TP\n";
            if (row.shortName != 0) {
                out += "\\fB\\-" + std::string(1, row.shortName) + "\\fR, ";
            }
            out += "\\fB" + Roff(row.longName) + "\\fR";
            if (row.valueName != nullptr) {
                out += " \\fI" + Roff(row.valueName) + "\\fR";
            }
            out += "\n" + Roff(row.help) + "\n";
        }
    }
    out += ".SH NOTES\n" + Roff(kReplaceNote) + "\n.PP\n" + Roff(kExitNote) + "\n" +
           ".SH SEE ALSO\n.BR vellumo (1)\n";
    return out;
}

std::string BashCompletion() {
    std::string options;
    std::string cases;
    for (const OptionRow& row : OptionTable()) {
        options += std::string(options.empty() ? "" : " ") + row.longName;
        if (row.shortName != 0) {
            options += std::string(" -") + row.shortName;
        }
        if (row.kind == ValueKind::Words) {
            cases += std::string("        ") + row.longName + ") COMPREPLY=($(compgen -W \"" +
                     row.words + "\" -- \"$cur\")); return ;;\n";
        } else if (row.kind == ValueKind::Text) {
            cases += std::string("        ") + row.longName + ") return ;;\n";
        }
    }
    return "# bash completion for vellumo-cli, made from its option table.\n"
           "_vellumo_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    case $prev in\n" +
           cases +
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"" +
           options +
           "\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _vellumo_cli vellumo-cli\n";
}

std::string ZshCompletion() {
    std::string out =
        "#compdef vellumo-cli\n# zsh completion for vellumo-cli, made from its option table.\n"
        "_arguments -s -S \\\n";
    for (const OptionRow& row : OptionTable()) {
        // Brackets and colons end a zsh description.
        std::string help = row.help;
        for (char& c : help) {
            if (c == '[' || c == ']' || c == ':' || c == '\'' || c == '\\') {
                c = ' ';
            }
        }
        help = help.substr(0, help.find(';'));
        std::string action;
        if (row.valueName != nullptr) {
            action = std::string(":") + row.valueName + ":";
            action += row.kind == ValueKind::Words  ? "(" + Joined(Words(row), " ") + ")"
                      : row.kind == ValueKind::File ? "_files"
                                                    : " ";
        }
        const std::string spec =
            std::string(row.longName) + (row.valueName ? "=" : "") + "[" + help + "]" + action;
        if (row.shortName != 0) {
            out += "  '(-" + std::string(1, row.shortName) + " " + row.longName + ")'{-" +
                   std::string(1, row.shortName) + "," + row.longName + "}'[" + help + "]" +
                   action + "' \\\n";
        } else {
            out += "  '" + spec + "' \\\n";
        }
    }
    out += "  '*:input:_files'\n";
    return out;
}

std::string FishCompletion() {
    std::string out = "# fish completion for vellumo-cli, made from its option table.\n";
    for (const OptionRow& row : OptionTable()) {
        std::string help = row.help;
        for (char& c : help) {
            if (c == '\'' || c == '\\') {
                c = ' ';
            }
        }
        out += std::string("complete -c vellumo-cli -l ") + (row.longName + 2);
        if (row.shortName != 0) {
            out += std::string(" -s ") + row.shortName;
        }
        if (row.kind == ValueKind::Words) {
            out += " -x -a '" + Joined(Words(row), " ") + "'";
        } else if (row.kind == ValueKind::Text) {
            out += " -x";
        } else if (row.kind == ValueKind::File) {
            out += " -r -F";
        }
        out += " -d '" + help + "'\n";
    }
    return out;
}

}  // namespace vellumo::cli
