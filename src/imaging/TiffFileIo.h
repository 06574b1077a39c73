#pragma once
// The output file under libtiff: libtiff reads and writes through these procedures, over
// an unbuffered QFile, so that every write reaches the system at once (a page is on disk
// when it has been appended), Unicode paths work everywhere, and a failed write keeps
// the system's reason. After a failure the file can be cut back to the pages that were
// complete, and further writes are refused so that nothing half-made is added on close.

#include <tiffio.h>
#include <QFile>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vellumo::imaging {

class TiffFileIo {
  public:
    TiffFileIo() = default;
    TiffFileIo(const TiffFileIo&) = delete;
    TiffFileIo& operator=(const TiffFileIo&) = delete;

    // Creates (or empties) the file for reading and writing.
    bool Open(const std::filesystem::path& path);
    // Works on an empty file already open for reading and writing; the descriptor stays
    // the caller's (not closed here).
    bool Open(int descriptor);

    // Opens libtiff over this file in mode `mode`; null on failure.
    TIFF* OpenTiff(const std::string& name, const char* mode, TIFFOpenOptions* options);

    // Closes the file; false when the system reports an error on closing.
    bool Close();

    // Current length of the file in bytes; -1 when unknown.
    int64_t Length();

    // True once a read, write or seek has failed; Reason() says why.
    bool HasFailed() const { return failed_; }
    const std::string& Reason() const { return reason_; }

    // Turns every later write into a failure that changes nothing.
    void RefuseWrites() { refuseWrites_ = true; }

    // Makes the file hold exactly its first `pages` directories again: clears the link
    // that follows the last of them and cuts the file to `length` bytes, its length
    // when those pages were complete. False when the directory chain cannot be followed
    // or the link cannot be written.
    bool CutBackTo(int pages, int64_t length);

  private:
    static tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size);
    static tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size);
    static toff_t SeekProc(thandle_t handle, toff_t offset, int whence);
    static int CloseProc(thandle_t handle);
    static toff_t SizeProc(thandle_t handle);
    static int MapProc(thandle_t handle, void** base, toff_t* size);
    static void UnmapProc(thandle_t handle, void* base, toff_t size);

    void NoteFailure(const std::string& what);
    bool ReadAt(int64_t offset, void* buffer, int64_t size);

    QFile file_;
    // The file's length, kept here since only we change it: libtiff asks for it before
    // every strip it appends, and asking the system each time cost a call per strip.
    int64_t length_ = 0;
    bool failed_ = false;
    bool refuseWrites_ = false;
    std::string reason_;
};

}  // namespace vellumo::imaging
