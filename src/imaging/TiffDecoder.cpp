#include "imaging/TiffDecoder.h"

#include <tiffio.h>

#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/TiffSamples.h"

namespace vellumo::imaging {
namespace {

// More pages than any real document has; also a bound on a directory chain that a
// damaged file makes longer than its loop check catches.
constexpr size_t kMaxPages = 65536;

// Largest single buffer libtiff may allocate for us (a strip or a tile).
constexpr tmsize_t kMaxLibraryAllocation = tmsize_t{1} << 30;

// libtiff's messages go to the decoder that owns the handle instead of stderr.
struct MessageSink {
    std::string lastError;
};

int OnTiffError(TIFF*, void* userData, const char* module, const char* fmt, va_list ap) {
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, ap);
    auto* sink = static_cast<MessageSink*>(userData);
    sink->lastError = module != nullptr ? std::string(module) + ": " + text : std::string(text);
    return 1;  // handled: nothing reaches the global handler
}

int OnTiffWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const {
        if (tif != nullptr) {
            TIFFClose(tif);
        }
    }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct Page {
    toff_t offset = 0;  // of the page's directory, so that selecting a page is one seek
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 96.0;
    bool hasAlpha = false;
    bool tooManySamples = false;  // refused: the decoders would size buffers from it
    int orientation = 0;          // the Orientation tag, 1 to 8; 0 when absent or invalid
    uint16_t photometric = 0;
    bool deepSamples = false;  // 16-bit or float samples
    IccProfile icc;

    // Ink pages with a CMYK profile are converted through it while decoding.
    bool InksWithProfile() const {
        return photometric == PHOTOMETRIC_SEPARATED && icc.size() >= 20 &&
               std::memcmp(icc.data() + 16, "CMYK", 4) == 0;
    }
};

Page ReadPage(TIFF* tif) {
    Page page;
    uint32_t w = 0, h = 0;
    if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) == 1 &&
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h) == 1 && w <= INT32_MAX && h <= INT32_MAX) {
        page.width = static_cast<int32_t>(w);
        page.height = static_cast<int32_t>(h);
    }
    uint16_t samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    page.tooManySamples = samples > kMaxTiffSamplesPerPixel;
    float xres = 0;
    uint16_t unit = RESUNIT_INCH;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) == 1 && std::isfinite(xres) && xres > 0) {
        TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
        if (unit == RESUNIT_INCH) {
            page.dpiX = xres;
        } else if (unit == RESUNIT_CENTIMETER) {
            page.dpiX = xres * 2.54;
        }
    }
    uint16_t orientation = 0;
    if (TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation) == 1 && orientation >= 1 &&
        orientation <= 8) {
        page.orientation = orientation;
    }
    uint32_t iccBytes = 0;
    const uint8_t* icc = nullptr;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccBytes, &icc) == 1 && icc != nullptr) {
        page.icc.assign(icc, icc + iccBytes);
    }
    uint16_t bits = 8, format = SAMPLEFORMAT_UINT;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    page.deepSamples = (bits == 16 && format == SAMPLEFORMAT_UINT) ||
                       (bits == 32 && format == SAMPLEFORMAT_IEEEFP);
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) == 1) {
        for (uint16_t i = 0; i < extraCount; ++i) {
            if (extraTypes[i] == EXTRASAMPLE_ASSOCALPHA ||
                extraTypes[i] == EXTRASAMPLE_UNASSALPHA) {
                page.hasAlpha = true;
            }
        }
    }
    return page;
}

class TiffDecoder final : public Decoder {
  public:
    TiffDecoder(TiffHandle tif, std::unique_ptr<MessageSink> sink, std::vector<Page> pages)
        : tif_(std::move(tif)), sink_(std::move(sink)), pages_(std::move(pages)) {}

    std::string FormatName() const override { return "TIFF"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Page, static_cast<uint32_t>(pages_.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Page || index < 0 ||
            static_cast<size_t>(index) >= pages_.size()) {
            return false;
        }
        const Page& page = pages_[static_cast<size_t>(index)];
        if (!SourceSizeAllowed(page.width, page.height) || page.tooManySamples) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override {
        const Page& page = pages_[static_cast<size_t>(active_)];
        return {page.width, page.height, page.dpiX};
    }
    int ExifOrientation() const override {
        return pages_[static_cast<size_t>(active_)].orientation;
    }
    IccProfile ColourProfile() const override { return pages_[static_cast<size_t>(active_)].icc; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    TiffHandle tif_;
    std::unique_ptr<MessageSink> sink_;
    std::vector<Page> pages_;
    int32_t active_ = 0;
};

QImage TiffDecoder::Decode(QSize, std::string& error) {
    const Page& page = pages_[static_cast<size_t>(active_)];
    TIFF* tif = tif_.get();
    sink_->lastError.clear();
    if (!SourceSizeAllowed(page.width, page.height)) {
        error = "the image is too large";
        return {};
    }
    // By offset: counting directories from the first would make N pages cost O(N^2).
    if (TIFFSetSubDirectory(tif, page.offset) != 1) {
        error = sink_->lastError.empty() ? "cannot read the TIFF page" : sink_->lastError;
        return {};
    }
    // libtiff's RGBA interface first: it knows every colour model and compression.
    // Some sample sizes pass its check but not its reader (2- and 4-bit RGB, 16-bit
    // palette and CMYK), and some fail the check (10-, 12-, 14-bit): those go through
    // our own sample reader.
    // Our reader also takes the pages whose colours need more than libtiff's rules: ink
    // through its profile, deep samples converted before they are cut to 8 bits.
    TiffColour colour;
    std::shared_ptr<const SrgbTransform> inks;
    if (page.InksWithProfile()) {
        inks = SrgbTransform::For(page.icc, PixelLayout::Cmyk8);
        colour.cmyk = inks.get();
    }
    const bool grey =
        page.photometric == PHOTOMETRIC_MINISBLACK || page.photometric == PHOTOMETRIC_MINISWHITE;
    colour.deep = page.deepSamples && !page.hasAlpha &&
                  (page.photometric == PHOTOMETRIC_RGB || grey) && !IsSrgbEquivalent(page.icc) &&
                  DescribesRgbPixels(page.icc);
    char why[1024] = {};
    QImage image;
    if (colour.cmyk == nullptr && !colour.deep && TIFFRGBAImageOK(tif, why) == 1) {
        image = QImage(page.width, page.height, QImage::Format_RGBA8888_Premultiplied);
        if (image.isNull()) {
            error = "out of memory for the decoded page";
            return {};
        }
        // Asking for the page's own orientation gives the rows as stored, like every
        // other decoder: turning upright is --auto-orient's job, from ExifOrientation.
        const int stored = page.orientation != 0 ? page.orientation : ORIENTATION_TOPLEFT;
        if (TIFFReadRGBAImageOriented(tif, static_cast<uint32_t>(page.width),
                                      static_cast<uint32_t>(page.height),
                                      reinterpret_cast<uint32_t*>(image.bits()), stored, 1) != 1) {
            std::snprintf(why, sizeof why, "%s",
                          sink_->lastError.empty() ? "cannot decode the TIFF page"
                                                   : sink_->lastError.c_str());
            image = QImage();
        }
    }
    if (image.isNull()) {
        std::string ours;
        image = DecodeTiffSamples(tif, page.width, page.height, colour, ours);
        if (image.isNull()) {
            error = why[0] == '\0' ? ours : std::string(why) + " (" + ours + ")";
        }
        return image;
    }
    auto* raster = reinterpret_cast<uint32_t*>(image.bits());
    if constexpr (std::endian::native == std::endian::big) {
        // The packed words hold R in the low byte; the image wants R first in memory.
        const size_t count = static_cast<size_t>(page.width) * static_cast<size_t>(page.height);
        for (size_t i = 0; i < count; ++i) {
            const uint32_t v = raster[i];
            raster[i] = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
        }
    }
    if (!page.hasAlpha) {
        image.convertTo(QImage::Format_RGB888);  // opaque: the faster three-channel path
    }
    return image;
}

}  // namespace

std::unique_ptr<Decoder> OpenTiff(const std::filesystem::path& path, std::string& error) {
    auto sink = std::make_unique<MessageSink>();
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        error = "out of memory";
        return nullptr;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnTiffError, sink.get());
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnTiffWarning, nullptr);
#ifdef _WIN32
    // "m": read, never map. A mapped input that another program shortens under us
    // would end the process with a bus error instead of failing this photo.
    TiffHandle tif(TIFFOpenWExt(path.c_str(), "rm", options));
#else
    TiffHandle tif(TIFFOpenExt(path.c_str(), "rm", options));
#endif
    TIFFOpenOptionsFree(options);
    if (!tif) {
        error = sink->lastError.empty() ? "not a readable TIFF file" : sink->lastError;
        return nullptr;
    }
    std::vector<Page> pages;
    do {
        pages.push_back(ReadPage(tif.get()));
        pages.back().offset = TIFFCurrentDirOffset(tif.get());
    } while (pages.size() < kMaxPages && TIFFReadDirectory(tif.get()) == 1);

    if (!SourceSizeAllowed(pages.front().width, pages.front().height)) {
        error = "the image is too large or has no size";
        return nullptr;
    }
    if (pages.front().tooManySamples) {
        error = "the image has too many samples per pixel";
        return nullptr;
    }
    sink->lastError.clear();
    return std::make_unique<TiffDecoder>(std::move(tif), std::move(sink), std::move(pages));
}

}  // namespace vellumo::imaging
