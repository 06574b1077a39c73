#pragma once
// The byte streams the BMP codec reads and writes: one small interface with a file
// implementation (FileStream.h) and two memory implementations, so that the decoder can
// run on a buffer (tests, fuzzing) exactly as on a file.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellumo::dib {

class ByteStream {
  public:
    virtual ~ByteStream() = default;

    // Copies up to `size` bytes into `buffer`; returns how many were read (fewer at the
    // end of the data or on a read error).
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Writes all `size` bytes; false when any of them could not be written.
    virtual bool Write(const void* buffer, size_t size) = 0;
    // Moves to `offset` bytes from the start. A position past the end is allowed (reads
    // there deliver nothing); false only when the position cannot be represented.
    virtual bool Seek(uint64_t offset) = 0;
    virtual uint64_t Tell() const = 0;
    // Pushes buffered output to its destination; false when that fails.
    virtual bool Flush() { return true; }

    // One byte, or false at the end of the data.
    bool ReadByte(uint8_t& value) { return Read(&value, 1) == 1; }
};

// Reads from a caller-owned buffer, which must outlive the stream. Writing fails.
class MemoryInputStream : public ByteStream {
  public:
    MemoryInputStream(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit MemoryInputStream(const std::vector<uint8_t>& bytes)
        : MemoryInputStream(bytes.data(), bytes.size()) {}

    size_t Read(void* buffer, size_t size) override;
    bool Write(const void*, size_t) override { return false; }
    bool Seek(uint64_t offset) override {
        position_ = offset;
        return true;
    }
    uint64_t Tell() const override { return position_; }

  private:
    const uint8_t* data_;
    size_t size_;
    uint64_t position_ = 0;
};

// Collects written bytes in a vector; writing at a position inside it overwrites.
class MemoryOutputStream : public ByteStream {
  public:
    size_t Read(void*, size_t) override { return 0; }
    bool Write(const void* buffer, size_t size) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() const override { return position_; }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    uint64_t position_ = 0;
};

}  // namespace vellumo::dib
