#include "WriterTestSupport.h"

#include <tiffio.h>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace vellumo::imaging::testing {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("vellumo-writers-" + std::to_string(stamp) + "-" + std::to_string(++counter));
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

PageBitmap NoisePage(int32_t width, int32_t height, uint32_t seed) {
    PageBitmap page = *PageBitmap::Create(width, height);
    uint32_t state = seed | 1;
    for (size_t i = 0; i < page.byteSize(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        page.data()[i] = static_cast<uint8_t>(state >> 24);
    }
    return page;
}

PageBitmap FlatPage(int32_t width, int32_t height, Rgb colour) {
    PageBitmap page = *PageBitmap::Create(width, height);
    page.Clear(colour);
    return page;
}

PageBitmap GradientPage(int32_t width, int32_t height) {
    PageBitmap page = *PageBitmap::Create(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            page.setPixel(x, y,
                          Rgb{static_cast<uint8_t>(x * 255 / std::max(1, width - 1)),
                              static_cast<uint8_t>(y * 255 / std::max(1, height - 1)),
                              static_cast<uint8_t>((x + y) & 0xFF)});
        }
    }
    return page;
}

std::optional<PageBitmap> PhotoPage(const std::string& relativePath) {
    const fs::path file = fs::path(VELLUMO_CORPORA_DIR) / relativePath;
    QImage image;
    if (!fs::exists(file) || !image.load(QString::fromStdString(file.string()))) {
        return std::nullopt;
    }
    image = image.convertToFormat(QImage::Format_RGB888);
    auto page = PageBitmap::Create(image.width(), image.height());
    if (!page) {
        return std::nullopt;
    }
    for (int32_t y = 0; y < image.height(); ++y) {
        std::memcpy(page->row(y), image.constScanLine(y), page->stride());
    }
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        page->SetResolution(image.dotsPerMeterX() * 0.0254, image.dotsPerMeterY() * 0.0254);
    }
    return page;
}

namespace {

int CollectProblem(TIFF*, void* sink, const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    auto& problems = *static_cast<std::string*>(sink);
    problems += std::string(module ? module : "") + ": " + text + "\n";
    return 1;
}

bool ReadPixels(TIFF* tiff, TiffPageInfo& page, std::string& problems) {
    const size_t bytes = size_t{page.width} * page.height * 3;
    page.rgb.assign(bytes, 0);
    if (page.compression == COMPRESSION_JPEG) {
        std::vector<uint32_t> raster(size_t{page.width} * page.height);
        if (TIFFReadRGBAImageOriented(tiff, page.width, page.height, raster.data(),
                                      ORIENTATION_TOPLEFT, 1) != 1) {
            problems += "RGBA read failed\n";
            return false;
        }
        for (size_t i = 0; i < raster.size(); ++i) {
            page.rgb[i * 3] = static_cast<uint8_t>(TIFFGetR(raster[i]));
            page.rgb[i * 3 + 1] = static_cast<uint8_t>(TIFFGetG(raster[i]));
            page.rgb[i * 3 + 2] = static_cast<uint8_t>(TIFFGetB(raster[i]));
        }
        return true;
    }
    if (page.bitsPerSample != 8 || page.samplesPerPixel != 3 ||
        page.planar != PLANARCONFIG_CONTIG) {
        problems += "not 8-bit chunky RGB\n";
        return false;
    }
    size_t offset = 0;
    for (uint32_t strip = 0; strip < page.strips; ++strip) {
        const tmsize_t got = TIFFReadEncodedStrip(tiff, strip, page.rgb.data() + offset,
                                                  static_cast<tmsize_t>(bytes - offset));
        if (got < 0) {
            problems += "strip " + std::to_string(strip) + " could not be decoded\n";
            return false;
        }
        offset += static_cast<size_t>(got);
    }
    if (offset != bytes) {
        problems += "strips hold " + std::to_string(offset) + " bytes, expected " +
                    std::to_string(bytes) + "\n";
        return false;
    }
    return true;
}

}  // namespace

TiffReadResult ReadTiff(const fs::path& path) {
    TiffReadResult result;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, &CollectProblem, &result.problems);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &CollectProblem, &result.problems);
    TIFF* tiff = TIFFOpenExt(path.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr) {
        result.problems += "cannot open\n";
        return result;
    }
    do {
        TiffPageInfo page;
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &page.width);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &page.height);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &page.bitsPerSample);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &page.samplesPerPixel);
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &page.photometric);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &page.planar);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &page.compression);
        if (page.compression == COMPRESSION_LZW || page.compression == COMPRESSION_ADOBE_DEFLATE) {
            TIFFGetFieldDefaulted(tiff, TIFFTAG_PREDICTOR, &page.predictor);
        }
        TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &page.resolutionUnit);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SUBFILETYPE, &page.subfileType);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &page.rowsPerStrip);
        TIFFGetField(tiff, TIFFTAG_PAGENUMBER, &page.pageNumber, &page.pageTotal);
        TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &page.xResolution);
        TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &page.yResolution);
        page.strips = TIFFNumberOfStrips(tiff);
        ReadPixels(tiff, page, result.problems);
        result.pages.push_back(std::move(page));
    } while (TIFFReadDirectory(tiff) == 1);
    TIFFClose(tiff);
    return result;
}

std::vector<PageBitmap> ReadTiffWithQt(const fs::path& path) {
    std::vector<PageBitmap> pages;
    QImageReader reader(QString::fromStdString(path.string()), "tiff");
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i)) {
            return {};
        }
        QImage image = reader.read();
        if (image.isNull()) {
            return {};
        }
        image = image.convertToFormat(QImage::Format_RGB888);
        PageBitmap page = *PageBitmap::Create(image.width(), image.height());
        for (int32_t y = 0; y < image.height(); ++y) {
            std::memcpy(page.row(y), image.constScanLine(y), page.stride());
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

int MaxSampleDifference(const PageBitmap& page, const std::vector<uint8_t>& rgb) {
    int worst = 0;
    for (size_t i = 0; i < page.byteSize() && i < rgb.size(); ++i) {
        worst = std::max(worst, std::abs(int{page.data()[i]} - int{rgb[i]}));
    }
    return rgb.size() == page.byteSize() ? worst : 256;
}

int MaxSampleDifference(const PageBitmap& a, const PageBitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return 256;
    }
    return MaxSampleDifference(a, std::vector<uint8_t>(b.data(), b.data() + b.byteSize()));
}

double MeanSampleDifference(const PageBitmap& page, const std::vector<uint8_t>& rgb) {
    if (rgb.size() != page.byteSize() || rgb.empty()) {
        return 256;
    }
    double total = 0;
    for (size_t i = 0; i < rgb.size(); ++i) {
        total += std::abs(int{page.data()[i]} - int{rgb[i]});
    }
    return total / static_cast<double>(rgb.size());
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vellumo::imaging::testing
