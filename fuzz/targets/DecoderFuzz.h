#pragma once
// Shared body of the fuzz targets of one decoder each (HEIF, JPEG XL, raw, drawings):
// arbitrary bytes written to a file, opened by that decoder alone (bypassing the
// sniffing, so that every input reaches it), every frame listed and a few decoded at
// full and at a small size. A refusal must name its reason; what is decoded must have
// the size asked for or the frame's own.

#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "imaging/Decoder.h"

namespace vellumo::fuzz {

using Opener = std::unique_ptr<imaging::Decoder> (*)(const std::filesystem::path&, std::string&);

inline void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

inline const std::string& InputPath() {
    static const std::string path = "/dev/shm/vellumo-fuzz-decoder-" + std::to_string(::getpid());
    return path;
}

inline void InitQt(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}

inline void Exercise(Opener open, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    Check(f != nullptr && std::fwrite(data, 1, size, f) == size);
    Check(std::fclose(f) == 0);
    std::string error;
    const std::unique_ptr<imaging::Decoder> decoder = open(InputPath(), error);
    if (!decoder) {
        Check(!error.empty());
    } else {
        const auto dims = decoder->FrameDimensions();
        Check(!dims.empty() && dims[0].count >= 1);
        for (uint32_t i = 0; i < std::min<uint32_t>(dims[0].count, 3); ++i) {
            Check(decoder->SelectFrame(dims[0].dimension, static_cast<int32_t>(i)));
            const imaging::FrameInfo info = decoder->ActiveFrame();
            Check(info.width > 0 && info.height > 0 && info.dpiX > 0);
            for (const QSize minimum : {QSize(), QSize(8, 8)}) {
                error.clear();
                const QImage image = decoder->Decode(minimum, error);
                if (image.isNull()) {
                    Check(!error.empty());
                    continue;
                }
                Check(image.width() >= std::min(minimum.width(), info.width));
                Check(image.format() == QImage::Format_RGB888 ||
                      image.format() == QImage::Format_RGBA8888_Premultiplied ||
                      image.format() == QImage::Format_RGBX64);  // deep, for the colours
            }
        }
        Check(!decoder->SelectFrame(dims[0].dimension, static_cast<int32_t>(dims[0].count)));
    }
    std::remove(InputPath().c_str());
}

}  // namespace vellumo::fuzz
