// Measures the reading side: header-only probing, decoding with and without DCT
// scaling, and the bicubic resampler alone on one and two threads. Not a test: it
// prints a table. Usage:
//   bench_read_throughput [--runs N] [--probe-only] [photo.jpg ...]
// Without photos it makes a 6000 x 4000 (24-megapixel) JPEG in the temporary folder.
// With several photos it first times opening all of them (headers only).

#include <QImage>
#include <QImageWriter>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "imaging/ImageFile.h"
#include "imaging/Resampler.h"

namespace {

namespace fs = std::filesystem;
using namespace vellumo::imaging;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median wall time of `runs` calls, in milliseconds.
double TimeMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return Median(times);
}

// A photo-like 24-megapixel JPEG: smooth gradients with noise, quality 90.
fs::path MakeLargeJpeg() {
    const fs::path path = fs::temp_directory_path() / "vellumo-bench-24mp.jpg";
    if (fs::exists(path)) {
        return path;
    }
    QImage image(6000, 4000, QImage::Format_RGB888);
    std::mt19937 rng(1);
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(rng() % 24);
            row[x * 3] = static_cast<uint8_t>((x / 24 + n) & 0xFF);
            row[x * 3 + 1] = static_cast<uint8_t>((y / 16 + n) & 0xFF);
            row[x * 3 + 2] = static_cast<uint8_t>(((x + y) / 40) & 0xFF);
        }
    }
    QImageWriter writer(QString::fromStdString(path.string()), "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    bool probeOnly = false;
    std::vector<fs::path> photos;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--probe-only") {
            probeOnly = true;
        } else {
            photos.emplace_back(arg);
        }
    }
    if (photos.empty()) {
        photos.push_back(MakeLargeJpeg());
    }

    std::printf("%-28s %12s\n", "step (median of runs)", "ms");
    if (photos.size() > 1) {
        int valid = 0;
        const double ms = TimeMs(runs, [&] {
            valid = 0;
            for (const fs::path& photo : photos) {
                valid += ImageFile::Open(photo).IsValid() ? 1 : 0;
            }
        });
        std::printf("open %zu files (%d valid)       %12.1f  (%.3f ms each)\n", photos.size(),
                    valid, ms, ms / static_cast<double>(photos.size()));
    }
    if (probeOnly) {
        return 0;
    }
    for (const fs::path& photo : photos) {
        ImageFile probe = ImageFile::Open(photo);
        if (!probe.IsValid()) {
            std::printf("%s: %s\n", photo.string().c_str(), probe.Error().c_str());
            continue;
        }
        const int32_t w = probe.Width(), h = probe.Height();
        std::printf("%s: %d x %d\n", photo.filename().string().c_str(), w, h);
        std::printf("%-28s %12.3f\n", "open (header only)",
                    TimeMs(runs * 20, [&] { ImageFile::Open(photo); }));

        const int32_t pw = 1024, ph = static_cast<int32_t>(int64_t{h} * 1024 / w);
        auto page = PageBitmap::Create(pw, ph);
        auto full = PageBitmap::Create(w, h);
        std::printf("%-28s %12.1f\n", "decode full size",
                    TimeMs(runs, [&] { ImageFile::Open(photo).DecodeForDisplay(QSize()); }));
        std::printf("%-28s %12.1f\n", "draw at original size", TimeMs(runs, [&] {
                        ImageFile::Open(photo).DrawActiveFrame(*full, {0, 0, w, h});
                    }));
        std::printf("%-28s %12.1f\n", "draw at width 1024", TimeMs(runs, [&] {
                        ImageFile::Open(photo).DrawActiveFrame(*page, {0, 0, pw, ph});
                    }));

        const QImage source = ImageFile::Open(photo).DecodeForDisplay(QSize());
        const SourcePixels pixels{source.constBits(), source.width(), source.height(),
                                  static_cast<size_t>(source.bytesPerLine()), SourceLayout::Rgb};
        const TargetPixels target{page->data(), pw, ph, page->stride()};
        for (const int threads : {1, 2}) {
            const std::string label = "resample to 1024, " + std::to_string(threads) + " thread" +
                                      (threads > 1 ? "s" : "");
            std::printf("%-28s %12.1f\n", label.c_str(), TimeMs(runs, [&] {
                            DrawBicubic(pixels, target, {0, 0, pw, ph}, threads);
                        }));
        }
        const TargetPixels big{full->data(), w, h, full->stride()};
        for (const int threads : {1, 2}) {
            const std::string label =
                "resample 0.8x, " + std::to_string(threads) + " thread" + (threads > 1 ? "s" : "");
            std::printf("%-28s %12.1f\n", label.c_str(), TimeMs(runs, [&] {
                            DrawBicubic(pixels, big, {0, 0, w * 4 / 5, h * 4 / 5}, threads);
                        }));
        }
    }
    return 0;
}
