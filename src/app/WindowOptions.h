#pragma once
// The window program's command-line options, as one table: main() builds its parser
// from it and the man page vellumo.1 is generated from it.

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

inline constexpr const char* kWindowDescription =
    "Turns photos into one multi-page TIFF. Photos and folders named here are added to the "
    "list; folders are searched for photos.";
inline constexpr const char* kWindowPositional = "[PHOTO|FOLDER...]";
inline constexpr const char* kWindowPositionalHelp = "Photos or folders to add, in order.";

}  // namespace vellumo::app
