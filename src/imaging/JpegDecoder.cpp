#include "imaging/JpegDecoder.h"

// clang-format off
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "base/LargeBlocks.h"
#include "imaging/DecodeLimits.h"
#include "imaging/ExifReader.h"
#include "imaging/MpoIndex.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

// A file with more scans than this is not a photo but an attempt to make us spin.
constexpr int kMaxScans = 1000;

// libjpeg reports fatal errors through error_exit, which must not return: we jump
// back to the setjmp of the phase that was running. Warnings are kept quiet; the one
// that matters, data ending early, is remembered so a truncated file fails.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
    bool tooManyScans;
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        err->truncated = true;
    }
}

void OnOutput(j_common_ptr) {}

struct ProgressGuard {
    jpeg_progress_mgr pub;
};

void OnProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor == FALSE) {
        return;
    }
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        err->tooManyScans = true;
        std::snprintf(err->message, sizeof err->message, "too many scans in a progressive JPEG");
        std::longjmp(err->jump, 1);
    }
}

// One decompression object with its error and progress managers. Only trivially
// destructible members, because longjmp skips destructors.
struct Session {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    ProgressGuard progress;
    bool created;
};

void InitSession(Session& s) {
    std::memset(&s, 0, sizeof s);
    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = OnError;
    s.err.pub.emit_message = OnMessage;
    s.err.pub.output_message = OnOutput;
    s.progress.pub.progress_monitor = OnProgress;
}

// Phase 1: the header. Returns false with err.message set on a libjpeg error.
bool ReadHeader(Session& s, std::FILE* file) {
    if (setjmp(s.err.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    s.cinfo.progress = &s.progress.pub;
    jpeg_stdio_src(&s.cinfo, file);
    jpeg_save_markers(&s.cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&s.cinfo, JPEG_APP0 + 2, 0xFFFF);  // the ICC profile, in pieces
    jpeg_read_header(&s.cinfo, TRUE);
    return true;
}

// Phase 2: starts decompression at 1/denominator scale in the given colour space.
bool Start(Session& s, unsigned denominator, J_COLOR_SPACE out) {
    if (setjmp(s.err.jump) != 0) {
        return false;
    }
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = denominator;
    s.cinfo.out_color_space = out;
    jpeg_start_decompress(&s.cinfo);
    return true;
}

// Phase 3: reads every scanline, each into rowFor(y), through `scratch` when given
// (CMYK, converted by the profile's `transform` when there is one, else by `convert`).
using RowConverter = void (*)(const uint8_t* cmyk, uint8_t* rgb, JDIMENSION width, bool inverted);
bool ReadRows(Session& s, uint8_t* base, size_t stride, uint8_t* scratch, RowConverter convert,
              const SrgbTransform* transform) {
    if (setjmp(s.err.jump) != 0) {
        return false;
    }
    const bool inverted = s.cinfo.saw_Adobe_marker != FALSE;
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        uint8_t* row = base + stride * s.cinfo.output_scanline;
        JSAMPROW target = scratch != nullptr ? scratch : row;
        if (jpeg_read_scanlines(&s.cinfo, &target, 1) != 1) {
            return false;
        }
        if (scratch != nullptr && transform != nullptr) {
            transform->Row(scratch, row, s.cinfo.output_width);
        } else if (scratch != nullptr) {
            convert(scratch, row, s.cinfo.output_width, inverted);
        }
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

// Photoshop-style CMYK JPEGs (with an Adobe marker) store the inks inverted.
void CmykToRgb(const uint8_t* cmyk, uint8_t* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = static_cast<uint8_t>((ink * k + 127u) / 255u);
        }
    }
}

struct SessionCloser {
    Session& s;
    ~SessionCloser() {
        if (s.created) {
            jpeg_destroy_decompress(&s.cinfo);
        }
    }
};

bool IsCmyk(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

bool Supported(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE || space == JCS_YCbCr || space == JCS_RGB || IsCmyk(space);
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;
    double dpiX = 96.0;
    int orientation = 0;
    bool cmyk = false;
    IccProfile icc;  // from the APP2 segments; empty when there are none
};

// One picture of the file: the first at offset 0, the others of a multi-picture file
// where its index says.
struct Picture {
    uint64_t offset = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Where the index of a multi-picture file is looked for: it follows the EXIF segment.
constexpr size_t kIndexSearchBytes = 256 * 1024;

class JpegDecoder final : public Decoder {
  public:
    JpegDecoder(std::filesystem::path path, const Header& header, std::vector<Picture> pictures)
        : path_(std::move(path)), header_(header), pictures_(std::move(pictures)) {}

    std::string FormatName() const override { return "JPEG"; }
    std::vector<FrameDimensionCount> FrameDimensions() const override {
        return {{FrameDimension::Page, static_cast<uint32_t>(pictures_.size())}};
    }
    bool SelectFrame(FrameDimension dimension, int32_t index) override {
        if (dimension != FrameDimension::Page || index < 0 ||
            static_cast<size_t>(index) >= pictures_.size()) {
            return false;
        }
        active_ = index;
        return true;
    }
    FrameInfo ActiveFrame() const override {
        const Picture& p = pictures_[static_cast<size_t>(active_)];
        return {p.width, p.height, header_.dpiX};
    }
    int ExifOrientation() const override { return header_.orientation; }
    // A CMYK profile is applied while the pixels are decoded (see Decode), and does not
    // fit the RGB result, so later steps leave it alone.
    IccProfile ColourProfile() const override { return header_.icc; }
    QImage Decode(QSize minimum, std::string& error) override;
    bool DecodeInto(uint8_t* rows, size_t stride, QSize size, std::string& error) override;

  private:
    // Where the rows of a w x h picture go: the first row and the distance between rows,
    // or null when there is no room for them.
    using RowsFor = std::function<std::pair<uint8_t*, size_t>(int32_t w, int32_t h)>;
    bool Read(QSize minimum, const RowsFor& rowsFor, std::string& error);

    std::filesystem::path path_;
    Header header_;
    std::vector<Picture> pictures_;
    int32_t active_ = 0;
};

// The reduced DCT scales lose detail of their own (measured on 10 photos of 9 to 15
// megapixels made 1024 wide: 39 to 50 dB PSNR against a Lanczos reduction of the whole
// picture when the scale just covers the page, 44 to 51 dB with twice the page's size,
// 45.5 to 51.5 dB from the full decode), so the scale keeps this margin over the page.
constexpr int64_t kScaleMargin = 2;

// The smallest DCT scale whose output still covers `minimum` on both sides with the
// margin above.
unsigned ChooseDenominator(int32_t width, int32_t height, QSize minimum) {
    if (minimum.width() <= 0 || minimum.height() <= 0) {
        return 1;
    }
    for (unsigned d : {8u, 4u, 2u}) {
        const int64_t w = (int64_t{width} + d - 1) / d;
        const int64_t h = (int64_t{height} + d - 1) / d;
        if (w >= kScaleMargin * minimum.width() && h >= kScaleMargin * minimum.height()) {
            return d;
        }
    }
    return 1;
}

bool SeekTo(std::FILE* file, uint64_t offset) {
    return offset <= static_cast<uint64_t>(LONG_MAX) &&
           std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

QImage JpegDecoder::Decode(QSize minimum, std::string& error) {
    QImage image;
    const auto rowsFor = [&](int32_t w, int32_t h) -> std::pair<uint8_t*, size_t> {
        image = QImage(w, h, QImage::Format_RGB888);
        if (image.isNull()) {
            return {nullptr, 0};
        }
        base::AdviseHugePages(image.bits(), static_cast<size_t>(image.sizeInBytes()));
        return {image.bits(), static_cast<size_t>(image.bytesPerLine())};
    };
    return Read(minimum, rowsFor, error) ? image : QImage();
}

bool JpegDecoder::DecodeInto(uint8_t* rows, size_t stride, QSize size, std::string& error) {
    const Picture& picture = pictures_[static_cast<size_t>(active_)];
    if (picture.width != size.width() || picture.height != size.height()) {
        return false;
    }
    const auto rowsFor = [&](int32_t w, int32_t h) -> std::pair<uint8_t*, size_t> {
        if (w != size.width() || h != size.height()) {
            return {nullptr, 0};
        }
        return {rows, stride};
    };
    return Read(size, rowsFor, error);
}

bool JpegDecoder::Read(QSize minimum, const RowsFor& rowsFor, std::string& error) {
    const Picture& picture = pictures_[static_cast<size_t>(active_)];
    FileHandle file = OpenForReading(path_);
    if (!file) {
        error = "cannot open the file";
        return false;
    }
    if (!SeekTo(file.get(), picture.offset)) {
        error = "the file changed since it was opened";
        return false;
    }
    Session s;
    InitSession(s);
    SessionCloser closer{s};
    if (!ReadHeader(s, file.get())) {
        error = s.err.message;
        return false;
    }
    if (static_cast<int32_t>(s.cinfo.image_width) != picture.width ||
        static_cast<int32_t>(s.cinfo.image_height) != picture.height ||
        !Supported(s.cinfo.jpeg_color_space)) {
        error = "the file changed since it was opened";
        return false;
    }
    const bool cmyk = IsCmyk(s.cinfo.jpeg_color_space);
    const unsigned denominator = ChooseDenominator(picture.width, picture.height, minimum);
    if (!Start(s, denominator, cmyk ? JCS_CMYK : JCS_RGB)) {
        error = s.err.message;
        return false;
    }
    const auto outW = static_cast<int32_t>(s.cinfo.output_width);
    const auto outH = static_cast<int32_t>(s.cinfo.output_height);
    if (!SourceSizeAllowed(outW, outH) || s.cinfo.output_components != (cmyk ? 4 : 3)) {
        error = "unexpected JPEG output size";
        return false;
    }
    const auto [rows, stride] = rowsFor(outW, outH);
    if (rows == nullptr) {
        error = "out of memory for the decoded photo";
        return false;
    }
    std::vector<uint8_t> scratch(cmyk ? static_cast<size_t>(outW) * 4 : 0);
    // A profile describes the inks as stored: inverted in Adobe's files, plain otherwise.
    std::shared_ptr<const SrgbTransform> transform;
    if (cmyk) {
        transform = SrgbTransform::For(header_.icc, s.cinfo.saw_Adobe_marker != FALSE
                                                        ? PixelLayout::InvertedCmyk8
                                                        : PixelLayout::Cmyk8);
    }
    if (!ReadRows(s, rows, stride, cmyk ? scratch.data() : nullptr, CmykToRgb, transform.get())) {
        error = s.err.message;
        return false;
    }
    if (s.err.truncated) {
        error = "the JPEG data ends early (truncated file)";
        return false;
    }
    return true;
}

// The size of the picture at `offset`, when it is a JPEG we can decode and draw.
std::optional<Picture> ProbePicture(std::FILE* file, uint64_t offset) {
    if (!SeekTo(file, offset)) {
        return std::nullopt;
    }
    Session s;
    InitSession(s);
    SessionCloser closer{s};
    if (!ReadHeader(s, file) || !Supported(s.cinfo.jpeg_color_space)) {
        return std::nullopt;
    }
    const Picture p{offset, static_cast<int32_t>(s.cinfo.image_width),
                    static_cast<int32_t>(s.cinfo.image_height)};
    if (!SourceSizeAllowed(p.width, p.height)) {
        return std::nullopt;
    }
    return p;
}

// The first picture and, in a multi-picture file, every other one that can be read.
std::vector<Picture> ListPictures(const std::filesystem::path& path, std::FILE* file,
                                  const Header& first) {
    std::vector<Picture> pictures = {{0, first.width, first.height}};
    const auto head = ReadHead(path, kIndexSearchBytes);
    if (!head) {
        return pictures;
    }
    for (const uint64_t offset : MpoImageOffsets(*head)) {
        if (auto p = ProbePicture(file, offset)) {
            pictures.push_back(*p);
        }
    }
    return pictures;
}

// JFIF density first (when it has a unit), then EXIF, then the 96 of a file with none.
double ResolutionOf(const jpeg_decompress_struct& cinfo, const ExifFields& exif) {
    if (cinfo.saw_JFIF_marker != FALSE && cinfo.X_density > 0) {
        if (cinfo.density_unit == 1) {
            return cinfo.X_density;
        }
        if (cinfo.density_unit == 2) {
            return cinfo.X_density * 2.54;
        }
    }
    if (exif.dpiX && *exif.dpiX > 0) {
        return *exif.dpiX;
    }
    return 96.0;
}

// The profile the APP2 segments hold, joined; empty when there is none or its pieces do
// not fit together.
IccProfile IccOf(Session& s) {
    JOCTET* data = nullptr;
    unsigned int length = 0;
    if (setjmp(s.err.jump) != 0 || jpeg_read_icc_profile(&s.cinfo, &data, &length) == FALSE) {
        return {};
    }
    IccProfile icc(data, data + length);
    std::free(data);
    return icc;
}

}  // namespace

std::optional<JpegEmbedding> ProbeJpegForEmbedding(const std::filesystem::path& path) {
    const FileHandle file = OpenForReading(path);
    if (!file) {
        return std::nullopt;
    }
    Session s;
    InitSession(s);
    SessionCloser closer{s};
    if (!ReadHeader(s, file.get()) || s.cinfo.data_precision != 8) {
        return std::nullopt;
    }
    const J_COLOR_SPACE space = s.cinfo.jpeg_color_space;
    if (!(space == JCS_GRAYSCALE && s.cinfo.num_components == 1) &&
        !(space == JCS_YCbCr && s.cinfo.num_components == 3)) {
        return std::nullopt;
    }
    return JpegEmbedding{static_cast<int32_t>(s.cinfo.image_width),
                         static_cast<int32_t>(s.cinfo.image_height), s.cinfo.num_components};
}

std::unique_ptr<Decoder> OpenJpeg(const std::filesystem::path& path, std::string& error) {
    FileHandle file = OpenForReading(path);
    if (!file) {
        error = "cannot open the file";
        return nullptr;
    }
    Session s;
    InitSession(s);
    SessionCloser closer{s};
    if (!ReadHeader(s, file.get())) {
        error = s.err.message;
        return nullptr;
    }
    if (!Supported(s.cinfo.jpeg_color_space)) {
        error = "unsupported JPEG colour space";
        return nullptr;
    }
    Header header;
    header.width = static_cast<int32_t>(s.cinfo.image_width);
    header.height = static_cast<int32_t>(s.cinfo.image_height);
    if (!SourceSizeAllowed(header.width, header.height)) {
        error = "the image is too large";
        return nullptr;
    }
    ExifFields exif;
    for (jpeg_saved_marker_ptr m = s.cinfo.marker_list; m != nullptr; m = m->next) {
        if (m->marker == JPEG_APP0 + 1) {
            exif = ReadExifFields(std::span<const uint8_t>(m->data, m->data_length));
            if (exif.orientation != 0 || exif.dpiX) {
                break;  // the first EXIF segment wins; XMP shares the marker
            }
        }
    }
    header.orientation = exif.orientation;
    header.dpiX = ResolutionOf(s.cinfo, exif);
    header.cmyk = IsCmyk(s.cinfo.jpeg_color_space);
    header.icc = IccOf(s);
    std::vector<Picture> pictures = ListPictures(path, file.get(), header);
    return std::make_unique<JpegDecoder>(path, header, std::move(pictures));
}

}  // namespace vellumo::imaging
