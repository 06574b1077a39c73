#include "imaging/MultiPageTiffWriter.h"

#include <tiffio.h>
#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "base/Utf8Path.h"
#include "imaging/TiffFileIo.h"
#include "imaging/TiffMessages.h"
#include "imaging/TiffPageCopy.h"
#include "imaging/TiffPageMetadata.h"
#include "imaging/TiffStripPipeline.h"

namespace vellumo::imaging {
namespace {

// Baseline JPEG cannot describe images wider or taller than this.
constexpr int32_t kMaxJpegSide = 65500;
// JPEG pages are stored as YCbCr with 2x2 chroma subsampling, so strips are whole
// multiples of 16 rows.
constexpr int64_t kJpegRowUnit = 16;

uint16_t TiffCompressionTag(TiffCompression compression) {
    switch (compression) {
        case TiffCompression::None:
            return COMPRESSION_NONE;
        case TiffCompression::Deflate:
            return COMPRESSION_ADOBE_DEFLATE;
        case TiffCompression::PackBits:
            return COMPRESSION_PACKBITS;
        case TiffCompression::Jpeg:
            return COMPRESSION_JPEG;
        case TiffCompression::Lzw:
            break;
    }
    return COMPRESSION_LZW;
}

bool UsesPredictor(const TiffWriteOptions& options) {
    return options.predictor && (options.compression == TiffCompression::Lzw ||
                                 options.compression == TiffCompression::Deflate);
}

int32_t RowsPerStrip(const PageBitmap& page, const TiffWriteOptions& options) {
    int64_t rows = std::max<int64_t>(1, static_cast<int64_t>(options.stripBytes / page.stride()));
    if (options.compression == TiffCompression::Jpeg) {
        rows = std::max(kJpegRowUnit, rows / kJpegRowUnit * kJpegRowUnit);
    }
    return static_cast<int32_t>(std::min<int64_t>(rows, page.height()));
}

int EncoderThreads(const TiffWriteOptions& options) {
    return std::max(1, options.threads);
}

}  // namespace

struct MultiPageTiffWriter::State {
    TiffFileIo io;
    TiffMessages messages;
    TIFF* tiff = nullptr;
    std::filesystem::path path;  // empty when the file is the caller's descriptor
    std::string name;
    TiffWriteOptions options;
    std::unique_ptr<TiffStripPipeline> pipeline;
    std::unique_ptr<uint8_t[]> scratch;  // a strip handed to libtiff, which may alter it
    size_t scratchBytes = 0;
    int pages = 0;
    int64_t completeLength = 0;  // file length when the last complete page was written
    bool broken = false;
    std::string brokenReason;

    // The best explanation of a failure: the system's when a file operation failed,
    // else libtiff's.
    std::string Cause() const {
        if (io.HasFailed()) {
            return io.Reason();
        }
        if (!messages.LastError().empty()) {
            return messages.LastError();
        }
        return "libtiff reported a failure without a message";
    }

    template <typename... Values>
    bool Set(uint32_t tag, Values... values) {
        return TIFFSetField(tiff, tag, values...) == 1;
    }

    bool SetTags(const PageBitmap& page, int32_t rowsPerStrip);
    bool WriteStripsOwnLzw(const PageBitmap& page, int32_t rowsPerStrip, std::string& error);
    bool WriteStripsLibtiff(const PageBitmap& page, int32_t rowsPerStrip, std::string& error);
    bool WritePage(const PageBitmap& page, std::string& error);
};

bool MultiPageTiffWriter::State::SetTags(const PageBitmap& page, int32_t rowsPerStrip) {
    const bool jpeg = options.compression == TiffCompression::Jpeg;
    bool ok = Set(TIFFTAG_SUBFILETYPE, uint32_t{FILETYPE_PAGE}) &&
              Set(TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.width())) &&
              Set(TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.height())) &&
              Set(TIFFTAG_BITSPERSAMPLE, 8) && Set(TIFFTAG_SAMPLESPERPIXEL, 3) &&
              Set(TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              Set(TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
              Set(TIFFTAG_COMPRESSION, static_cast<int>(TiffCompressionTag(options.compression))) &&
              Set(TIFFTAG_PHOTOMETRIC, jpeg ? PHOTOMETRIC_YCBCR : PHOTOMETRIC_RGB);
    if (ok && UsesPredictor(options)) {
        ok = Set(TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    }
    if (ok && jpeg) {
        // libtiff converts our RGB rows to YCbCr, the usual layout of JPEG in TIFF.
        ok = Set(TIFFTAG_JPEGQUALITY, options.jpegQuality) &&
             Set(TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    return ok && Set(TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(rowsPerStrip)) &&
           Set(TIFFTAG_XRESOLUTION, page.dpiX()) && Set(TIFFTAG_YRESOLUTION, page.dpiY()) &&
           Set(TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
}

bool MultiPageTiffWriter::State::WriteStripsOwnLzw(const PageBitmap& page, int32_t rowsPerStrip,
                                                   std::string& error) {
    const auto sink = [this](uint32_t strip, const uint8_t* data, size_t size) {
        // Raw strips are written as they are; libtiff only needs a non-const pointer.
        return TIFFWriteRawStrip(tiff, strip, const_cast<uint8_t*>(data),
                                 static_cast<tmsize_t>(size)) == static_cast<tmsize_t>(size);
    };
    switch (pipeline->EncodePage(page, rowsPerStrip, options.predictor, sink)) {
        case TiffStripPipeline::Result::Ok:
            return true;
        case TiffStripPipeline::Result::OutOfMemory:
            error = "not enough memory to compress the page";
            return false;
        case TiffStripPipeline::Result::SinkFailed:
            break;
    }
    error = Cause();
    return false;
}

bool MultiPageTiffWriter::State::WriteStripsLibtiff(const PageBitmap& page, int32_t rowsPerStrip,
                                                    std::string& error) {
    const size_t stripBytes = page.stride() * static_cast<size_t>(rowsPerStrip);
    if (scratchBytes < stripBytes) {
        scratch.reset(new (std::nothrow) uint8_t[stripBytes]);
        scratchBytes = scratch ? stripBytes : 0;
        if (!scratch) {
            error = "not enough memory to compress the page";
            return false;
        }
    }
    uint32_t strip = 0;
    for (int32_t y = 0; y < page.height(); y += rowsPerStrip, ++strip) {
        const int32_t rows = std::min(rowsPerStrip, page.height() - y);
        const size_t bytes = page.stride() * static_cast<size_t>(rows);
        std::memcpy(scratch.get(), page.row(y), bytes);
        if (TIFFWriteEncodedStrip(tiff, strip, scratch.get(), static_cast<tmsize_t>(bytes)) < 0) {
            error = Cause();
            return false;
        }
    }
    return true;
}

bool MultiPageTiffWriter::State::WritePage(const PageBitmap& page, std::string& error) {
    messages.Reset();
    const int32_t rowsPerStrip = RowsPerStrip(page, options);
    // The camera's directories go first: the page's own directory points to them.
    CameraDirectories directories;
    if (!WriteCameraDirectories(tiff, page.metadata().camera, directories) ||
        !SetTags(page, rowsPerStrip) ||
        !SetPageMetadataTags(tiff, page.metadata(), directories, pages)) {
        error = Cause();
        return false;
    }
    const bool ownLzw = options.compression == TiffCompression::Lzw && !options.libtiffLzw;
    if (!(ownLzw ? WriteStripsOwnLzw(page, rowsPerStrip, error)
                 : WriteStripsLibtiff(page, rowsPerStrip, error))) {
        return false;
    }
    // Writing the directory links the page into the file; from then on readers see it.
    if (TIFFWriteDirectory(tiff) != 1 || io.HasFailed()) {
        error = Cause();
        return false;
    }
    const int64_t length = io.Length();
    if (length < 0) {
        error = Cause();
        return false;
    }
    completeLength = length;
    ++pages;
    return true;
}

MultiPageTiffWriter::MultiPageTiffWriter() = default;

MultiPageTiffWriter::~MultiPageTiffWriter() {
    Close();
}

bool MultiPageTiffWriter::IsOpen() const {
    return state_ != nullptr;
}

int MultiPageTiffWriter::PageCount() const {
    return state_ ? state_->pages : 0;
}

const std::string& MultiPageTiffWriter::Error() const {
    return error_;
}

bool MultiPageTiffWriter::HasFailedWrite() const {
    return state_ && state_->broken;
}

bool MultiPageTiffWriter::Open(const std::filesystem::path& path, const TiffWriteOptions& options) {
    bool created = false;
    const bool opened = OpenWith(base::Utf8FromPath(path), options, [&](TiffFileIo& io) {
        created = io.Open(path);
        return created;
    });
    if (opened) {
        state_->path = path;
    } else if (created) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);  // a file without pages is no TIFF
    }
    return opened;
}

bool MultiPageTiffWriter::Open(int descriptor, const std::string& name,
                               const TiffWriteOptions& options) {
    return OpenWith(name, options, [&](TiffFileIo& io) { return io.Open(descriptor); });
}

bool MultiPageTiffWriter::OpenWith(const std::string& name, const TiffWriteOptions& options,
                                   const std::function<bool(TiffFileIo&)>& openFile) {
    if (state_) {
        error_ = "A TIFF file is already open: " + state_->name;
        return false;
    }
    if (options.compression == TiffCompression::Jpeg &&
        (options.jpegQuality < 1 || options.jpegQuality > 100)) {
        error_ = "JPEG quality must be 1 to 100, not " + std::to_string(options.jpegQuality);
        return false;
    }
    const uint16_t compression = TiffCompressionTag(options.compression);
    if (!TIFFIsCODECConfigured(compression)) {
        error_ = "This libtiff cannot write compression " + std::to_string(compression);
        return false;
    }

    std::unique_ptr<State> state;
    try {
        state = std::make_unique<State>();
        state->pipeline = std::make_unique<TiffStripPipeline>(EncoderThreads(options),
                                                               options.busyElsewhere);
    } catch (const std::bad_alloc&) {
        error_ = "Not enough memory to open " + name;
        return false;
    }
    state->name = name;
    state->options = options;
    if (state->options.stripBytes == 0) {
        state->options.stripBytes = TiffWriteOptions{}.stripBytes;
    }

    if (!openFile(state->io)) {
        error_ = "Cannot create " + name + ": " + state->io.Reason();
        return false;
    }
    TIFFOpenOptions* openOptions = TIFFOpenOptionsAlloc();
    if (openOptions != nullptr) {
        state->messages.AttachTo(openOptions);
        state->tiff = state->io.OpenTiff(name, options.bigTiff ? "w8" : "w", openOptions);
        TIFFOpenOptionsFree(openOptions);
    }
    const int64_t length = state->tiff != nullptr ? state->io.Length() : -1;
    if (state->tiff == nullptr || length < 0 || state->io.HasFailed()) {
        error_ = "Cannot create " + name + ": " + state->Cause();
        if (state->tiff != nullptr) {
            state->io.RefuseWrites();
            TIFFClose(state->tiff);
        }
        state->io.Close();
        return false;
    }
    state->completeLength = length;
    state_ = std::move(state);
    error_.clear();
    return true;
}

bool MultiPageTiffWriter::AppendPage(const PageBitmap& page) {
    if (!state_) {
        error_ = "No TIFF file is open";
        return false;
    }
    State& state = *state_;
    if (state.broken) {
        error_ = "Page not written, an earlier write to " + state.name +
                 " failed: " + state.brokenReason;
        return false;
    }
    if (page.empty()) {
        error_ = "The page is empty";
        return false;
    }
    if (state.options.compression == TiffCompression::Jpeg &&
        (page.width() > kMaxJpegSide || page.height() > kMaxJpegSide)) {
        error_ = "The page is too large for JPEG compression";
        return false;
    }

    std::string reason;
    if (state.WritePage(page, reason)) {
        error_.clear();
        return true;
    }
    // The page is half written: make the file hold its complete pages again, and keep
    // libtiff from adding the half-made directory when it is closed.
    state.broken = true;
    state.brokenReason = reason;
    error_ = "Writing page " + std::to_string(state.pages + 1) + " to " + state.name +
             " failed: " + reason;
    if (!state.io.CutBackTo(state.pages, state.completeLength)) {
        error_ += " (and the file could not be cut back to its complete pages)";
    }
    state.io.RefuseWrites();
    return false;
}

bool MultiPageTiffWriter::CopyPagesFrom(const std::filesystem::path& path) {
    if (!state_ || state_->broken) {
        error_ = "No TIFF file is open for writing";
        return false;
    }
    State& state = *state_;
    TiffMessages inMessages;
    TIFFOpenOptions* openOptions = TIFFOpenOptionsAlloc();
    if (openOptions == nullptr) {
        error_ = "Not enough memory to open " + path.string();
        return false;
    }
    inMessages.AttachTo(openOptions);
    TIFF* in = TIFFOpenExt(path.c_str(), "r", openOptions);
    TIFFOpenOptionsFree(openOptions);
    if (in == nullptr) {
        error_ = path.string() + ": " +
                 (inMessages.LastError().empty() ? "not a TIFF that can be read"
                                                 : inMessages.LastError());
        return false;
    }
    std::error_code sizeError;
    const uint64_t inSize = std::filesystem::file_size(path, sizeError);
    std::string reason;
    bool ok = true;
    do {
        state.messages.Reset();
        if (!CopyTiffDirectory(in, sizeError ? 0 : inSize, state.tiff, reason)) {
            ok = false;
            break;
        }
        if (TIFFWriteDirectory(state.tiff) != 1 || state.io.HasFailed()) {
            reason = state.Cause();
            ok = false;
            break;
        }
        const int64_t length = state.io.Length();
        if (length < 0) {
            reason = state.Cause();
            ok = false;
            break;
        }
        state.completeLength = length;
        ++state.pages;
    } while (TIFFReadDirectory(in) == 1);
    TIFFClose(in);
    if (ok) {
        error_.clear();
        return true;
    }
    state.broken = true;
    state.brokenReason = reason;
    error_ = "Copying page " + std::to_string(state.pages + 1) + " of " + path.string() +
             " failed: " + reason;
    state.io.CutBackTo(state.pages, state.completeLength);
    state.io.RefuseWrites();
    return false;
}

bool MultiPageTiffWriter::Close() {
    if (!state_) {
        return true;
    }
    std::unique_ptr<State> state = std::move(state_);
    bool ok = true;
    std::string reason;
    if (!state->broken && TIFFFlush(state->tiff) != 1) {
        ok = false;
        reason = state->Cause();
    }
    TIFFClose(state->tiff);
    state->tiff = nullptr;
    if (ok && !state->broken && state->io.HasFailed()) {
        ok = false;
        reason = state->io.Reason();
    }
    if (!state->io.Close() && ok) {
        ok = false;
        reason = state->io.Reason();
    }
    if (state->pages == 0 && !state->path.empty()) {
        std::error_code ignored;
        std::filesystem::remove(state->path, ignored);  // a file without pages is no TIFF
    }
    if (!ok) {
        error_ = "Closing " + state->name + " failed: " + reason;
    }
    return ok;
}

}  // namespace vellumo::imaging
