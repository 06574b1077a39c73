#pragma once
// The window program's command-line options, as one table: main() builds its parser
// from it and the man page vellumo.1 is generated from it.

#include <QtGlobal>

namespace vellumo::app {

struct WindowOption {
    const char* shortName;  // "h", or null
    const char* longName;   // "help"
    const char* help;
};

inline constexpr WindowOption kWindowOptions[] = {
    {"h", "help", "Print a short help text and end."},
    {"v", "version", "Print the version and end."},
};

// The texts are translated where they are shown (context "vellumo-window").
inline constexpr const char* kWindowDescription =
    QT_TRANSLATE_NOOP("vellumo-window",
                      "Turns photos into one multi-page TIFF. Photos and folders named here are "
                      "added to the list; folders are searched for photos.");
inline constexpr const char* kWindowPositional = "[PHOTO|FOLDER...]";
inline constexpr const char* kWindowPositionalHelp =
    QT_TRANSLATE_NOOP("vellumo-window", "Photos or folders to add, in order.");

}  // namespace vellumo::app
