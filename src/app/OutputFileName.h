#pragma once
// The output file rules of the window: the proposed name, the ".tif" rule of output
// file Browse and where its dialog opens.

#include <string>

namespace vellumo::app {

// The output folder followed by "output.tif", joined as they are (a folder without a
// trailing separator gets none).
std::string ProposedOutputFile(const std::string& outputFolder);

// The chosen name with the extension of its last component removed (from that
// component's last "." on) and ".tif" appended: "final.jpg" and "final" both give
// "final.tif"; a dot in a folder name is left alone.
std::string WithTifExtension(const std::string& chosen);

// The folder the Browse dialog opens in: the output file path cut at its last
// separator (the separator dropped), or "." when it has none.
std::string BrowseStartFolder(const std::string& outputFilePath);

}  // namespace vellumo::app
