#include "imaging/ApngFrames.h"

#include <zlib.h>

#include <cstring>

namespace vellumo::imaging {
namespace {

constexpr size_t kSignatureBytes = 8;
constexpr size_t kMaxFrames = 100000;  // as for GIF: far beyond any real animation

uint32_t Be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) {
        out.push_back(static_cast<uint8_t>(v >> s));
    }
}

struct Chunk {
    size_t start = 0;  // of the length field
    uint32_t length = 0;
    char type[5] = {};
    const uint8_t* data = nullptr;
};

// Walks the chunks after the signature; stops at the end, at IEND or at a chunk that
// runs past the end of the bytes.
class ChunkWalker {
  public:
    explicit ChunkWalker(std::span<const uint8_t> bytes) : bytes_(bytes), pos_(kSignatureBytes) {}
    bool Next(Chunk& chunk) {
        if (bytes_.size() < pos_ || bytes_.size() - pos_ < 12) {
            return false;
        }
        chunk.start = pos_;
        chunk.length = Be32(bytes_.data() + pos_);
        std::memcpy(chunk.type, bytes_.data() + pos_ + 4, 4);
        if (chunk.length > bytes_.size() - pos_ - 12 || std::strcmp(chunk.type, "IEND") == 0) {
            return false;
        }
        chunk.data = bytes_.data() + pos_ + 8;
        pos_ += 12 + size_t{chunk.length};
        return true;
    }

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_;
};

bool Is(const Chunk& c, const char* type) {
    return std::memcmp(c.type, type, 4) == 0;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t length) {
    PutBe32(out, static_cast<uint32_t>(length));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + length);
    PutBe32(out,
            static_cast<uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(length + 4))));
}

}  // namespace

bool HasAnimationControl(std::span<const uint8_t> head) {
    ChunkWalker walker(head);
    Chunk c;
    while (walker.Next(c)) {
        if (Is(c, "acTL")) {
            return true;
        }
        if (Is(c, "IDAT")) {
            return false;
        }
    }
    return false;
}

std::optional<ApngIndex> IndexApng(std::span<const uint8_t> file) {
    ApngIndex index;
    ChunkWalker walker(file);
    Chunk c;
    bool animated = false, seenImageData = false, broken = false;
    std::optional<ApngFrame> open;  // the frame whose data chunks are being collected
    const auto close = [&] {
        if (open && !open->data.empty()) {
            index.frames.push_back(std::move(*open));
        } else if (open) {
            broken = true;  // a frame without data ends the animation
        }
        open.reset();
    };
    while (!broken && index.frames.size() < kMaxFrames && walker.Next(c)) {
        if (Is(c, "IHDR") && c.length == 13 && index.header.length == 0) {  // the first only
            index.header = {static_cast<size_t>(c.data - file.data()), 13};
            index.width = Be32(c.data);
            index.height = Be32(c.data + 4);
        } else if (Is(c, "acTL")) {
            animated = !seenImageData;
        } else if (Is(c, "fcTL")) {
            close();
            if (c.length != 26) {
                break;
            }
            ApngFrame f;
            f.width = Be32(c.data + 4);
            f.height = Be32(c.data + 8);
            f.x = Be32(c.data + 12);
            f.y = Be32(c.data + 16);
            f.dispose = static_cast<ApngDispose>(c.data[24]);
            f.blend = static_cast<ApngBlend>(c.data[25]);
            if (f.width == 0 || f.height == 0 || f.x > index.width || f.y > index.height ||
                f.width > index.width - f.x || f.height > index.height - f.y || c.data[24] > 2 ||
                c.data[25] > 1) {
                break;
            }
            open = std::move(f);
        } else if (Is(c, "IDAT")) {
            seenImageData = true;
            if (open) {  // the default image is the first frame
                open->data.push_back({static_cast<size_t>(c.data - file.data()), c.length});
            }
        } else if (Is(c, "fdAT")) {
            if (open && c.length > 4) {
                open->data.push_back({static_cast<size_t>(c.data - file.data()) + 4, c.length - 4});
            }
        } else if (!seenImageData && (Is(c, "PLTE") || Is(c, "tRNS"))) {
            index.colourChunks.push_back({c.start, size_t{c.length} + 12});
        }
    }
    close();
    if (!animated || index.header.length == 0 || index.frames.empty()) {
        return std::nullopt;
    }
    return index;
}

std::vector<uint8_t> FramePng(std::span<const uint8_t> file, const ApngIndex& index,
                              const ApngFrame& frame) {
    std::vector<uint8_t> out(file.begin(), file.begin() + kSignatureBytes);
    uint8_t header[13];
    std::memcpy(header, file.data() + index.header.offset, 13);
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<uint8_t>(frame.width >> (24 - 8 * i));
        header[4 + i] = static_cast<uint8_t>(frame.height >> (24 - 8 * i));
    }
    PutChunk(out, "IHDR", header, 13);
    for (const ByteRange& r : index.colourChunks) {
        out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(r.offset),
                   file.begin() + static_cast<std::ptrdiff_t>(r.offset + r.length));
    }
    for (const ByteRange& r : frame.data) {
        PutChunk(out, "IDAT", file.data() + r.offset, r.length);
    }
    PutChunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace vellumo::imaging
