#include "imaging/IcoDecoder.h"

#include <QImageReader>
#include <cstring>
#include <vector>

#include "base/QtText.h"
#include "imaging/DecodeLimits.h"
#include "imaging/PngDecoder.h"
#include "imaging/ReadFile.h"

namespace vellumo::imaging {
namespace {

constexpr uint64_t kMaxFileBytes = uint64_t{64} * 1024 * 1024;
constexpr size_t kDirectoryEntryBytes = 16;

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    }
    return v;
}

struct Entry {
    int index = 0;
    QSize size;
    int bitCount = 0;
    bool png = false;
    size_t offset = 0;
};

// Size and depth of directory entry `i`, from the image data itself where it can be
// read (the directory's own fields are single bytes, 0 meaning 256).
std::optional<Entry> ReadEntry(const std::vector<uint8_t>& file, int i) {
    const size_t at = 6 + static_cast<size_t>(i) * kDirectoryEntryBytes;
    Entry e;
    e.index = i;
    e.offset = Le(file, at + 12, 4);
    if (e.offset >= file.size() || file.size() - e.offset < 8) {
        return std::nullopt;
    }
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const std::span<const uint8_t> data(file.data() + e.offset, file.size() - e.offset);
    if (std::memcmp(data.data(), kPng, 8) == 0) {
        // The directory's byte count is not trusted: some writers get it wrong, and the
        // PNG ends itself.
        const std::optional<QSize> size = PngSize(data);
        if (!size) {
            return std::nullopt;
        }
        e.png = true;
        e.size = *size;
        e.bitCount = 32;
        return e;
    }
    if (data.size() < 16 || Le(file, e.offset, 4) < 12) {
        return std::nullopt;
    }
    const int w = file[at] == 0 ? 256 : file[at];
    const int h = file[at + 1] == 0 ? 256 : file[at + 1];
    e.size = QSize(w, h);
    e.bitCount = static_cast<int>(Le(file, at + 6, 2));
    return e;
}

class IcoDecoder final : public SingleFrameDecoder {
  public:
    IcoDecoder(std::filesystem::path path, QByteArray format, std::string name, const Entry& entry,
               std::vector<uint8_t> png)
        : path_(std::move(path)),
          format_(std::move(format)),
          name_(std::move(name)),
          entry_(entry),
          png_(std::move(png)) {}

    std::string FormatName() const override { return name_; }
    FrameInfo ActiveFrame() const override {
        return {entry_.size.width(), entry_.size.height(), 96.0};
    }
    QImage Decode(QSize minimum, std::string& error) override;

  private:
    std::filesystem::path path_;
    QByteArray format_;
    std::string name_;
    Entry entry_;
    std::vector<uint8_t> png_;  // the chosen entry, when it is a PNG
};

QImage IcoDecoder::Decode(QSize, std::string& error) {
    if (entry_.png) {
        return DecodePngBytes(png_, error);
    }
    QImageReader reader(base::ToQString(path_), format_);
    QImage image;
    if (reader.jumpToImage(entry_.index)) {
        image = reader.read();
    }
    if (image.isNull() || image.size() != entry_.size) {
        const QString why = reader.errorString();
        error = why.isEmpty() ? "cannot decode the icon image" : why.toStdString();
        return {};
    }
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_RGBA8888_Premultiplied
                                            : QImage::Format_RGB888);
    return image;
}

}  // namespace

std::unique_ptr<Decoder> OpenIco(const std::filesystem::path& path, const char* qtFormat,
                                 const char* name, std::string& error) {
    const std::optional<std::vector<uint8_t>> file = ReadWhole(path, kMaxFileBytes);
    if (!file || file->size() < 6) {
        error = "cannot read the icon file";
        return nullptr;
    }
    const int count = static_cast<int>(Le(*file, 4, 2));
    if (file->size() < 6 + static_cast<size_t>(count) * kDirectoryEntryBytes) {
        error = "the icon directory is cut short";
        return nullptr;
    }
    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        const std::optional<Entry> e = ReadEntry(*file, i);
        if (!e) {
            continue;
        }
        const int64_t area = int64_t{e->size.width()} * e->size.height();
        const int64_t bestArea = best ? int64_t{best->size.width()} * best->size.height() : -1;
        if (area > bestArea || (area == bestArea && e->bitCount > best->bitCount)) {
            best = e;
        }
    }
    if (!best || !SourceSizeAllowed(best->size.width(), best->size.height())) {
        error = "the icon file holds no readable image";
        return nullptr;
    }
    std::vector<uint8_t> png;
    if (best->png) {
        png.assign(file->begin() + static_cast<ptrdiff_t>(best->offset), file->end());
    }
    return std::make_unique<IcoDecoder>(path, QByteArray(qtFormat), name, *best, std::move(png));
}

}  // namespace vellumo::imaging
