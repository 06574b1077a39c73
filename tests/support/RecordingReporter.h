#pragma once
// Records what a low layer reports, for tests below the toolkit interface.

#include <string>
#include <vector>

#include "options/Reporter.h"

namespace vellumo::test {

class RecordingReporter : public options::Reporter {
  public:
    void Report(std::string_view text, std::string_view caption) override {
        reports.push_back({std::string(text), std::string(caption)});
    }
    struct Entry {
        std::string text;
        std::string caption;
    };
    std::vector<Entry> reports;
};

}  // namespace vellumo::test
