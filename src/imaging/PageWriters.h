#pragma once
// Single-image writers: one page to one BMP, JPEG or PNG file. The page is written
// without being copied more than once, and always to a temporary file beside the target
// that replaces it only when complete, so a failed write leaves any earlier file as it
// was. Each file records the page's resolution.

#include <filesystem>
#include <string>

#include "imaging/PageBitmap.h"

namespace vellumo::imaging {

struct WriteOutcome {
    bool ok = false;
    std::string error;  // why the file was not written; empty on success
    explicit operator bool() const { return ok; }
};

// Where a page goes: a path, or a descriptor of an empty file open for writing that
// stays the caller's (`descriptor` >= 0; the path is then not used).
struct WriteTarget {
    WriteTarget(std::filesystem::path file) : path(std::move(file)) {}  // NOLINT: implicit
    explicit WriteTarget(int openDescriptor) : descriptor(openDescriptor) {}
    std::filesystem::path path;
    int descriptor = -1;
};

// A 24-bit uncompressed BMP (bottom-up rows, BGR, rows padded to four bytes).
WriteOutcome SaveBmp24(const PageBitmap& page, const WriteTarget& target);

// A baseline JPEG; `quality` 1 to 100.
WriteOutcome SaveJpeg(const PageBitmap& page, const WriteTarget& target, int quality);

// A 24-bit PNG.
WriteOutcome SavePng(const PageBitmap& page, const WriteTarget& target);

}  // namespace vellumo::imaging
