#include "imaging/RawDecoder.h"

#include <libraw/libraw.h>

#include <optional>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

// The processor is large (hundreds of kilobytes of tables): always on the heap.
using Processor = std::unique_ptr<LibRaw>;

// LibRaw reports data ending early or damaged through a callback and carries on with
// zeros; we remember it so such a file is refused instead of drawn half blank.
void OnDataError(void* flag, const char*, int) {
    *static_cast<bool*>(flag) = true;
}

int OpenPath(LibRaw& raw, const std::filesystem::path& path) {
#ifdef _WIN32
    return raw.open_file(path.wstring().c_str());
#else
    return raw.open_file(path.string().c_str());
#endif
}

// Opens `path` with our development settings; null with `error` set on failure.
Processor OpenProcessor(const std::filesystem::path& path, bool halfSize, bool& dataError,
                        std::string& error) {
    Processor raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
    raw->set_dataerror_handler(OnDataError, &dataError);
    libraw_output_params_t& p = raw->imgdata.params;
    p.use_camera_wb = 1;
    p.output_color = 1;  // sRGB
    p.output_bps = 8;
    p.user_flip = 0;  // orientation is reported, not applied
    p.half_size = halfSize ? 1 : 0;
    const int status = OpenPath(*raw, path);
    if (status != LIBRAW_SUCCESS) {
        error = status == LIBRAW_FILE_UNSUPPORTED ? "not a supported camera raw file"
                                                  : LibRaw::strerror(status);
        return nullptr;
    }
    const libraw_image_sizes_t& s = raw->imgdata.sizes;
    if (!SourceSizeAllowed(s.raw_width, s.raw_height) || !SourceSizeAllowed(s.width, s.height)) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    return raw;
}

// LibRaw's flip (bit 2 transpose, bit 1 vertical, bit 0 horizontal) as an EXIF value.
int ExifOrientationOf(int flip) {
    constexpr int kByFlip[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return flip >= 0 && flip < 8 ? kByFlip[flip] : 0;
}

// Enough of a TIFF's start to hold its first directory in every camera file we know.
constexpr size_t kTiffHeadBytes = 64 * 1024;

struct Ifd0Tags {
    bool dngVersion = false;
    bool make = false;
};

// The tags of a classic TIFF's first directory that tell a camera's file apart.
Ifd0Tags ReadIfd0Tags(const std::vector<uint8_t>& b) {
    if (b.size() < 8 || (b[0] != 'I' && b[0] != 'M') || b[1] != b[0]) {
        return {};
    }
    const bool big = b[0] == 'M';
    auto u16 = [&](size_t at) -> uint32_t {
        return big ? (b[at] << 8) | b[at + 1] : (b[at + 1] << 8) | b[at];
    };
    auto u32 = [&](size_t at) -> uint64_t {
        return big ? (uint64_t{u16(at)} << 16) | u16(at + 2)
                   : (uint64_t{u16(at + 2)} << 16) | u16(at);
    };
    const uint64_t ifd = u32(4);
    if (ifd > b.size() - 2) {
        return {};
    }
    const uint32_t count = u16(ifd);
    Ifd0Tags tags;
    for (uint32_t i = 0; i < count && ifd + 2 + (i + 1) * 12 <= b.size(); ++i) {
        const uint32_t tag = u16(ifd + 2 + i * 12);
        tags.dngVersion = tags.dngVersion || tag == 50706;
        tags.make = tags.make || tag == 271;
    }
    return tags;
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;
    int orientation = 0;
};

class RawDecoder final : public SingleFrameDecoder {
  public:
    RawDecoder(std::filesystem::path path, const Header& header)
        : path_(std::move(path)), header_(header) {}

    std::string FormatName() const override { return "Camera raw"; }
    FrameInfo ActiveFrame() const override { return {header_.width, header_.height, 96.0}; }
    int ExifOrientation() const override { return header_.orientation; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    QImage Develop(bool halfSize, std::string& error) const;

    std::filesystem::path path_;
    Header header_;
};

struct MemImageFree {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

QImage RawDecoder::Develop(bool halfSize, std::string& error) const {
    bool dataError = false;
    const Processor raw = OpenProcessor(path_, halfSize, dataError, error);
    if (!raw) {
        return {};
    }
    int status = raw->unpack();
    if (status == LIBRAW_SUCCESS) {
        status = raw->dcraw_process();
    }
    if (status != LIBRAW_SUCCESS) {
        error = LibRaw::strerror(status);
        return {};
    }
    if (dataError) {
        error = "the raw data is truncated or damaged";
        return {};
    }
    const std::unique_ptr<libraw_processed_image_t, MemImageFree> image(
        raw->dcraw_make_mem_image(&status));
    if (!image || status != LIBRAW_SUCCESS || image->type != LIBRAW_IMAGE_BITMAP ||
        image->bits != 8) {
        error = "the raw file cannot be developed";
        return {};
    }
    InterleavedPixels pixels;
    pixels.data = image->data;
    pixels.width = image->width;
    pixels.height = image->height;
    pixels.channels = image->colors;
    pixels.stride = static_cast<size_t>(image->width) * static_cast<size_t>(image->colors);
    if (static_cast<uint64_t>(pixels.stride) * image->height > image->data_size) {
        error = "the raw file cannot be developed";
        return {};
    }
    return CopyInterleaved(pixels, error);
}

QImage RawDecoder::Decode(QSize minimum, std::string& error) {
    // Half size halves both sides (rounding down); take it only when that still covers
    // the page.
    const bool half = minimum.width() > 0 && minimum.height() > 0 &&
                      int64_t{minimum.width()} * 2 < header_.width &&
                      int64_t{minimum.height()} * 2 < header_.height;
    QImage image = Develop(half, error);
    if (image.isNull()) {
        return {};
    }
    const bool sizeOk = half
                            ? image.width() >= minimum.width() && image.height() >= minimum.height()
                            : image.width() == header_.width && image.height() == header_.height;
    if (!sizeOk) {
        error = "the developed raw image does not match its header";
        return {};
    }
    return image;
}

}  // namespace

std::unique_ptr<Decoder> OpenRaw(const std::filesystem::path& path, std::string& error) {
    bool dataError = false;
    const Processor raw = OpenProcessor(path, false, dataError, error);
    if (!raw) {
        return nullptr;
    }
    // The developed size (after Fuji's rotated sensors and non-square pixels).
    if (raw->adjust_sizes_info_only() != LIBRAW_SUCCESS) {
        error = "the raw file cannot be developed";
        return nullptr;
    }
    Header header;
    header.width = raw->imgdata.sizes.iwidth;
    header.height = raw->imgdata.sizes.iheight;
    header.orientation = ExifOrientationOf(raw->imgdata.sizes.flip);
    if (!SourceSizeAllowed(header.width, header.height)) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    return std::make_unique<RawDecoder>(path, header);
}

bool IsTiffShapedRaw(const std::filesystem::path& path) {
    const std::optional<std::vector<uint8_t>> head = ReadHead(path, kTiffHeadBytes);
    const Ifd0Tags tags = head ? ReadIfd0Tags(*head) : Ifd0Tags{};
    if (tags.dngVersion) {
        return true;
    }
    if (!tags.make) {
        return false;  // not from a camera: leave it to the TIFF decoder without asking LibRaw
    }
    bool dataError = false;
    std::string error;
    return OpenProcessor(path, false, dataError, error) != nullptr;
}

}  // namespace vellumo::imaging
