#include "imaging/InterleavedImage.h"

#include <cstring>

namespace vellumo::imaging {

QImage CopyInterleaved(const InterleavedPixels& p, std::string& error) {
    const bool shapeOk = p.data != nullptr && p.width > 0 && p.height > 0 && p.channels >= 1 &&
                         p.channels <= 4 && p.stride >= static_cast<size_t>(p.width) * p.channels;
    if (!shapeOk) {
        error = "the decoder returned an unexpected pixel layout";
        return {};
    }
    const bool alpha = p.channels == 2 || p.channels == 4;
    const QImage::Format format = !alpha            ? QImage::Format_RGB888
                                  : p.premultiplied ? QImage::Format_RGBA8888_Premultiplied
                                                    : QImage::Format_RGBA8888;
    QImage image(p.width, p.height, format);
    if (image.isNull()) {
        error = "out of memory for the decoded image";
        return {};
    }
    for (int32_t y = 0; y < p.height; ++y) {
        const uint8_t* in = p.data + p.stride * static_cast<size_t>(y);
        uint8_t* out = image.scanLine(y);
        if (p.channels == 1) {
            for (int32_t x = 0; x < p.width; ++x, out += 3) {
                out[0] = out[1] = out[2] = in[x];
            }
        } else if (p.channels == 2) {
            for (int32_t x = 0; x < p.width; ++x, out += 4, in += 2) {
                out[0] = out[1] = out[2] = in[0];
                out[3] = in[1];
            }
        } else {
            std::memcpy(out, in, static_cast<size_t>(p.width) * p.channels);
        }
    }
    if (format == QImage::Format_RGBA8888) {
        image.convertTo(QImage::Format_RGBA8888_Premultiplied);
        if (image.isNull()) {
            error = "out of memory for the decoded image";
            return {};
        }
    }
    return image;
}

}  // namespace vellumo::imaging
