#include "photolist/AddPhotos.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "options/OutputSize.h"
#include "photolist/AddPhotosTexts.h"

namespace vellumo::photolist {
namespace {

int32_t ClampToInt32(uint32_t value) {
    return static_cast<int32_t>(
        std::min<uint32_t>(value, static_cast<uint32_t>(std::numeric_limits<int32_t>::max())));
}

// The steps every filled entry starts with: path, modification time and shown name.
void FillNameAndTime(const std::string& path, PhotoEntry& entry, const FillContext& context) {
    entry.path = path;
    ReadModifiedTime(path, entry, context.reporter, context.readFileTime);
    entry.fileName = FileNameOfPath(path);
}

// The steps every filled entry ends with: its own copy of the options, sized for it.
void FillOptions(PhotoEntry& entry, const FillContext& context) {
    entry.outputFormat = context.mainRecord;
    options::StoreOutputSize(entry.width, entry.height, entry.outputFormat, context.reporter);
}

// Only regular files (links followed) are handed to the decoders: a FIFO or device
// named like a photo would block or never end.
bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec) && !ec;
}

}  // namespace

void ProbeFrames(PhotoEntry& entry, const std::vector<imaging::FrameDimensionCount>& listed) {
    // The listing is read straight from `listed`; no working copy stays on the entry.
    std::vector<imaging::FrameDimension>().swap(entry.dimensionIds);
    entry.dimensionCount = 0;
    entry.dimensionFrameCounts.fill(0);

    size_t slot = 0;
    for (const auto& d : listed) {
        entry.frameDimension = d.dimension;
        if (slot < kMaxRecordedDimensions) {
            entry.dimensionFrameCounts[slot++] = d.count;
        }
    }
    entry.dimensionCount = static_cast<uint32_t>(slot);
    entry.totalFrames = ClampToInt32(entry.dimensionFrameCounts[0]);
}

void ProbeFrames(PhotoEntry& entry, const imaging::ImageFile& image) {
    ProbeFrames(entry, image.FrameDimensions());
}

bool FillEntry(const std::string& path, PhotoEntry& entry, const imaging::ImageFile& image,
               const std::vector<imaging::FrameDimensionCount>& listed,
               const FillContext& context) {
    FillNameAndTime(path, entry, context);
    entry.width = image.Width();
    entry.height = image.Height();
    if (entry.width <= 0 || entry.height <= 0) {
        return false;
    }
    ProbeFrames(entry, listed);
    FillOptions(entry, context);
    return true;
}

bool FillEntryForFrame(const std::string& path, PhotoEntry& entry, int32_t frame,
                       imaging::ImageFile& image, const FillContext& context) {
    FillNameAndTime(path, entry, context);
    if (!image.SelectActiveFrame(entry.frameDimension, frame)) {
        context.reporter.Report(texts::TrUtf8(texts::kCanNotActiveAFrame),
                                texts::TrUtf8(texts::kErrorCaption));
        return false;
    }
    entry.width = image.Width();
    entry.height = image.Height();
    if (entry.width <= 0 || entry.height <= 0) {
        return false;
    }
    FillOptions(entry, context);
    return true;
}

std::vector<PhotoEntry> EntriesForPhotoFile(const std::string& path,
                                            const options::OutputPhotoFormat& mainRecord,
                                            options::Reporter& reporter,
                                            const FileTimeReader& readFileTime) {
    std::vector<PhotoEntry> entries;
    if (!IsRegularFile(path)) {
        return entries;
    }
    imaging::ImageFile image = imaging::ImageFile::Open(std::filesystem::path(path));
    if (!image.IsValid() || image.Width() <= 0 || image.Height() <= 0) {
        return entries;
    }
    // Listing frames may walk the whole file (GIF frames are counted by scanning), so it
    // is done once and the result shared by every entry of the file.
    const std::vector<imaging::FrameDimensionCount> listed = image.FrameDimensions();
    PhotoEntry probe;
    ProbeFrames(probe, listed);
    const int32_t frames = probe.totalFrames;

    const FillContext context{mainRecord, reporter, readFileTime};
    if (frames == 1) {
        PhotoEntry entry;
        entry.frameIndex = 0;
        if (FillEntry(path, entry, image, listed, context)) {
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    PhotoEntry base;
    if (!FillEntry(path, base, image, listed, context) || frames <= 0) {
        return entries;
    }
    entries.reserve(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
        PhotoEntry entry;
        entry.totalFrames = base.totalFrames;
        entry.frameDimension = base.frameDimension;
        entry.frameIndex = i;
        if (FillEntryForFrame(path, entry, i, image, context)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

int AddPhotoFile(const std::string& path, const options::OutputPhotoFormat& mainRecord,
                 options::Reporter& reporter, PhotoList& list) {
    std::vector<PhotoEntry> entries = EntriesForPhotoFile(path, mainRecord, reporter);
    for (const auto& entry : entries) {
        list.append(entry);
    }
    return static_cast<int>(entries.size());
}

}  // namespace vellumo::photolist
