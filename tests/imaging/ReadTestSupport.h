#pragma once
// Helpers shared by the reading and drawing tests: corpus paths, scratch files,
// page comparisons.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/PageBitmap.h"

namespace vellumo::test {

inline std::filesystem::path Corpora() {
    return std::filesystem::path(VELLUMO_CORPORA_DIR);
}

// Skips the current test when a corpus file is missing (the corpora live outside the
// repository).
#define VELLUMO_REQUIRE_FILE(path)                                            \
    do {                                                                      \
        if (!std::filesystem::exists(path)) {                                 \
            GTEST_SKIP() << "corpus file not available: " << (path).string(); \
        }                                                                     \
    } while (false)

// A folder of its own under the system's temporary folder, removed at the end.
class ScratchDir {
  public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("vellumo-imaging-" + std::string(info->test_suite_name()) + "-" + info->name() +
                 "-" + std::to_string(std::rand()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A white page of the given size.
inline imaging::PageBitmap WhitePage(int32_t w, int32_t h) {
    auto page = imaging::PageBitmap::Create(w, h);
    EXPECT_TRUE(page.has_value());
    page->Clear(imaging::kWhite);
    return std::move(*page);
}

// Any image composited over white, as 8-bit RGB rows of the given size.
inline QImage OverWhite(const QImage& image) {
    QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    QImage out(rgba.size(), QImage::Format_RGB888);
    for (int y = 0; y < rgba.height(); ++y) {
        const uint8_t* s = rgba.constScanLine(y);
        uint8_t* d = out.scanLine(y);
        for (int x = 0; x < rgba.width(); ++x) {
            for (int c = 0; c < 3; ++c) {
                d[x * 3 + c] = static_cast<uint8_t>(s[x * 4 + c] + (255 - s[x * 4 + 3]));
            }
        }
    }
    return out;
}

// Mean absolute difference per channel between a page and an RGB888 image of its size.
inline double MeanAbsDiff(const imaging::PageBitmap& page, const QImage& rgb) {
    double sum = 0;
    for (int y = 0; y < page.height(); ++y) {
        const uint8_t* a = page.row(y);
        const uint8_t* b = rgb.constScanLine(y);
        for (size_t i = 0; i < page.stride(); ++i) {
            sum += std::abs(int{a[i]} - int{b[i]});
        }
    }
    return sum / static_cast<double>(page.byteSize());
}

}  // namespace vellumo::test
