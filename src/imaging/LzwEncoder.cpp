#include "imaging/LzwEncoder.h"

#include <new>

namespace vellumo::imaging {
namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndOfInformation = 257;
constexpr uint32_t kFirstFreeCode = 258;
// TIFF readers expect the table to be reset (ClearCode written) as soon as the next
// code to be assigned would be 4094, never letting it reach the 12-bit maximum.
constexpr uint32_t kTableFullCode = 4094;
constexpr int kMinCodeBits = 9;
constexpr int kMaxCodeBits = 12;

constexpr uint32_t kCodeCount = 4096;
constexpr size_t kTableSize = size_t{256} * kCodeCount;

// Packs codes most significant bit first into whole bytes.
class BitSink {
  public:
    explicit BitSink(uint8_t* out) : out_(out) {}

    void Put(uint32_t code, int width) {
        buffer_ = (buffer_ << width) | code;
        pending_ += width;
        if (pending_ >= 32) {
            pending_ -= 32;
            const auto word = static_cast<uint32_t>(buffer_ >> pending_);
            out_[0] = static_cast<uint8_t>(word >> 24);
            out_[1] = static_cast<uint8_t>(word >> 16);
            out_[2] = static_cast<uint8_t>(word >> 8);
            out_[3] = static_cast<uint8_t>(word);
            out_ += 4;
        }
    }

    // Writes what is left, the last byte padded with zero bits; returns the end.
    uint8_t* Finish() {
        while (pending_ >= 8) {
            pending_ -= 8;
            *out_++ = static_cast<uint8_t>(buffer_ >> pending_);
        }
        if (pending_ > 0) {
            *out_++ = static_cast<uint8_t>(buffer_ << (8 - pending_));
            pending_ = 0;
        }
        return out_;
    }

  private:
    uint8_t* out_;
    uint64_t buffer_ = 0;  // only the low `pending_` bits are still to be written
    int pending_ = 0;
};

}  // namespace

size_t LzwMaxEncodedSize(size_t inputBytes) {
    // One code per input byte at most, plus the leading ClearCode, one ClearCode per
    // table fill, a possible ClearCode after the last code and EndOfInformation.
    const size_t codes = inputBytes + inputBytes / (kTableFullCode - kFirstFreeCode) + 4;
    return (codes * kMaxCodeBits + 7) / 8 + 8;
}

LzwEncoder::LzwEncoder()
    : table_(new (std::nothrow) uint16_t[kTableSize]()),
      assigned_(new (std::nothrow) uint32_t[kCodeCount]) {}
LzwEncoder::~LzwEncoder() = default;
LzwEncoder::LzwEncoder(LzwEncoder&&) noexcept = default;
LzwEncoder& LzwEncoder::operator=(LzwEncoder&&) noexcept = default;

size_t LzwEncoder::Encode(const uint8_t* input, size_t size, uint8_t* output) {
    uint16_t* const table = table_.get();
    uint32_t* const assigned = assigned_.get();
    const auto forgetCodes = [&](uint32_t end) {
        for (uint32_t code = kFirstFreeCode; code < end; ++code) {
            table[assigned[code]] = 0;
        }
    };

    BitSink sink(output);
    int width = kMinCodeBits;
    uint32_t nextCode = kFirstFreeCode;
    sink.Put(kClearCode, width);
    if (size == 0) {
        sink.Put(kEndOfInformation, width);
        return static_cast<size_t>(sink.Finish() - output);
    }

    // `prefix` is the code of the longest string seen so far that is in the table.
    uint32_t prefix = input[0];
    for (size_t i = 1; i < size; ++i) {
        const uint32_t byte = input[i];
        const uint32_t slot = (byte << 12) | prefix;
        const uint32_t code = table[slot];
        if (code != 0) {
            prefix = code;
            continue;
        }

        sink.Put(prefix, width);
        table[slot] = static_cast<uint16_t>(nextCode);
        assigned[nextCode] = slot;
        ++nextCode;
        if (nextCode == kTableFullCode) {
            sink.Put(kClearCode, width);
            forgetCodes(nextCode);
            nextCode = kFirstFreeCode;
            width = kMinCodeBits;
        } else if (nextCode > (uint32_t{1} << width) - 1) {
            // The reader adds its entry one code later than we do, so it widens its
            // codes exactly when we do here.
            ++width;
        }
        prefix = byte;
    }
    forgetCodes(nextCode);

    // The reader still adds an entry after the last code, which may widen the
    // EndOfInformation code or fill the table.
    sink.Put(prefix, width);
    ++nextCode;
    if (nextCode == kTableFullCode) {
        sink.Put(kClearCode, width);
        width = kMinCodeBits;
    } else if (nextCode > (uint32_t{1} << width) - 1) {
        ++width;
    }
    sink.Put(kEndOfInformation, width);
    return static_cast<size_t>(sink.Finish() - output);
}

}  // namespace vellumo::imaging
