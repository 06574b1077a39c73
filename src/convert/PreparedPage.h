#pragma once
// A page made ahead of its turn: the pixels, or nothing when the photo ended early, plus
// the messages its making raised. Messages wait here so that the user sees them in page
// order however far ahead the page was made.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/PageBitmap.h"
#include "options/Reporter.h"

namespace vellumo::convert {

struct PendingMessage {
    std::string text;
    std::string caption;
};

// Collects reports for later instead of showing them.
class DeferredReporter : public options::Reporter {
  public:
    explicit DeferredReporter(std::vector<PendingMessage>& into) : into_(into) {}
    void Report(std::string_view text, std::string_view caption) override {
        into_.push_back({std::string(text), std::string(caption)});
    }

  private:
    std::vector<PendingMessage>& into_;
};

// A JPEG photo a PDF page shows as it is: the file's bytes, never decoded.
struct EmbeddedJpeg {
    std::vector<uint8_t> bytes;
    int32_t width = 0;
    int32_t height = 0;
    int components = 3;
    double dpi = 96;
    std::vector<uint8_t> icc;  // the profile the page carries (sRGB), none with --strip
};

struct PreparedPage {
    std::optional<imaging::PageBitmap> page;  // nothing: the photo ended early
    std::vector<PendingMessage> messages;     // to show, in order, when the page's turn comes
    bool rotated = false;                     // the entry's rotate/flip is already applied
    std::string failure;                      // why the photo ended early, when it did
    std::optional<EmbeddedJpeg> jpeg;         // instead of the page, when it may be embedded
};

}  // namespace vellumo::convert
