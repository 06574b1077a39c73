// vellumo-docs OUTDIR: writes the man pages and shell completions made from the option
// tables, at build time, for installation.

#include <cstdio>
#include <fstream>
#include <string>

#include "app/WindowOptions.h"
#include "cli/HelpText.h"

#ifndef VELLUMO_VERSION
#define VELLUMO_VERSION "unknown"
#endif

namespace {

std::string RoffText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '-' ? std::string("\\-") : c == '\\' ? std::string("\\e") : std::string(1, c);
    }
    return out;
}

std::string WindowManPage() {
    std::string out = ".TH VELLUMO 1 \"December 2026\" \"Vellumo " VELLUMO_VERSION
                      "\" \"User Commands\"\n"
                      ".SH NAME\nvellumo \\- combine photos into one multi-page TIFF file\n"
                      ".SH SYNOPSIS\n.B vellumo\n[\\fIOPTION\\fR]... " +
                      RoffText(vellumo::app::kWindowPositional) +
                      "\n.SH DESCRIPTION\n.B vellumo\n"
                      "opens a window in which an ordered list of photos is built (Add Photos, "
                      "Search photos, or files dropped on the window), each photo is given its "
                      "size, rotation and flip, and Convert writes them as the pages of one "
                      "multi-page TIFF file. Every frame of a multi-frame file is a page of its "
                      "own.\n.PP\n" +
                      RoffText(vellumo::app::kWindowDescription) + " " +
                      RoffText(vellumo::app::kWindowPositionalHelp) + "\n.SH OPTIONS\n";
    for (const auto& option : vellumo::app::kWindowOptions) {
        out += ".TP\n";
        if (option.shortName != nullptr) {
            out += "\\fB\\-" + std::string(option.shortName) + "\\fR, ";
        }
        out += "\\fB\\-\\-" + RoffText(option.longName) + "\\fR\n" + RoffText(option.help) + "\n";
    }
    out +=
        ".SH FILES\n.TP\n.I Brindle.log\nThe activity log, in the output folder chosen at "
        "start-up.\n.TP\n.I ~/.config/Orlenwick/Vellumo.conf\nThe window's settings.\n"
        ".SH SEE ALSO\n.BR vellumo\\-cli (1)\nfor the same conversions from a terminal, with "
        "every option of the engine.\n";
    return out;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "vellumo-docs: %s cannot be written\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vellumo-docs OUTDIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    using namespace vellumo::cli;
    const bool ok = WriteFile(dir + "vellumo-cli.1", CliManPage(VELLUMO_VERSION)) &&
                    WriteFile(dir + "vellumo.1", WindowManPage()) &&
                    WriteFile(dir + "vellumo-cli.bash", BashCompletion()) &&
                    WriteFile(dir + "_vellumo-cli", ZshCompletion()) &&
                    WriteFile(dir + "vellumo-cli.fish", FishCompletion());
    return ok ? 0 : 1;
}
