#include "imaging/Jp2Decoder.h"

#include <openjpeg.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "imaging/DecodeLimits.h"
#include "imaging/InterleavedImage.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

struct StreamFree {
    void operator()(opj_stream_t* s) const { opj_stream_destroy(s); }
};
struct CodecFree {
    void operator()(opj_codec_t* c) const { opj_destroy_codec(c); }
};
struct ImageFree {
    void operator()(opj_image_t* i) const { opj_image_destroy(i); }
};

// OpenJPEG reports through callbacks; the first error is kept for the user.
void OnError(const char* message, void* target) {
    auto* error = static_cast<std::string*>(target);
    if (error->empty() && message != nullptr) {
        *error = message;
        while (!error->empty() && (error->back() == '\n' || error->back() == ' ')) {
            error->pop_back();
        }
    }
}
void OnQuiet(const char*, void*) {}

bool IsContainer(const std::filesystem::path& path) {
    const auto head = ReadHead(path, 12);
    return head && head->size() == 12 && (*head)[4] == 'j' && (*head)[5] == 'P';
}

// One open session: stream, codec and the header's image description.
struct Session {
    std::unique_ptr<opj_stream_t, StreamFree> stream;
    std::unique_ptr<opj_codec_t, CodecFree> codec;
    std::unique_ptr<opj_image_t, ImageFree> image;
    std::string error;
};

std::unique_ptr<Session> Start(const std::filesystem::path& path, std::string& error) {
    auto s = std::make_unique<Session>();
    s->stream.reset(opj_stream_create_default_file_stream(path.string().c_str(), OPJ_TRUE));
    s->codec.reset(opj_create_decompress(IsContainer(path) ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!s->stream || !s->codec) {
        error = "cannot open the file";
        return nullptr;
    }
    opj_set_error_handler(s->codec.get(), OnError, &s->error);
    opj_set_warning_handler(s->codec.get(), OnQuiet, nullptr);
    opj_set_info_handler(s->codec.get(), OnQuiet, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_image_t* image = nullptr;
    const bool ok = opj_setup_decoder(s->codec.get(), &parameters) &&
                    opj_read_header(s->stream.get(), s->codec.get(), &image);
    s->image.reset(image);
    if (!ok || !s->image || s->image->numcomps == 0 || s->image->comps == nullptr) {
        error = s->error.empty() ? "not a readable JPEG 2000 file" : s->error;
        return nullptr;
    }
    return s;
}

QSize SizeOf(const opj_image_t& image) {
    return QSize(static_cast<int>(image.x1 - image.x0), static_cast<int>(image.y1 - image.y0));
}

// How the components are read as colours.
enum class Layout { Grey, GreyAlpha, Rgb, Rgba, Ycc, Cmyk };

std::optional<Layout> LayoutOf(const opj_image_t& image) {
    const uint32_t n = image.numcomps;
    if (image.color_space == OPJ_CLRSPC_CMYK && n >= 4) {
        return Layout::Cmyk;
    }
    if (n >= 3 && (image.color_space == OPJ_CLRSPC_SYCC || image.color_space == OPJ_CLRSPC_EYCC)) {
        return Layout::Ycc;
    }
    if (n == 1 || n == 2) {
        return n == 1 ? Layout::Grey : Layout::GreyAlpha;
    }
    return n == 3 ? Layout::Rgb : Layout::Rgba;
}

class Jp2Decoder final : public SingleFrameDecoder {
  public:
    Jp2Decoder(std::filesystem::path path, QSize size, uint32_t levels)
        : path_(std::move(path)), size_(size), levels_(levels) {}

    std::string FormatName() const override { return "JPEG 2000"; }
    FrameInfo ActiveFrame() const override { return {size_.width(), size_.height(), 96.0}; }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    QSize size_;
    uint32_t levels_;  // resolution levels that can be dropped
};

// The largest number of halvings that keeps both sides at least `minimum`.
uint32_t ChooseReduction(QSize size, QSize minimum, uint32_t levels) {
    if (minimum.isEmpty()) {
        return 0;
    }
    uint32_t r = 0;
    while (r < levels && r < 8 && (size.width() >> (r + 1)) >= minimum.width() + 1 &&
           (size.height() >> (r + 1)) >= minimum.height() + 1) {
        ++r;
    }
    return r;
}

// A component's sample at output pixel (x, y), scaled to 8 bits.
struct Channel {
    const opj_image_comp_t* comp = nullptr;
    int width = 0, height = 0;  // output size
    uint8_t At(int x, int y) const {
        const auto cx = std::min<int64_t>(int64_t{x} * comp->w / width, comp->w - 1);
        const auto cy = std::min<int64_t>(int64_t{y} * comp->h / height, comp->h - 1);
        int64_t v = comp->data[cy * comp->w + cx];
        const uint32_t precision = std::clamp<uint32_t>(comp->prec, 1, 31);
        if (comp->sgnd) {
            v += int64_t{1} << (precision - 1);
        }
        const int64_t top = (int64_t{1} << precision) - 1;
        return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, top) * 255 / top);
    }
};

uint8_t Clamp8(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

QImage Jp2Decoder::Decode(QSize minimum, std::string& error) {
    const std::unique_ptr<Session> s = Start(path_, error);
    if (!s) {
        return {};
    }
    if (SizeOf(*s->image) != size_) {
        error = "the file changed since it was opened";
        return {};
    }
    const uint32_t reduction = ChooseReduction(size_, minimum, levels_);
    if (!opj_set_decoded_resolution_factor(s->codec.get(), reduction) ||
        !opj_decode(s->codec.get(), s->stream.get(), s->image.get()) ||
        !opj_end_decompress(s->codec.get(), s->stream.get())) {
        error = s->error.empty() ? "the JPEG 2000 data is damaged or cut short" : s->error;
        return {};
    }
    const opj_image_t& image = *s->image;
    const std::optional<Layout> layout = LayoutOf(image);
    const opj_image_comp_t& first = image.comps[0];
    const int width = static_cast<int>(first.w);
    const int height = static_cast<int>(first.h);
    const int needed = *layout == Layout::Cmyk        ? 4
                       : *layout == Layout::Rgba      ? 4
                       : *layout == Layout::Grey      ? 1
                       : *layout == Layout::GreyAlpha ? 2
                                                      : 3;
    if (!SourceSizeAllowed(width, height) || static_cast<int>(image.numcomps) < needed) {
        error = "the decoded JPEG 2000 image does not match its header";
        return {};
    }
    std::array<Channel, 4> channels{};
    for (int c = 0; c < needed; ++c) {
        const opj_image_comp_t& comp = image.comps[c];
        if (comp.data == nullptr || comp.w == 0 || comp.h == 0) {
            error = "the JPEG 2000 data is damaged or cut short";
            return {};
        }
        channels[static_cast<size_t>(c)] = {&comp, width, height};
    }
    const bool alpha = *layout == Layout::GreyAlpha || *layout == Layout::Rgba;
    const int outChannels = (*layout == Layout::Grey || *layout == Layout::GreyAlpha)
                                ? (alpha ? 2 : 1)
                                : (alpha ? 4 : 3);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * outChannels);
    uint8_t* out = pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::array<uint8_t, 4> v{};
            for (int c = 0; c < needed; ++c) {
                v[static_cast<size_t>(c)] = channels[static_cast<size_t>(c)].At(x, y);
            }
            if (*layout == Layout::Ycc) {
                const double cb = v[1] - 128.0, cr = v[2] - 128.0;
                v = {Clamp8(v[0] + 1.402 * cr), Clamp8(v[0] - 0.344136 * cb - 0.714136 * cr),
                     Clamp8(v[0] + 1.772 * cb), 0};
            } else if (*layout == Layout::Cmyk) {
                const unsigned k = 255u - v[3];
                v = {static_cast<uint8_t>((255u - v[0]) * k / 255u),
                     static_cast<uint8_t>((255u - v[1]) * k / 255u),
                     static_cast<uint8_t>((255u - v[2]) * k / 255u), 0};
            }
            out = std::copy(v.begin(), v.begin() + outChannels, out);
        }
    }
    InterleavedPixels view;
    view.data = pixels.data();
    view.width = width;
    view.height = height;
    view.channels = outChannels;
    view.stride = static_cast<size_t>(width) * outChannels;
    return CopyInterleaved(view, error);
}

}  // namespace

std::unique_ptr<Decoder> OpenJp2(const std::filesystem::path& path, std::string& error) {
    const std::unique_ptr<Session> s = Start(path, error);
    if (!s) {
        return nullptr;
    }
    const QSize size = SizeOf(*s->image);
    if (!SourceSizeAllowed(size.width(), size.height())) {
        error = "the image has no size or is too large";
        return nullptr;
    }
    // Levels that can be dropped: one less than the fewest resolutions of any component.
    uint32_t levels = 0;
    if (opj_codestream_info_v2_t* info = opj_get_cstr_info(s->codec.get())) {
        const opj_tile_info_v2_t& tile = info->m_default_tile_info;
        if (tile.tccp_info != nullptr && info->nbcomps > 0) {
            uint32_t fewest = tile.tccp_info[0].numresolutions;
            for (uint32_t c = 1; c < info->nbcomps; ++c) {
                fewest = std::min(fewest, tile.tccp_info[c].numresolutions);
            }
            levels = fewest > 0 ? fewest - 1 : 0;
        }
        opj_destroy_cstr_info(&info);
    }
    return std::make_unique<Jp2Decoder>(path, size, levels);
}

}  // namespace vellumo::imaging
