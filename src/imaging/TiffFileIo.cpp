#include "imaging/TiffFileIo.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <limits>

#include "imaging/WriterFiles.h"

namespace vellumo::imaging {
namespace {

constexpr toff_t kSeekFailed = static_cast<toff_t>(-1);

TiffFileIo& Self(thandle_t handle) {
    return *static_cast<TiffFileIo*>(handle);
}

uint32_t ReadUint16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (uint32_t{p[0]} << 8) | p[1] : (uint32_t{p[1]} << 8) | p[0];
}

uint32_t ReadUint32(const uint8_t* p, bool bigEndian) {
    return bigEndian
               ? (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3]
               : (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

}  // namespace

bool TiffFileIo::Open(const std::filesystem::path& path) {
    file_.setFileName(QtFilePath(path));
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
        NoteFailure(file_.errorString().toStdString());
        return false;
    }
    length_ = 0;
    return true;
}

bool TiffFileIo::Open(int descriptor) {
    if (!file_.open(descriptor, QIODevice::ReadWrite | QIODevice::Unbuffered,
                    QFileDevice::DontCloseHandle)) {
        NoteFailure(file_.errorString().toStdString());
        return false;
    }
    length_ = file_.size();
    return true;
}

TIFF* TiffFileIo::OpenTiff(const std::string& name, const char* mode, TIFFOpenOptions* options) {
    return TIFFClientOpenExt(name.c_str(), mode, this, &ReadProc, &WriteProc, &SeekProc, &CloseProc,
                             &SizeProc, &MapProc, &UnmapProc, options);
}

bool TiffFileIo::Close() {
    if (!file_.isOpen()) {
        return true;
    }
    file_.unsetError();
    file_.close();
    if (file_.error() != QFileDevice::NoError) {
        NoteFailure(file_.errorString().toStdString());
        return false;
    }
    return true;
}

int64_t TiffFileIo::Length() {
    return file_.isOpen() ? length_ : -1;
}

void TiffFileIo::NoteFailure(const std::string& what) {
    // The first failure is the cause; later ones are usually its consequences.
    if (!failed_) {
        reason_ = what;
    }
    failed_ = true;
}

tmsize_t TiffFileIo::ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
    TiffFileIo& self = Self(handle);
    const qint64 got = self.file_.read(static_cast<char*>(buffer), size);
    if (got < 0) {
        self.NoteFailure(self.file_.errorString().toStdString());
        return -1;
    }
    return static_cast<tmsize_t>(got);
}

tmsize_t TiffFileIo::WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
    TiffFileIo& self = Self(handle);
    if (self.refuseWrites_) {
        return -1;
    }
    // A write cut short (disk full, file size limit) is retried for the rest, so that
    // the system reports why it cannot go on.
    const char* data = static_cast<const char*>(buffer);
    tmsize_t done = 0;
    while (done < size) {
        const qint64 put = self.file_.write(data + done, size - done);
        if (put <= 0) {
            self.NoteFailure(self.file_.errorString().toStdString());
            break;
        }
        done += static_cast<tmsize_t>(put);
    }
    self.length_ = std::max(self.length_, static_cast<int64_t>(self.file_.pos()));
    return done == 0 && size > 0 ? -1 : done;
}

toff_t TiffFileIo::SeekProc(thandle_t handle, toff_t offset, int whence) {
    TiffFileIo& self = Self(handle);
    qint64 target = 0;
    if (whence == SEEK_SET) {
        if (offset > static_cast<toff_t>(std::numeric_limits<qint64>::max())) {
            return kSeekFailed;
        }
        target = static_cast<qint64>(offset);
    } else if (whence == SEEK_CUR || whence == SEEK_END) {
        // Relative offsets arrive as unsigned values; they wrap back to signed here.
        const qint64 base = whence == SEEK_CUR ? self.file_.pos() : self.length_;
        target = base + static_cast<qint64>(offset);
    } else {
        return kSeekFailed;
    }
    // Appending strips, libtiff seeks to where the last write ended: no call for that.
    if (target == self.file_.pos()) {
        return static_cast<toff_t>(target);
    }
    if (target < 0 || !self.file_.seek(target)) {
        self.NoteFailure(self.file_.errorString().toStdString());
        return kSeekFailed;
    }
    return static_cast<toff_t>(target);
}

int TiffFileIo::CloseProc(thandle_t) {
    // The file is closed by Close(), where the result can be checked.
    return 0;
}

toff_t TiffFileIo::SizeProc(thandle_t handle) {
    const int64_t size = Self(handle).length_;
    return size < 0 ? 0 : static_cast<toff_t>(size);
}

int TiffFileIo::MapProc(thandle_t, void**, toff_t*) {
    return 0;  // never mapped: libtiff falls back to reads
}

void TiffFileIo::UnmapProc(thandle_t, void*, toff_t) {}

bool TiffFileIo::ReadAt(int64_t offset, void* buffer, int64_t size) {
    return file_.seek(offset) && file_.read(static_cast<char*>(buffer), size) == size;
}

bool TiffFileIo::CutBackTo(int pages, int64_t length) {
    if (!file_.isOpen() || length < 8) {
        return false;
    }
    uint8_t header[8];
    if (!ReadAt(0, header, 8)) {
        return false;
    }
    const bool bigEndian = header[0] == 'M';
    if (header[0] != header[1] || (header[0] != 'I' && header[0] != 'M') ||
        ReadUint16(header + 2, bigEndian) != 42) {
        return false;
    }
    // Walk the chain to the link field of the last complete directory (the header's
    // first-directory field when there is none).
    int64_t linkAt = 4;
    int64_t next = ReadUint32(header + 4, bigEndian);
    for (int page = 0; page < pages; ++page) {
        uint8_t count[2];
        if (next < 8 || next + 2 > length || !ReadAt(next, count, 2)) {
            return false;
        }
        linkAt = next + 2 + 12 * int64_t{ReadUint16(count, bigEndian)};
        uint8_t link[4];
        if (linkAt + 4 > length || !ReadAt(linkAt, link, 4)) {
            return false;
        }
        next = ReadUint32(link, bigEndian);
    }
    const char zeros[4] = {0, 0, 0, 0};
    if (!file_.seek(linkAt) || file_.write(zeros, 4) != 4) {
        return false;
    }
    // Dropping the bytes of the unfinished page only saves space; the file is already
    // valid once the link is cleared.
    if (file_.resize(length)) {
        length_ = length;
    }
    return true;
}

}  // namespace vellumo::imaging
