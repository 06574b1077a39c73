#include "convert/PagePreparation.h"

#include <exception>

#include "base/Utf8Path.h"
#include "convert/Messages.h"
#include "convert/PlatformFiles.h"
#include "convert/RotateFlipTable.h"
#include "imaging/ColourProfiles.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PhotoMetadata.h"
#include "imaging/ReadFile.h"
#include "imaging/RotateFlip.h"
#include "options/OutputSize.h"

namespace vellumo::convert {

namespace {

void Queue(std::vector<PendingMessage>& messages, std::string_view message) {
    messages.push_back({std::string(message), text::TrUtf8(text::kError)});
}

// Ends the photo: `reason` says why in a few words (the decoder's, when it gave one).
void Failed(PreparedPage& result, std::string_view message, std::string reason) {
    Queue(result.messages, text::TrUtf8(message));
    result.failure = std::move(reason);
}

// The entry's file, from the run's open files when there are any, handed back to them
// however the page ends.
class EntryFile {
  public:
    EntryFile(const photolist::PhotoEntry& entry, OpenImageFiles* files)
        : entry_(entry),
          files_(files),
          file_(files != nullptr ? files->Take(entry.path, entry.frameIndex)
                                 : imaging::ImageFile::Open(base::PathFromUtf8(entry.path))) {}
    ~EntryFile() {
        try {
            if (files_ != nullptr) {
                files_->Give(entry_.path, entry_.frameIndex, std::move(file_));
            }
        } catch (const std::exception&) {
            // Out of memory: the file is simply closed.
        }
    }
    EntryFile(const EntryFile&) = delete;
    EntryFile& operator=(const EntryFile&) = delete;
    imaging::ImageFile& operator*() { return file_; }

  private:
    const photolist::PhotoEntry& entry_;
    OpenImageFiles* files_;
    imaging::ImageFile file_;
};

// Largest JPEG file embedded as it is; a larger one is decoded like any photo.
constexpr uint64_t kMaxEmbeddedJpeg = uint64_t{1} << 30;

// The JPEG file of `entry` as its bytes, when the page would show it unchanged.
std::optional<EmbeddedJpeg> EmbeddableJpeg(const photolist::PhotoEntry& entry,
                                           imaging::ImageFile& image, bool turnedUpright,
                                           const options::PageSize& size) {
    const auto& record = entry.outputFormat;
    if (record.nOuptputFormat != options::kFormatPdf || entry.totalFrames != 1 ||
        image.FormatName() != "JPEG" || turnedUpright || record.nRotateAngel != 0 ||
        record.nFlipType != options::kFlipNone || size.width != image.Width() ||
        size.height != image.Height()) {
        return std::nullopt;
    }
    const std::filesystem::path path = base::PathFromUtf8(entry.path);
    const auto probe = imaging::ProbeJpegForEmbedding(path);
    if (!probe || probe->width != size.width || probe->height != size.height) {
        return std::nullopt;
    }
    auto bytes = imaging::ReadWhole(path, kMaxEmbeddedJpeg);
    if (!bytes) {
        return std::nullopt;
    }
    return EmbeddedJpeg{std::move(*bytes), probe->width, probe->height, probe->components,
                        image.HorizontalResolution(), {}};
}

// Formats whose decoders do not read the orientation themselves but whose EXIF may hold
// one. HEIF and JPEG XL pictures come out upright already, so theirs is never applied.
bool OrientationFromExif(const std::string& format) {
    return format == "PNG" || format == "WebP";
}

// "photo.jpg", or "anim.gif, frame 3" for one frame of several.
std::string PageNameOf(const photolist::PhotoEntry& entry, imaging::ImageFile& image) {
    std::string name = base::Utf8FromPath(base::PathFromUtf8(entry.path).filename());
    for (const auto& dimension : image.FrameDimensions()) {
        if (dimension.dimension == entry.frameDimension && dimension.count > 1) {
            name += ", frame " + std::to_string(entry.frameIndex + 1);
        }
    }
    return name;
}

// The profile the page's pixels are in, as the page should carry it.
imaging::IccProfile PageProfile(const imaging::IccProfile& source,
                                const MetadataSettings& settings) {
    const auto srgb = imaging::SrgbProfile();
    const bool keepsOther = settings.colour == ColourMode::Keep && !source.empty() &&
                            imaging::DescribesRgbPixels(source);
    if (keepsOther) {
        // Without it the kept colours would be read wrongly: even --strip keeps it.
        return source;
    }
    return settings.strip ? imaging::IccProfile{} : imaging::IccProfile(srgb.begin(), srgb.end());
}

PreparedPage Prepare(const photolist::PhotoEntry& entry, const PreparationOptions& options) {
    PreparedPage result;
    auto& messages = result.messages;

    // Load and select the frame; a file that cannot be read fails here too.
    EntryFile opened(entry, options.files);
    imaging::ImageFile& image = *opened;
    if (!image.SelectActiveFrame(entry.frameDimension, entry.frameIndex)) {
        Failed(result, text::kCannotActivateFrame,
               image.Error().empty() ? "the frame cannot be selected" : image.Error());
        return result;
    }
    const int32_t frameWidth = image.Width();
    const int32_t frameHeight = image.Height();

    // Camera data, also where the orientation comes from for some formats.
    const MetadataSettings& metadata = options.metadata;
    const bool exifOrientation = options.autoOrient && OrientationFromExif(image.FormatName());
    imaging::CameraData camera;
    if (!metadata.strip || exifOrientation) {
        camera = image.Camera(metadata.keepGps);
    }
    const int orientation = exifOrientation ? camera.orientation : image.ExifOrientation();

    // The size rule sees the photo as it will stand after turning it upright.
    const imaging::RotateFlipType upright = options.autoOrient
                                                ? UprightTypeForExif(orientation)
                                                : imaging::RotateFlipType::RotateNoneFlipNone;
    const bool swap = SwapsSides(upright);
    DeferredReporter reporter(messages);
    const auto size =
        options::ComputeOutputSize(swap ? frameHeight : frameWidth, swap ? frameWidth : frameHeight,
                                   entry.outputFormat, reporter);
    if (!size) {
        result.failure = "unknown size rule";
        return result;  // the size rule has reported the unknown code
    }
    if (size->width <= 0) {
        Failed(result, text::kInvalidWidth, "the page would be less than 1 pixel wide");
        return result;
    }
    if (size->height <= 0) {
        Failed(result, text::kInvalidHeight, "the page would be less than 1 pixel high");
        return result;
    }
    // A photo whose colours would be converted is drawn; the PDF's pages are sRGB.
    const imaging::IccProfile& profile = image.ColourProfile();
    if (options.embedJpeg && (profile.empty() || imaging::IsSrgbEquivalent(profile))) {
        result.jpeg = EmbeddableJpeg(entry, image,
                                     upright != imaging::RotateFlipType::RotateNoneFlipNone, *size);
        if (result.jpeg) {
            result.jpeg->icc = PageProfile({}, metadata);
            return result;
        }
    }

    // Before turning upright the page has the frame's orientation.
    auto page = imaging::PageBitmap::Create(swap ? size->height : size->width,
                                            swap ? size->width : size->height, imaging::kWhite);
    if (!page) {
        Failed(result, text::kFailedConvert,
               "a page of " + std::to_string(size->width) + "x" + std::to_string(size->height) +
                   " pixels does not fit in memory");
        return result;
    }
    // Both axes take the source's horizontal resolution.
    const double dpi = image.HorizontalResolution();
    if (!page->SetResolution(dpi, dpi)) {
        Queue(messages, text::TrUtf8(text::kFailedSetResolution));
    }
    if (!image.DrawActiveFrame(*page, {0, 0, page->width(), page->height()}, options.threads,
                               metadata.colour == ColourMode::Keep)) {
        Failed(result, text::kFailedConvert,
               image.Error().empty() ? "the frame cannot be decoded" : image.Error());
        return result;
    }
    imaging::PageMetadata& recorded = page->metadata();
    recorded.icc = PageProfile(image.ColourProfile(), metadata);
    if (!metadata.strip) {
        recorded.pageName = PageNameOf(entry, image);
        recorded.camera = std::move(camera);
    }
    if (upright != imaging::RotateFlipType::RotateNoneFlipNone &&
        !imaging::RotateFlip(*page, upright)) {
        Queue(messages, text::TrUtf8(text::kFailedRotateFlip));
    }
    if (options.applyRotation) {
        ApplyEntryRotation(*page, entry.outputFormat, messages);
        result.rotated = true;
    }
    result.page = std::move(page);
    return result;
}

}  // namespace

int UprightOrientation(imaging::ImageFile& image) {
    if (OrientationFromExif(image.FormatName())) {
        return image.Camera(false).orientation;
    }
    return image.ExifOrientation();
}

void ApplyEntryRotation(imaging::PageBitmap& page, const options::OutputPhotoFormat& record,
                        std::vector<PendingMessage>& messages) {
    const RotateFlipChoice choice = RotateFlipFor(record.nRotateAngel, record.nFlipType);
    if (!choice.angleKnown) {
        Queue(messages, text::TrUtf8(text::kUnknownRotateAngle));
    }
    if (!imaging::RotateFlip(page, choice.type)) {
        Queue(messages, text::TrUtf8(text::kFailedRotateFlip));
    }
}

PreparedPage PreparePage(const photolist::PhotoEntry& entry, const PreparationOptions& options) {
    // Nothing may escape to the thread that runs this; running out of memory ends the photo.
    try {
        return Prepare(entry, options);
    } catch (const std::exception&) {
        PreparedPage failed;
        Failed(failed, text::kFailedConvert, "out of memory");
        return failed;
    }
}

}  // namespace vellumo::convert
