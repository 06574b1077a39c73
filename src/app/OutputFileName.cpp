#include "app/OutputFileName.h"

#include "app/AppTexts.h"
#include "shell/Paths.h"

namespace vellumo::app {
namespace {

// Both separators count: a name typed with '/' on Windows is still a path.
size_t LastSeparator(const std::string& path) {
    return path.find_last_of(std::string("/") + shell::NativeSeparator());
}

}  // namespace

std::string ProposedOutputFile(const std::string& outputFolder) {
    return outputFolder + std::string(texts::kProposedOutputName);
}

std::string WithTifExtension(const std::string& chosen) {
    const size_t separator = LastSeparator(chosen);
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = chosen.rfind('.');
    const std::string stem =
        dot != std::string::npos && dot >= nameStart ? chosen.substr(0, dot) : chosen;
    return stem + std::string(texts::kTifExtension);
}

std::string BrowseStartFolder(const std::string& outputFilePath) {
    const size_t separator = LastSeparator(outputFilePath);
    if (separator == std::string::npos) {
        return ".";
    }
    // A file in the root keeps the root itself.
    return separator == 0 ? outputFilePath.substr(0, 1) : outputFilePath.substr(0, separator);
}

}  // namespace vellumo::app
