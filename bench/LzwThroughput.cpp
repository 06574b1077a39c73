// Measures how fast pages are written as LZW (+ horizontal predictor) TIFF: libtiff's
// own encoder against ours, on one thread and on several, on real photos decoded once
// up front. Not a test: it prints a table. Usage:
//   bench_lzw_throughput [--runs N] [--threads N] [--out DIR] [photo ...]
// Without photos it uses camera photos from the test corpora.

#include <QImage>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "imaging/LzwEncoder.h"
#include "imaging/MultiPageTiffWriter.h"
#include "imaging/PageBitmap.h"
#include "imaging/TiffPredictor.h"

namespace {

namespace fs = std::filesystem;
using vellumo::imaging::MultiPageTiffWriter;
using vellumo::imaging::PageBitmap;
using vellumo::imaging::TiffWriteOptions;

const char* const kDefaultPhotos[] = {
    "exif-samples/jpg/mobile/HMD_Nokia_8.3_5G.jpg", "exif-samples/jpg/hdr/iphone_hdr_YES.jpg",
    "exif-samples/jpg/mobile/jolla.jpg", "exif-samples/jpg/tests/30-type_error.jpg",
    "exif-orientation/Landscape_1.jpg"};

std::vector<PageBitmap> LoadPages(const std::vector<std::string>& files) {
    std::vector<PageBitmap> pages;
    for (const std::string& file : files) {
        QImage image(QString::fromStdString(file));
        if (image.isNull()) {
            std::fprintf(stderr, "skipped (cannot decode): %s\n", file.c_str());
            continue;
        }
        image = image.convertToFormat(QImage::Format_RGB888);
        auto page = PageBitmap::Create(image.width(), image.height());
        if (!page) {
            continue;
        }
        for (int y = 0; y < image.height(); ++y) {
            std::memcpy(page->row(y), image.constScanLine(y), page->stride());
        }
        pages.push_back(std::move(*page));
    }
    return pages;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall-clock time, and processor time of all threads (which a busy machine distorts
// far less than the wall clock).
struct Measure {
    double seconds = 0;
    double cpuSeconds = 0;
    uintmax_t bytes = 0;
};

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

Measure WriteFile(const std::vector<PageBitmap>& pages, const fs::path& file,
                  const TiffWriteOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    MultiPageTiffWriter writer;
    bool ok = writer.Open(file, options);
    for (const PageBitmap& page : pages) {
        ok = ok && writer.AppendPage(page);
    }
    ok = writer.Close() && ok;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuStart;
    if (!ok) {
        std::fprintf(stderr, "write failed: %s\n", writer.Error().c_str());
        return {};
    }
    return {seconds, cpu, fs::file_size(file)};
}

// Our encoder alone, one thread, strips of about 128 KB with the predictor, no file.
Measure EncodeOnly(const std::vector<PageBitmap>& pages) {
    vellumo::imaging::LzwEncoder encoder;
    std::vector<uint8_t> strip, out;
    Measure measure;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    for (const PageBitmap& page : pages) {
        const int32_t rows = std::max<int32_t>(1, static_cast<int32_t>(131072 / page.stride()));
        for (int32_t y = 0; y < page.height(); y += rows) {
            const int32_t count = std::min(rows, page.height() - y);
            strip.resize(page.stride() * static_cast<size_t>(count));
            for (int32_t r = 0; r < count; ++r) {
                vellumo::imaging::HorizontalDifference8(page.row(y + r), page.stride(), 3,
                                                        strip.data() + page.stride() * r);
            }
            out.resize(vellumo::imaging::LzwMaxEncodedSize(strip.size()));
            measure.bytes += encoder.Encode(strip.data(), strip.size(), out.data());
        }
    }
    measure.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.cpuSeconds = CpuSeconds() - cpuStart;
    return measure;
}

void Print(const std::string& name, const std::vector<Measure>& measures, double megapixels) {
    std::vector<double> wall, cpu;
    for (const Measure& m : measures) {
        wall.push_back(m.seconds);
        cpu.push_back(m.cpuSeconds);
    }
    const double t = Median(wall);
    const double c = Median(cpu);
    std::printf("%-44s %8.3f %8.1f %9.3f %12.1f %8.1f\n", name.c_str(), t, megapixels / t, c,
                megapixels / c, static_cast<double>(measures.back().bytes) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    fs::path outDir = fs::temp_directory_path();
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--threads" && i + 1 < argc) {
            threads = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--out" && i + 1 < argc) {
            outDir = argv[++i];
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        for (const char* photo : kDefaultPhotos) {
            files.push_back((fs::path(VELLUMO_CORPORA_DIR) / photo).string());
        }
    }
    const std::vector<PageBitmap> pages = LoadPages(files);
    if (pages.empty()) {
        std::fprintf(stderr, "no photos could be decoded\n");
        return 1;
    }
    double megapixels = 0;
    for (const PageBitmap& page : pages) {
        megapixels += static_cast<double>(page.width()) * page.height() / 1e6;
    }
    std::printf("%zu pages, %.1f megapixels, %.0f MB of RGB; median of %d runs; %u cores\n",
                pages.size(), megapixels, megapixels * 3, runs,
                std::max(1u, std::thread::hardware_concurrency()));
    std::printf("%-44s %8s %8s %9s %12s %8s\n", "", "seconds", "MP/s", "cpu sec", "MP/cpu-sec",
                "file MB");

    struct Variant {
        std::string name;
        TiffWriteOptions options;
    };
    std::vector<Variant> variants;
    TiffWriteOptions libtiff;
    libtiff.libtiffLzw = true;
    libtiff.threads = 1;
    variants.push_back({"libtiff LZW + predictor, writer", libtiff});
    TiffWriteOptions ours;
    ours.threads = 1;
    variants.push_back({"our LZW + predictor, writer, 1 thread", ours});
    ours.threads = threads;
    variants.push_back(
        {"our LZW + predictor, writer, " + std::to_string(threads) + " threads", ours});

    const fs::path file = outDir / "vellumo-lzw-throughput.tif";
    for (const Variant& variant : variants) {
        std::vector<Measure> measures;
        for (int run = 0; run < runs; ++run) {
            measures.push_back(WriteFile(pages, file, variant.options));
            if (measures.back().seconds <= 0) {
                return 1;
            }
        }
        Print(variant.name, measures, megapixels);
    }
    fs::remove(file);

    std::vector<Measure> measures;
    for (int run = 0; run < runs; ++run) {
        measures.push_back(EncodeOnly(pages));
    }
    Print("our LZW + predictor, encoder only, 1 thread", measures, megapixels);
    return 0;
}
