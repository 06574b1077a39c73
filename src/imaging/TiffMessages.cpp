#include "imaging/TiffMessages.h"

#include <cstdarg>
#include <cstdio>

namespace vellumo::imaging {
namespace {

std::string Format(const char* module, const char* format, va_list args) {
    char text[512];
    const int length = std::vsnprintf(text, sizeof text, format, args);
    std::string message = module != nullptr && *module != '\0' ? std::string(module) + ": " : "";
    if (length > 0) {
        message += text;
    }
    return message;
}

}  // namespace

void TiffMessages::AttachTo(TIFFOpenOptions* options) {
    TIFFOpenOptionsSetErrorHandlerExtR(options, &TiffMessages::OnError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &TiffMessages::OnWarning, this);
}

int TiffMessages::OnError(TIFF*, void* self, const char* module, const char* format, va_list args) {
    static_cast<TiffMessages*>(self)->lastError_ = Format(module, format, args);
    return 1;  // handled: libtiff's process-wide handler (stderr) is not called
}

int TiffMessages::OnWarning(TIFF*, void* self, const char* module, const char* format,
                            va_list args) {
    static_cast<TiffMessages*>(self)->lastWarning_ = Format(module, format, args);
    return 1;
}

}  // namespace vellumo::imaging
