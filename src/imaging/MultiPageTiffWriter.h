#pragma once
// Writes pages into one multi-page TIFF as they come. Each page becomes its own
// directory the moment it is appended, so the file on disk is a valid TIFF holding every
// completed page after each AppendPage: a run that stops, or a process killed between
// pages, leaves a readable file. Pages are 24-bit RGB (chunky) with their own size and
// resolution, and the page's metadata (see TiffPageMetadata.h). LZW strips are compressed by our
// own encoder on several threads; the other compressions go through libtiff.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "imaging/PageBitmap.h"
#include "imaging/TiffWriteOptions.h"

namespace vellumo::imaging {

class TiffFileIo;

class MultiPageTiffWriter {
  public:
    MultiPageTiffWriter();
    // Closes a file still open; call Close() to learn whether that succeeded.
    ~MultiPageTiffWriter();
    MultiPageTiffWriter(const MultiPageTiffWriter&) = delete;
    MultiPageTiffWriter& operator=(const MultiPageTiffWriter&) = delete;

    // Creates the file (an existing one is replaced). False, with Error() set, when the
    // file cannot be created, the options are invalid, or a file is already open.
    bool Open(const std::filesystem::path& path, const TiffWriteOptions& options = {});
    // Writes into an empty file already open for reading and writing, which stays the
    // caller's to close and remove; `name` is the file's name in messages.
    bool Open(int descriptor, const std::string& name, const TiffWriteOptions& options = {});

    // Writes `page` as the next page and makes it part of the file on disk. False, with
    // Error() set, when the page was not written; the file still holds every earlier
    // page. A page that is empty (or too large for the compression) is refused without
    // touching the file. After a failed write (disk full, file size limit, I/O error)
    // the file is cut back to its complete pages and every later page is refused.
    bool AppendPage(const PageBitmap& page);

    // Copies every page of the TIFF at `path` into the file as it is (tags and compressed
    // data, nothing decoded), as the next pages. False, with Error() set, when a page
    // cannot be read or copied; the file is then broken as after a failed AppendPage.
    bool CopyPagesFrom(const std::filesystem::path& path);

    // Finishes and closes the file. False, with Error() set, when closing failed. A page
    // refused earlier was reported by its AppendPage and does not make Close fail.
    bool Close();

    bool IsOpen() const;
    // True once a write failed: the file lacks pages that were given to it.
    bool HasFailedWrite() const;
    // Pages completely written so far.
    int PageCount() const;
    // Why the last failing call failed.
    const std::string& Error() const;

  private:
    struct State;
    // Open with `openFile` making the file (path or descriptor) ready.
    bool OpenWith(const std::string& name, const TiffWriteOptions& options,
                  const std::function<bool(TiffFileIo&)>& openFile);
    std::unique_ptr<State> state_;
    std::string error_;
};

}  // namespace vellumo::imaging
