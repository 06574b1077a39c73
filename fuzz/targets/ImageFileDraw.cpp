// Arbitrary bytes as a photo file through the whole imaging layer, as adding and
// converting use it: open (content decides the decoder: JPEG, PNG, TIFF, GIF, BMP, ICO,
// Qt's formats), list the frames, and draw a few of them onto a small page. Beyond
// "no crash, no sanitizer report": a refused file names its reason, and what it reports
// about itself is in range.

#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imaging/ImageFile.h"
#include "imaging/PageBitmap.h"

namespace {

using namespace vellumo::imaging;

constexpr uint32_t kFrameLimit = 4;
constexpr int32_t kPageSide = 48;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The layer opens files by name, so every input is written to one file of this process.
const std::string& InputPath() {
    static const std::string path = "/dev/shm/vellumo-fuzz-image-" + std::to_string(::getpid());
    return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt's image plugins (the formats without a decoder of our own) need an application;
    // no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

namespace {

// Everything the layer can tell about one file, checked.
void Exercise() {
    ImageFile image = ImageFile::Open(InputPath());
    if (!image.IsValid()) {
        Check(!image.Error().empty());
        Check(image.FrameDimensions().empty() && image.Width() == 0);
        return;
    }
    Check(!image.FormatName().empty());
    const int orientation = image.ExifOrientation();
    Check(orientation >= 0 && orientation <= 8);
    const auto dims = image.FrameDimensions();
    Check(!dims.empty() && dims[0].count >= 1);
    for (uint32_t i = 0; i < std::min(dims[0].count, kFrameLimit); ++i) {
        if (!image.SelectActiveFrame(dims[0].dimension, static_cast<int32_t>(i))) {
            continue;
        }
        Check(image.Width() > 0 && image.Height() > 0);
        Check(image.HorizontalResolution() > 0);
        const int32_t w = std::min(image.Width(), kPageSide);
        const int32_t h = std::min(image.Height(), kPageSide);
        auto page = PageBitmap::Create(w, h);
        Check(page.has_value());
        page->Clear(kWhite);
        if (!image.DrawActiveFrame(*page, {0, 0, w, h})) {
            Check(!image.Error().empty());
        }
    }
    Check(!image.SelectActiveFrame(dims[0].dimension, static_cast<int32_t>(dims[0].count)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(WriteInput(data, size));
    Exercise();
    // libFuzzer may end the process without running exit handlers: leave nothing behind.
    std::remove(InputPath().c_str());
    return 0;
}
