#include "imaging/HeifDecoder.h"

#include <libheif/heif.h>

#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/DecodeLimits.h"
#include "imaging/ExifBlock.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

// The plugin codecs (libde265, dav1d, aom) load once per process; never undone.
void EnsureLibheif() {
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Image = std::unique_ptr<heif_image, ImageRelease>;

std::string Message(const heif_error& e, const char* fallback) {
    return e.message != nullptr && *e.message != '\0' ? std::string(e.message) : fallback;
}

// The file's bytes and the context parsed from them (it reads them in place, so they
// live together).
struct Parsed {
    std::vector<uint8_t> bytes;
    Context context;
};

// Photos from phones are a few megabytes; this only stops a file from filling memory.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

std::optional<Parsed> ReadContext(const std::filesystem::path& path, std::string& error) {
    EnsureLibheif();
    Parsed parsed;
    std::optional<std::vector<uint8_t>> bytes = ReadWhole(path, kMaxFileBytes);
    if (!bytes) {
        error = "cannot read the file";
        return std::nullopt;
    }
    parsed.bytes = std::move(*bytes);
    parsed.context.reset(heif_context_alloc());
    if (!parsed.context) {
        error = "out of memory";
        return std::nullopt;
    }
    // libheif's own bound on a side, before it allocates; ours on the area follows.
    heif_context_set_maximum_image_size_limit(parsed.context.get(),
                                              static_cast<int>(kMaxSourcePixels));
    const heif_error e = heif_context_read_from_memory_without_copy(
        parsed.context.get(), parsed.bytes.data(), parsed.bytes.size(), nullptr);
    if (e.code != heif_error_Ok) {
        error = Message(e, "not a readable HEIF file");
        return std::nullopt;
    }
    return parsed;
}

// Top-level images, the primary one first.
std::vector<heif_item_id> FrameIds(heif_context* context) {
    const int count = heif_context_get_number_of_top_level_images(context);
    std::vector<heif_item_id> ids(static_cast<size_t>(count > 0 ? count : 0));
    heif_context_get_list_of_top_level_image_IDs(context, ids.data(), count);
    heif_item_id primary = 0;
    if (heif_context_get_primary_image_ID(context, &primary).code == heif_error_Ok) {
        for (size_t i = 1; i < ids.size(); ++i) {
            if (ids[i] == primary) {
                std::swap(ids[0], ids[i]);
            }
        }
    }
    return ids;
}

ExifFields ExifOf(heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) != 1) {
        return {};
    }
    std::vector<uint8_t> block(heif_image_handle_get_metadata_size(handle, id));
    if (block.empty() ||
        heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok) {
        return {};
    }
    return ReadExifBlock(block);
}

std::string_view MajorBrand(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 12 ? std::string_view(reinterpret_cast<const char*>(bytes.data()) + 8, 4)
                              : std::string_view();
}

struct Frame {
    heif_item_id id = 0;
    FrameInfo info;
    IccProfile icc;
};

// The colour description of an image: its ICC profile, or one made for its nclx box when
// the primaries are not sRGB's (Display P3, BT.2020). PQ and HLG pictures are not
// described: an sRGB page cannot show them anyway.
IccProfile IccOf(heif_image_handle* handle) {
    if (const size_t size = heif_image_handle_get_raw_color_profile_size(handle); size > 0) {
        IccProfile icc(size);
        if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code == heif_error_Ok) {
            return icc;
        }
    }
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error status = heif_image_handle_get_nclx_color_profile(handle, &nclx);
    // Owned even on an error: libheif fills the profile in before it judges the values.
    const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> owned(
        nclx, heif_nclx_color_profile_free);
    if (status.code != heif_error_Ok || nclx == nullptr) {
        return {};
    }
    const auto primaries = nclx->color_primaries;
    if (primaries == heif_color_primaries_ITU_R_BT_709_5 ||
        primaries == heif_color_primaries_unspecified) {
        return {};
    }
    ToneCurve curve = ToneCurve::Bt709;
    double gamma = 2.2;
    switch (nclx->transfer_characteristics) {
        case heif_transfer_characteristic_IEC_61966_2_1:
        case heif_transfer_characteristic_unspecified:
            curve = ToneCurve::Srgb;
            break;
        case heif_transfer_characteristic_linear:
            curve = ToneCurve::Gamma;
            gamma = 1.0;
            break;
        case heif_transfer_characteristic_ITU_R_BT_2100_0_PQ:
        case heif_transfer_characteristic_ITU_R_BT_2100_0_HLG:
            return {};
        default:
            break;
    }
    Chromaticities c;
    c.whiteX = nclx->color_primary_white_x;
    c.whiteY = nclx->color_primary_white_y;
    c.redX = nclx->color_primary_red_x;
    c.redY = nclx->color_primary_red_y;
    c.greenX = nclx->color_primary_green_x;
    c.greenY = nclx->color_primary_green_y;
    c.blueX = nclx->color_primary_blue_x;
    c.blueY = nclx->color_primary_blue_y;
    return MakeRgbProfile(c, curve, gamma,
                          "nclx primaries " + std::to_string(static_cast<int>(primaries)));
}

class HeifDecoder final : public Decoder {
  public:
    HeifDecoder(std::filesystem::path path, std::string name, std::vector<Frame> frames)
        : path_(std::move(path)), name_(std::move(name)), frames_(std::move(frames)) {}

    std::string FormatName() const override { return name_; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Page, static_cast<uint32_t>(frames_.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Page || index < 0 ||
            index >= static_cast<int32_t>(frames_.size())) {
            return false;
        }
        active_ = static_cast<size_t>(index);
        return true;
    }
    FrameInfo ActiveFrame() const override { return frames_[active_].info; }
    IccProfile ColourProfile() const override { return frames_[active_].icc; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    std::string name_;
    std::vector<Frame> frames_;
    size_t active_ = 0;
};

QImage HeifDecoder::Decode(QSize, std::string& error) {
    const std::optional<Parsed> parsed = ReadContext(path_, error);
    if (!parsed) {
        return {};
    }
    const Frame& frame = frames_[active_];
    heif_image_handle* raw = nullptr;
    if (heif_context_get_image_handle(parsed->context.get(), frame.id, &raw).code !=
        heif_error_Ok) {
        error = "the file changed since it was opened";
        return {};
    }
    const Handle handle(raw);
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    const heif_error e = heif_decode_image(
        handle.get(), &decoded, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    const Image image(decoded);
    if (e.code != heif_error_Ok || !image) {
        error = Message(e, "cannot decode the HEIF image");
        return {};
    }
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    InterleavedPixels pixels;
    pixels.data = plane;
    pixels.stride = stride > 0 ? static_cast<size_t>(stride) : 0;
    pixels.width = heif_image_get_width(image.get(), heif_channel_interleaved);
    pixels.height = heif_image_get_height(image.get(), heif_channel_interleaved);
    pixels.channels = alpha ? 4 : 3;
    pixels.premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(handle.get()) != 0;
    if (pixels.width != frame.info.width || pixels.height != frame.info.height ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        error = "the decoded HEIF image does not match its header";
        return {};
    }
    return CopyInterleaved(pixels, error);
}

}  // namespace

std::unique_ptr<Decoder> OpenHeif(const std::filesystem::path& path, std::string& error) {
    const std::optional<Parsed> parsed = ReadContext(path, error);
    if (!parsed) {
        return nullptr;
    }
    heif_context* context = parsed->context.get();
    std::vector<Frame> frames;
    for (const heif_item_id id : FrameIds(context)) {
        heif_image_handle* raw = nullptr;
        if (heif_context_get_image_handle(context, id, &raw).code != heif_error_Ok) {
            continue;  // an image libheif cannot describe is not offered as a page
        }
        const Handle handle(raw);
        Frame frame;
        frame.id = id;
        frame.info.width = heif_image_handle_get_width(handle.get());
        frame.info.height = heif_image_handle_get_height(handle.get());
        if (!SourceSizeAllowed(frame.info.width, frame.info.height)) {
            error = "the image has no size or is too large";
            return nullptr;
        }
        const ExifFields exif = ExifOf(handle.get());
        if (exif.dpiX && *exif.dpiX > 0) {
            frame.info.dpiX = *exif.dpiX;
        }
        frame.icc = IccOf(handle.get());
        frames.push_back(frame);
    }
    if (frames.empty()) {
        error = "the HEIF file holds no image";
        return nullptr;
    }
    const std::string_view brand = MajorBrand(parsed->bytes);
    const char* name = brand == "avif" || brand == "avis" ? "AVIF" : "HEIF";
    return std::make_unique<HeifDecoder>(path, name, std::move(frames));
}

}  // namespace vellumo::imaging
