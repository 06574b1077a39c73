#include "imaging/DecoderTable.h"

#include <array>
#include <cstring>
#include <initializer_list>

#include "imaging/AvifSequenceDecoder.h"
#include "imaging/BmpDecoder.h"
#include "imaging/GifDecoder.h"
#include "imaging/HeifDecoder.h"
#include "imaging/IcoDecoder.h"
#include "imaging/Jp2Decoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/JxlDecoder.h"
#include "imaging/PngDecoder.h"
#include "imaging/PsdDecoder.h"
#include "imaging/QtDecoder.h"
#include "imaging/RawDecoder.h"
#include "imaging/ReadFile.h"
#include "imaging/TgaDecoder.h"
#include "imaging/TiffDecoder.h"
#include "imaging/VectorDecoder.h"

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
// ISO base media files: an "ftyp" box first, its major brand saying what they hold.
bool HasBrand(std::span<const uint8_t> h, std::initializer_list<const char*> brands) {
    if (!StartsWith(h, "ftyp", 4, 4)) {
        return false;
    }
    for (const char* brand : brands) {
        if (StartsWith(h, brand, 4, 8)) {
            return true;
        }
    }
    return false;
}
bool IsAvifSequence(std::span<const uint8_t> h) {
    return HasBrand(h, {"avis"});
}
bool IsAvif(std::span<const uint8_t> h) {
    return HasBrand(h, {"avif", "avis"});
}
bool IsHeif(std::span<const uint8_t> h) {
    return HasBrand(h, {"heic", "heix", "hevc", "hevx", "heim", "heis", "hevm", "hevs", "mif1",
                        "msf1", "mif2"});
}
bool IsJxl(std::span<const uint8_t> h) {
    return StartsWith(h, "\xFF\x0A", 2) ||                 // bare codestream
           StartsWith(h, "\0\0\0\x0CJXL \r\n\x87\n", 12);  // container
}
bool IsPsd(std::span<const uint8_t> h) {
    return StartsWith(h, "8BPS\0\x01", 6) || StartsWith(h, "8BPS\0\x02", 6);
}
bool IsJp2(std::span<const uint8_t> h) {
    return StartsWith(h, "\0\0\0\x0CjP  \r\n\x87\n", 12) ||  // JP2 container
           StartsWith(h, "\xFF\x4F\xFF\x51", 4);             // bare codestream
}
// Text that opens an SVG document (after a byte-order mark and blanks), or gzip (.svgz).
bool IsSvg(std::span<const uint8_t> h) {
    size_t at = StartsWith(h, "\xEF\xBB\xBF", 3) ? 3 : 0;
    while (at < h.size() && (h[at] == ' ' || h[at] == '\t' || h[at] == '\r' || h[at] == '\n')) {
        ++at;
    }
    return StartsWith(h, "<svg", 4, at) || StartsWith(h, "<?xml", 5, at) ||
           StartsWith(h, "<!DOCTYPE svg", 13, at) || StartsWith(h, "<!--", 4, at) ||
           StartsWith(h, "\x1F\x8B", 2);
}
// An EMF header record (type 1) with the " EMF" signature.
bool IsEmf(std::span<const uint8_t> h) {
    return StartsWith(h, "\x01\0\0\0", 4) && StartsWith(h, " EMF", 4, 40);
}
// A placeable WMF, or a bare one (in memory or on disk, header size 9 words, version 3).
bool IsWmf(std::span<const uint8_t> h) {
    return StartsWith(h, "\xD7\xCD\xC6\x9A", 4) || StartsWith(h, "\x01\0\x09\0\0\x03", 6) ||
           StartsWith(h, "\x02\0\x09\0\0\x03", 6);
}
// TGA has no signature: a header whose fields all hold values the format allows. Last
// in the table, so it only sees files no other row claims.
bool IsTga(std::span<const uint8_t> h) {
    if (h.size() < 18) {
        return false;
    }
    const uint8_t mapType = h[1];
    const uint8_t type = h[2];
    const uint8_t depth = h[16];
    const bool mapped = type == 1 || type == 9;
    const bool typeOk = mapped || type == 2 || type == 3 || type == 10 || type == 11;
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    const bool sizeOk = (h[12] | h[13]) != 0 && (h[14] | h[15]) != 0;
    return typeOk && depthOk && sizeOk && (mapType == (mapped ? 1 : 0)) && (h[17] & 0xC0) == 0;
}
// Raw formats with a signature of their own; the TIFF-shaped ones (DNG, NEF, ARW, PEF,
// SRW) are told apart from ordinary TIFFs after sniffing (see OpenDecoder).
bool IsRaw(std::span<const uint8_t> h) {
    return (StartsWith(h, "II*\0", 4) && StartsWith(h, "CR", 2, 8)) ||  // CR2
           HasBrand(h, {"crx "}) ||                                     // CR3
           StartsWith(h, "IIRO", 4) || StartsWith(h, "IIRS", 4) ||
           StartsWith(h, "MMOR", 4) ||              // ORF
           StartsWith(h, "IIU\0", 4) ||             // RW2
           StartsWith(h, "FUJIFILMCCD-RAW", 15) ||  // RAF
           StartsWith(h, "\0MRM", 4) ||             // MRW
           StartsWith(h, "FOVb", 4) ||              // X3F
           StartsWith(h, "HEAPCCDR", 8, 6);         // CRW
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
std::unique_ptr<Decoder> Heif(const std::filesystem::path& p, const char*, const char*,
                              std::string& e) {
    return OpenHeif(p, e);
}
std::unique_ptr<Decoder> AvifSequence(const std::filesystem::path& p, const char*, const char*,
                                      std::string& e) {
    return OpenAvifSequence(p, e);
}
std::unique_ptr<Decoder> Jxl(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenJxl(p, e);
}
std::unique_ptr<Decoder> Svg(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenSvg(p, e);
}
std::unique_ptr<Decoder> Emf(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenEmf(p, e);
}
std::unique_ptr<Decoder> Wmf(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenWmf(p, e);
}
std::unique_ptr<Decoder> Tga(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenTga(p, e);
}
std::unique_ptr<Decoder> Jp2(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenJp2(p, e);
}
std::unique_ptr<Decoder> Psd(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenPsd(p, e);
}
std::unique_ptr<Decoder> Raw(const std::filesystem::path& p, const char*, const char*,
                             std::string& e) {
    return OpenRaw(p, e);
}

struct Row {
    const char* name;
    Sniffer matches;
    Opener open;
    const char* qtFormat;  // for the rows Qt's readers serve
};

// Our own decoders for the formats that need more than Qt gives (reduced-scale JPEG,
// every TIFF page, composited GIF frames, PNG without Qt's uninitialised pixels for
// 16-bit colour keys, icons with PNG entries Qt refuses, BMP bit fields read exactly,
// HEIF, animated AVIF, JPEG XL, JPEG 2000, camera raw, Photoshop and drawings); Qt's readers for
// the rest. Formats with no signature at all (WBMP, XBM) are deliberately absent; a bare DIB and
// TGA, whose headers can only be checked field by field, come last.
constexpr std::array<Row, 22> kDecoders = {{
    {"JPEG", IsJpeg, Jpeg, nullptr},
    {"Camera raw", IsRaw, Raw, nullptr},
    {"TIFF", IsTiff, Tiff, nullptr},
    {"GIF", IsGif, Gif, nullptr},
    {"PNG", IsPng, Png, nullptr},
    {"BMP", IsBmp, Bmp, nullptr},
    {"ICO", IsIco, OpenIco, "ico"},
    {"CUR", IsCur, OpenIco, "cur"},
    {"WebP", IsWebp, OpenWithQt, "webp"},
    {"PNM", IsPnm, OpenWithQt, nullptr},
    {"ICNS", IsIcns, OpenWithQt, "icns"},
    {"AVIF", IsAvifSequence, AvifSequence, nullptr},
    {"AVIF", IsAvif, Heif, nullptr},
    {"HEIF", IsHeif, Heif, nullptr},
    {"JPEG XL", IsJxl, Jxl, nullptr},
    {"JPEG 2000", IsJp2, Jp2, nullptr},
    {"PSD", IsPsd, Psd, nullptr},
    {"SVG", IsSvg, Svg, nullptr},
    {"EMF", IsEmf, Emf, nullptr},
    {"WMF", IsWmf, Wmf, nullptr},
    {"BMP", LooksLikeBareDib, Bmp, nullptr},
    {"TGA", IsTga, Tga, nullptr},
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
    if (row->open == Tiff && IsTiffShapedRaw(path)) {
        return OpenRaw(path, error);
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
