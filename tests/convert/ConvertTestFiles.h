#pragma once
// Files for the conversion tests: a private folder per test, photos made on the spot,
// and output files read back with libtiff and Qt (never with the code under test).

#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/PageBitmap.h"
#include "support/TiffPages.h"

namespace vellumo::test {

namespace fs = std::filesystem;

// Qt's image plugins and the caption need an application; made once, kept to the end.
inline void EnsureGuiApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "convert_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
}

class TestFolder {
  public:
    TestFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        path_ = fs::temp_directory_path() /
                ("vellumo-convert-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Names of the files in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    fs::path path_;
};

// A picture whose pixel colour depends on its position and on `seed`, so pages can be
// told apart and turned pages recognised.
inline QImage Pattern(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y,
                           qRgb((x * 255) / std::max(1, w - 1), (y * 255) / std::max(1, h - 1),
                                (seed * 60) % 256));
        }
    }
    return image;
}

inline QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

inline std::string SaveImage(const QImage& image, const std::string& path, const char* format,
                             int quality = -1) {
    QImageWriter writer(QString::fromStdString(path), format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    EXPECT_TRUE(writer.write(image)) << path << ": " << writer.errorString().toStdString();
    return path;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// FNV-1a of a file's bytes: enough to tell whether a file was touched.
inline uint64_t FileHash(const std::string& path) {
    uint64_t h = 1469598103934665603ULL;
    for (const char c : ReadBytes(path)) {
        h = (h ^ static_cast<uint8_t>(c)) * 1099511628211ULL;
    }
    return h;
}

// Mean absolute difference per channel between two pictures of the same size.
inline double MeanDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return 1e9;
    }
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

inline QImage ToQImage(const TiffPage& page) {
    QImage image(page.width, page.height, QImage::Format_RGB888);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            image.setPixel(x, y, qRgb(page.red(x, y), page.green(x, y), page.blue(x, y)));
        }
    }
    return image;
}

}  // namespace vellumo::test
