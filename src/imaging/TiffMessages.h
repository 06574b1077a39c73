#pragma once
// Collects libtiff's error and warning messages for one TIFF handle instead of letting
// libtiff print them. Each writer owns its own collector and registers it with the
// handle it opens, so writers on different threads never see each other's messages.

#include <tiffio.h>
#include <string>

namespace vellumo::imaging {

class TiffMessages {
  public:
    // Registers this collector for errors and warnings of handles opened with `options`.
    void AttachTo(TIFFOpenOptions* options);

    // The most recent error, "module: message"; empty when there was none.
    const std::string& LastError() const { return lastError_; }
    const std::string& LastWarning() const { return lastWarning_; }
    void Reset() {
        lastError_.clear();
        lastWarning_.clear();
    }

  private:
    static int OnError(TIFF*, void* self, const char* module, const char* format, va_list args);
    static int OnWarning(TIFF*, void* self, const char* module, const char* format, va_list args);

    std::string lastError_;
    std::string lastWarning_;
};

}  // namespace vellumo::imaging
