#pragma once
// An image file opened through the imaging layer. Opening reads the header only;
// pixels are decoded when a frame is drawn. Content, not the file extension, decides
// which decoder serves the file.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imaging/ColourProfiles.h"
#include "imaging/FrameDimension.h"
#include "imaging/PageBitmap.h"
#include "imaging/PageMetadata.h"
#include "imaging/Rect.h"

namespace vellumo::imaging {

class Decoder;  // one per input format, behind the decoder table

class ImageFile {
  public:
    // Never fails outright: a missing, unreadable or non-image file (or one whose
    // header claims a size beyond the decoder limits) gives an image that is not valid,
    // on which every later call fails or reports 0.
    static ImageFile Open(const std::filesystem::path& path);

    ImageFile();
    ImageFile(ImageFile&&) noexcept;
    ImageFile& operator=(ImageFile&&) noexcept;
    ~ImageFile();

    bool IsValid() const;
    // Why the file is not valid, or why the last call failed; empty otherwise.
    const std::string& Error() const { return error_; }
    // Short name of the format ("JPEG", "PNG", "TIFF", "GIF", ...); empty when not valid.
    std::string FormatName() const;

    // The dimensions in which the file counts frames, each with its count, in listed
    // order; a single-image file lists one dimension with count 1. Empty when not valid.
    std::vector<FrameDimensionCount> FrameDimensions() const;

    // Makes frame `index` of `dimension` the active frame; false when it cannot be
    // selected (the previous active frame stays).
    bool SelectActiveFrame(FrameDimension dimension, int32_t index);

    // Size of the active frame in pixels; 0 when not valid.
    int32_t Width() const;
    int32_t Height() const;
    // Horizontal resolution of the active frame in dots per inch; 96 when the file
    // records none.
    double HorizontalResolution() const;
    // EXIF orientation of the file, 1 to 8; 0 when absent or not a valid value.
    int ExifOrientation() const;
    // The ICC profile of the active frame; empty for sRGB or a file that names none.
    IccProfile ColourProfile() const;
    // The file's camera data (see PhotoMetadata.h), read once per opened file however
    // many of its frames become pages.
    const CameraData& Camera(bool withGps);

    // Decodes the active frame and draws it into `destination` of `page` with
    // high-quality bicubic scaling, composited over the page's pixels (so transparent
    // areas keep the page colour), on up to `threads` threads. False when the frame
    // cannot be decoded. The frame is converted to sRGB from its profile first, unless
    // `keepColours` asks for the pixels as decoded.
    bool DrawActiveFrame(PageBitmap& page, const Rect& destination, int threads = 1,
                         bool keepColours = false);

    // Decodes the active frame for display at about `target` size (a decoder may decode
    // at a reduced scale, never below `target`); an opaque frame is converted to sRGB
    // unless `keepColours`. A null image on failure.
    QImage DecodeForDisplay(QSize target, bool keepColours = false);

  private:
    std::unique_ptr<Decoder> decoder_;
    std::string error_;
    std::filesystem::path path_;
    std::optional<CameraData> camera_;
    bool cameraWithGps_ = false;
};

}  // namespace vellumo::imaging
