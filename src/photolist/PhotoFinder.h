#pragma once
// The folder search: every photo file beneath a folder, breadth first (all matching
// files of a folder before those of its subfolders, level by level).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "options/Reporter.h"

namespace vellumo::photolist {

// The extensions the folder search accepts, compared without regard to case: the twelve
// of old in their order, then those of every newer format the decoders read (HEIF/AVIF,
// JPEG XL, WebP, camera raw, JPEG 2000, Photoshop, TGA, SVG, PNM, icons).
inline constexpr std::array<std::string_view, 59> kPhotoExtensions = {
    ".bmp", ".jpg", ".jpeg", ".gif",  ".tif", ".tiff", ".png",   ".exif", ".ico",  ".emf",
    ".wmf", ".dib", ".heic", ".heif", ".hif", ".avif", ".avifs", ".jxl",  ".webp", ".dng",
    ".cr2", ".cr3", ".crw",  ".nef",  ".nrw", ".arw",  ".srf",   ".sr2",  ".orf",  ".rw2",
    ".raf", ".pef", ".srw",  ".mrw",  ".x3f", ".rwl",  ".3fr",   ".iiq",  ".erf",  ".kdc",
    ".dcr", ".mos", ".raw",  ".jp2",  ".j2k", ".jpf",  ".jpx",   ".j2c",  ".psd",  ".psb",
    ".tga", ".svg", ".svgz", ".pnm",  ".pbm", ".pgm",  ".ppm",   ".icns", ".cur"};

// True when the extension of the path's last component (from its last dot on) is one
// of kPhotoExtensions, ASCII letters compared case-insensitively: "IMG.JPG" and
// "a.Tiff" match, "archive.jpg.bak" and a name without a dot do not.
bool MatchesPhotoExtension(std::string_view path);

class PhotoFinder {
  public:
    explicit PhotoFinder(options::Reporter& reporter) : reporter_(reporter) {}

    // Appends to `results` the path of every regular file beneath `root` whose name
    // matches, breadth first; within a folder, entries are taken in byte order of their
    // names so that the result does not depend on the file system's order. Folder links
    // are followed, but every real folder is read once, so links that lead back cannot
    // make the walk endless. A folder that cannot be read (no permission, a path too
    // long) is passed over and reported as its path, the system's reason and
    // texts::kFolderSkipped. Names are kept as the file system gives them, valid UTF-8
    // or not.
    // A root that cannot be queried is reported as root + " occurs error!", one that is
    // not a folder as root + " is not a right directory" (caption: the application
    // name); both give false and add nothing.
    bool Search(const std::string& root, std::vector<std::string>& results);

    // The searched folder, ending in the separator (after Search).
    const std::string& root() const { return root_; }

  private:
    void SkippedFolder(const std::string& folder, const std::string& reason);

    options::Reporter& reporter_;
    std::string root_;
};

}  // namespace vellumo::photolist
