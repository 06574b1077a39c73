// Arbitrary bytes decoded as a GIF from memory (structure, LZW data, compositing of
// the frames), and read as an EXIF segment. Beyond "no crash, no sanitizer report":
// a refused file names its reason; an accepted one lists its frames in the time
// dimension, and each frame decodes at the screen size or is refused with a reason.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/ExifReader.h"
#include "imaging/GifDecoder.h"

namespace {

using namespace vellumo::imaging;

// Decoding every frame of a large screen would make one input take seconds.
constexpr int64_t kScreenLimit = int64_t{1} << 20;
constexpr uint32_t kFrameLimit = 8;

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ExifFields exif = ReadExifFields(std::span<const uint8_t>(data, size));
    Check(exif.orientation >= 0 && exif.orientation <= 8);

    std::string error;
    const auto decoder = OpenGifBytes(std::vector<uint8_t>(data, data + size), error);
    if (!decoder) {
        Check(!error.empty());
        return 0;
    }
    const auto dims = decoder->FrameDimensions();
    Check(dims.size() == 1 && dims[0].dimension == FrameDimension::Time && dims[0].count >= 1);
    const FrameInfo info = decoder->ActiveFrame();
    Check(info.width > 0 && info.height > 0);
    if (int64_t{info.width} * info.height > kScreenLimit) {
        return 0;
    }
    for (uint32_t i = 0; i < dims[0].count && i < kFrameLimit; ++i) {
        Check(decoder->SelectFrame(FrameDimension::Time, static_cast<int32_t>(i)));
        std::string why;
        const QImage frame = decoder->Decode(QSize(), why);
        if (frame.isNull()) {
            Check(!why.empty());
        } else {
            Check(frame.width() == info.width && frame.height() == info.height);
            Check(frame.format() == QImage::Format_RGBA8888_Premultiplied);
        }
    }
    Check(!decoder->SelectFrame(FrameDimension::Time, static_cast<int32_t>(dims[0].count)));
    return 0;
}
