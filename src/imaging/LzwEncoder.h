#pragma once
// TIFF's LZW compression (codes written most significant bit first, 9 to 12 bits wide,
// ClearCode 256, EndOfInformation 257, code width raised one code early as TIFF readers
// expect). One call encodes one complete stream, so every strip of a page can be
// encoded independently and on any thread; the encoder object only holds its table.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vellumo::imaging {

// Largest number of bytes Encode can produce for `inputBytes` bytes of input.
size_t LzwMaxEncodedSize(size_t inputBytes);

class LzwEncoder {
  public:
    LzwEncoder();
    ~LzwEncoder();
    LzwEncoder(LzwEncoder&&) noexcept;
    LzwEncoder& operator=(LzwEncoder&&) noexcept;
    LzwEncoder(const LzwEncoder&) = delete;
    LzwEncoder& operator=(const LzwEncoder&) = delete;

    // False when the table could not be allocated; Encode must not be called then.
    bool IsReady() const { return table_ != nullptr && assigned_ != nullptr; }

    // Encodes `size` bytes of `input` as one stream (ClearCode first, EndOfInformation
    // last) into `output`, which must hold LzwMaxEncodedSize(size) bytes. Returns the
    // number of bytes written.
    size_t Encode(const uint8_t* input, size_t size, uint8_t* output);

  private:
    // The string table indexed directly by (next byte, prefix code): the code of that
    // string, 0 when it is not in the table. Byte-major, so the rows of the few byte
    // values that dominate predicted photo data stay in cache. About 2 MB, all zero
    // between calls.
    std::unique_ptr<uint16_t[]> table_;
    // For each assigned code, where it sits in table_, so a reset clears only those.
    std::unique_ptr<uint32_t[]> assigned_;
};

}  // namespace vellumo::imaging
