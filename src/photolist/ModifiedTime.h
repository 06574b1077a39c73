#pragma once
// The modification time of a photo file, as the entry keeps it: seconds since 1970 and
// the local-time text "YYYY/MM/DD HH:MM:SS" whose string order is the time order.

#include <cstdint>
#include <functional>
#include <string>

#include "options/Reporter.h"
#include "photolist/PhotoEntry.h"
#include "photolist/PlatformFiles.h"

namespace vellumo::photolist {

// How the time of a file is read; replaceable so the failure paths can be exercised.
using FileTimeReader = std::function<FileTimeResult(const std::string& path)>;

// `seconds` as local time "%Y/%m/%d %H:%M:%S"; empty when it cannot be formed.
std::string FormatModifiedText(int64_t seconds);

// Fills modifiedTime and modifiedText of `entry` from the file at `path`. When the file
// cannot be opened the platform's error text is reported with the path as caption; when
// its status cannot be read, "Failed file.GetStatus from <path>" with the path as
// caption. Either way the entry keeps time 0 and an empty text and the caller goes on.
void ReadModifiedTime(const std::string& path, PhotoEntry& entry, options::Reporter& reporter,
                      const FileTimeReader& reader = ReadFileTime);

}  // namespace vellumo::photolist
