#pragma once
// The image files a run keeps open between the pages it prepares. Reopening a file for
// each of its frames makes N frames cost O(N^2) (opening walks every TIFF directory and
// reads a whole GIF; a GIF frame is composited over all before it), so a page takes the
// idle file of its path whose decoder last drew the nearest earlier frame and hands it
// back when done. Safe to use from the prefetch threads: a file is used by one thread at
// a time. At most `capacity` files stay idle, so memory stays bounded by a few decoders.

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>

#include "imaging/ImageFile.h"

namespace vellumo::convert {

class OpenImageFiles {
  public:
    explicit OpenImageFiles(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

    // An open file for `path` (UTF-8), about to be used for `frame`: an idle one of that
    // path, preferably one last used for a frame not after `frame`; a newly opened one
    // when none is idle (possibly not valid: the caller reports that).
    imaging::ImageFile Take(const std::string& path, int32_t frame);

    // Hands `file` back after it was used for `frame`; the file idle longest is closed
    // when more than `capacity` would be idle.
    void Give(const std::string& path, int32_t frame, imaging::ImageFile file);

    // Closes every idle file (before the output replaces a file that was also an input).
    void CloseAll();

  private:
    struct Idle {
        std::string path;
        int32_t frame = 0;
        imaging::ImageFile file;
    };

    const size_t capacity_;
    std::mutex mutex_;
    std::list<Idle> idle_;  // most recently handed back first
};

}  // namespace vellumo::convert
