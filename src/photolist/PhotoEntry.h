#pragma once
// One list entry: one frame of one image file, which becomes one output page.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/FrameDimension.h"
#include "options/OutputPhotoFormat.h"

namespace vellumo::photolist {

inline constexpr size_t kMaxRecordedDimensions = 100;

struct PhotoEntry {
    std::string path;          // full path as added, UTF-8
    std::string fileName;      // last component of path (see FileNameOfPath)
    std::string modifiedText;  // "YYYY/MM/DD HH:MM:SS" local time; empty when unreadable
    int32_t width = 1;         // pixel size of this entry's frame
    int32_t height = 1;
    options::OutputPhotoFormat outputFormat;  // nOutputWidth/Height hold the computed size
    std::string outputFilePath;               // set by the conversion run
    int64_t modifiedTime = 0;                 // seconds since 1970-01-01 UTC; 0 when unreadable
    int32_t totalFrames = 1;                  // frames in the file's first listed dimension
    int32_t frameIndex = 0;                   // 0-based frame within frameDimension
    // Working storage of the frame probe; empty outside it.
    std::vector<imaging::FrameDimension> dimensionIds;
    uint32_t dimensionCount = 0;
    std::array<uint32_t, kMaxRecordedDimensions> dimensionFrameCounts{};
    imaging::FrameDimension frameDimension = imaging::FrameDimension::None;
};

// The name shown in the list: the last path component, or the whole path when its
// fourth or fifth character is a colon (a drive or scheme form such as "http://").
std::string FileNameOfPath(const std::string& path);

}  // namespace vellumo::photolist
