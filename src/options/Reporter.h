#pragma once
// The narrow channel through which low layers tell the user something (a message box
// in the window, a line on standard error in the command line). The toolkit interface
// of ui/ extends it; tests record it.

#include <string_view>

namespace vellumo::options {

class Reporter {
  public:
    virtual ~Reporter() = default;
    // Shows `text` with `caption` and an OK button; returns once the user has seen it.
    virtual void Report(std::string_view text, std::string_view caption) = 0;
};

}  // namespace vellumo::options
