#pragma once
// Adding photos to the list: probing an image file for its frames (headers only) and
// making one filled entry per frame. Usable from any thread: it touches no widget and
// tells the user things only through the reporter it is given.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/ImageFile.h"
#include "options/OutputPhotoFormat.h"
#include "options/Reporter.h"
#include "photolist/ModifiedTime.h"
#include "photolist/PhotoList.h"

namespace vellumo::photolist {

// What filling an entry takes besides the path and the open image.
struct FillContext {
    const options::OutputPhotoFormat& mainRecord;  // copied into every new entry
    options::Reporter& reporter;
    const FileTimeReader& readFileTime;
};

// Records the frame dimensions a file lists: dimensionCount, up to 100 slots of
// dimensionFrameCounts (listing order), frameDimension (the last listed dimension) and
// totalFrames (the count of the first listed one; 0 when none is listed). A file that
// lists more than 100 dimensions has only its first 100 recorded, and dimensionCount
// says how many were. dimensionIds is empty again when it returns.
void ProbeFrames(PhotoEntry& entry, const std::vector<imaging::FrameDimensionCount>& listed);
void ProbeFrames(PhotoEntry& entry, const imaging::ImageFile& image);

// Fills `entry` for the file as a whole: path, time, name, the size of the image's
// first frame (which must be the active one), the probe, a copy of the main record and
// the output size. False when the image's size is 0.
bool FillEntry(const std::string& path, PhotoEntry& entry, const imaging::ImageFile& image,
               const std::vector<imaging::FrameDimensionCount>& listed, const FillContext& context);

// Fills `entry` for frame `frame` of the entry's frameDimension: like FillEntry without
// the probe, with the size of that frame. A frame that cannot be selected is reported
// ("Can not Active a Frame", caption "Error") and gives false, as does a size of 0.
bool FillEntryForFrame(const std::string& path, PhotoEntry& entry, int32_t frame,
                       imaging::ImageFile& image, const FillContext& context);

// The entries the file at `path` gives, in frame order: one per frame of a multi-frame
// file, one for a single image, none for a file that is missing, not a regular file,
// not an image, or 0 pixels wide or high (no message for those). The image is opened
// once and its header read once, however many frames it has.
std::vector<PhotoEntry> EntriesForPhotoFile(const std::string& path,
                                            const options::OutputPhotoFormat& mainRecord,
                                            options::Reporter& reporter,
                                            const FileTimeReader& readFileTime = ReadFileTime);

// Appends the entries of EntriesForPhotoFile to `list`; returns how many were added.
// There is no duplicate test: a file already in the list is added again.
int AddPhotoFile(const std::string& path, const options::OutputPhotoFormat& mainRecord,
                 options::Reporter& reporter, PhotoList& list);

}  // namespace vellumo::photolist
