#include "imaging/DecoderTable.h"

#include <array>
#include <cstring>

#include "imaging/BmpDecoder.h"
#include "imaging/GifDecoder.h"
#include "imaging/IcoDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PngDecoder.h"
#include "imaging/QtDecoder.h"
#include "imaging/ReadFile.h"
#include "imaging/TiffDecoder.h"

namespace vellumo::imaging {
namespace {

bool StartsWith(std::span<const uint8_t> head, const char* magic, size_t length, size_t at = 0) {
    return head.size() >= at + length && std::memcmp(head.data() + at, magic, length) == 0;
}

// Start of image only: like libjpeg, we skip junk between it and the first marker.
bool IsJpeg(std::span<const uint8_t> h) {
    return StartsWith(h, "\xFF\xD8", 2);
}
bool IsTiff(std::span<const uint8_t> h) {
    return StartsWith(h, "II*\0", 4) || StartsWith(h, "MM\0*", 4) ||  // classic
           StartsWith(h, "II+\0", 4) || StartsWith(h, "MM\0+", 4);    // BigTIFF
}
bool IsGif(std::span<const uint8_t> h) {
    return StartsWith(h, "GIF87a", 6) || StartsWith(h, "GIF89a", 6);
}
bool IsPng(std::span<const uint8_t> h) {
    return StartsWith(h, "\x89PNG\r\n\x1A\n", 8);
}
bool IsBmp(std::span<const uint8_t> h) {
    return StartsWith(h, "BM", 2);
}
// Icon and cursor directories: reserved 0, type 1 or 2, then a non-zero image count.
bool IsIcon(std::span<const uint8_t> h, char type) {
    const char magic[4] = {0, 0, type, 0};
    return StartsWith(h, magic, 4) && h.size() >= 6 && (h[4] != 0 || h[5] != 0);
}
bool IsIco(std::span<const uint8_t> h) {
    return IsIcon(h, 1);
}
bool IsCur(std::span<const uint8_t> h) {
    return IsIcon(h, 2);
}
bool IsWebp(std::span<const uint8_t> h) {
    return StartsWith(h, "RIFF", 4) && StartsWith(h, "WEBP", 4, 8);
}
bool IsPnm(std::span<const uint8_t> h) {
    return h.size() >= 3 && h[0] == 'P' && h[1] >= '1' && h[1] <= '6' &&
           (h[2] == ' ' || h[2] == '\t' || h[2] == '\r' || h[2] == '\n');
}
bool IsIcns(std::span<const uint8_t> h) {
    return StartsWith(h, "icns", 4);
}

using Sniffer = bool (*)(std::span<const uint8_t>);
using Opener = std::unique_ptr<Decoder> (*)(const std::filesystem::path&, const char* qtFormat,
                                            const char* name, std::string& error);

std::unique_ptr<Decoder> Jpeg(const std::filesystem::path& p, const char*, const char*,
                              std::string& e) {
    return OpenJpeg(p, e);
}
std::unique_ptr<Decoder> Tiff(const std::filesystem::path& p, const char*, const char*,
                              std::string& e) {
    return OpenTiff(p, e);
}
std::unique_ptr<Decoder> Png(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenPng(p, e);
}
std::unique_ptr<Decoder> Bmp(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenBmp(p, e);
}
std::unique_ptr<Decoder> Gif(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenGif(p, e);
}

struct Row {
    const char* name;
    Sniffer matches;
    Opener open;
    const char* qtFormat;  // for the rows Qt's readers serve
};

// Our own decoders for the formats that need more than Qt gives (reduced-scale JPEG,
// every TIFF page, composited GIF frames, PNG without Qt's uninitialised pixels for
// 16-bit colour keys, icons with PNG entries Qt refuses, BMP bit fields read exactly);
// Qt's readers for the rest. Content-less formats (TGA, WBMP, XBM) and vector formats
// are deliberately absent. A bare DIB has the weakest signature, so it comes last.
constexpr std::array<Row, 11> kDecoders = {{
    {"JPEG", IsJpeg, Jpeg, nullptr},
    {"TIFF", IsTiff, Tiff, nullptr},
    {"GIF", IsGif, Gif, nullptr},
    {"PNG", IsPng, Png, nullptr},
    {"BMP", IsBmp, Bmp, nullptr},
    {"ICO", IsIco, OpenIco, "ico"},
    {"CUR", IsCur, OpenIco, "cur"},
    {"WebP", IsWebp, OpenWithQt, "webp"},
    {"PNM", IsPnm, OpenWithQt, nullptr},
    {"ICNS", IsIcns, OpenWithQt, "icns"},
    {"BMP", LooksLikeBareDib, Bmp, nullptr},
}};

const Row* Find(std::span<const uint8_t> head) {
    for (const Row& row : kDecoders) {
        if (row.matches(head)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

std::string SniffFormat(std::span<const uint8_t> head) {
    const Row* row = Find(head);
    return row != nullptr ? row->name : "";
}

std::unique_ptr<Decoder> OpenDecoder(const std::filesystem::path& path, std::string& error) {
    const auto head = ReadHead(path, kSniffBytes);
    if (!head) {
        error = "cannot open the file";
        return nullptr;
    }
    const Row* row = Find(*head);
    if (row == nullptr) {
        error = "not an image file of a supported format";
        return nullptr;
    }
    const char* qtFormat = row->qtFormat;
    if (row->open == OpenWithQt && qtFormat == nullptr) {
        // One row for the three PNM flavours: P1/P4 bitmap, P2/P5 grey, P3/P6 colour.
        const uint8_t kind = (*head)[1];
        qtFormat = (kind == '1' || kind == '4')   ? "pbm"
                   : (kind == '2' || kind == '5') ? "pgm"
                                                  : "ppm";
    }
    return row->open(path, qtFormat, row->name, error);
}

}  // namespace vellumo::imaging
