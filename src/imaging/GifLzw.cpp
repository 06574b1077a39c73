#include "imaging/GifLzw.h"

#include <array>
#include <memory>

namespace vellumo::imaging {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr uint32_t kTableSize = 1u << kMaxCodeBits;

// Codes are packed least significant bit first.
class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

    // False when the data holds fewer than `bits` more bits.
    bool Read(int bits, uint32_t& code) {
        while (count_ < bits) {
            if (pos_ >= data_.size()) {
                return false;
            }
            buffer_ |= static_cast<uint32_t>(data_[pos_++]) << count_;
            count_ += 8;
        }
        code = buffer_ & ((1u << bits) - 1u);
        buffer_ >>= bits;
        count_ -= bits;
        return true;
    }

  private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

// The string table: each code is its prefix code plus one final index. Strings are
// written back to front straight into the output.
struct Table {
    std::array<uint16_t, kTableSize> prefix{};
    std::array<uint8_t, kTableSize> suffix{};
    std::array<uint8_t, kTableSize> first{};
    std::array<uint16_t, kTableSize> length{};
};

}  // namespace

LzwResult DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out) {
    LzwResult result;
    if (minCodeSize < 1 || minCodeSize > kMaxCodeBits - 1) {
        return result;
    }
    auto table = std::make_unique<Table>();
    const uint32_t clear = 1u << minCodeSize;
    const uint32_t end = clear + 1;
    for (uint32_t c = 0; c < clear; ++c) {
        table->suffix[c] = static_cast<uint8_t>(c);
        table->first[c] = static_cast<uint8_t>(c);
        table->length[c] = 1;
    }

    BitReader bits(data);
    int codeSize = minCodeSize + 1;
    uint32_t next = clear + 2;
    int64_t previous = -1;  // no string yet (start, or just after a clear)
    size_t written = 0;

    // Writes the string of `code` at the current position, cut at the end of `out`.
    auto emit = [&](uint32_t code) {
        const size_t len = table->length[code];
        size_t pos = written + len;
        uint32_t c = code;
        while (pos > written) {
            --pos;
            if (pos < out.size()) {
                out[pos] = table->suffix[c];
            }
            c = table->prefix[c];
        }
        written = std::min(out.size(), written + len);
    };

    uint32_t code = 0;
    while (written < out.size() && bits.Read(codeSize, code)) {
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) {
            break;
        }
        if (previous < 0) {
            if (code >= clear) {
                return result;  // the first code after a clear must be a single index
            }
            emit(code);
            previous = code;
            continue;
        }
        const auto prev = static_cast<uint32_t>(previous);
        if (code < next) {
            if (next < kTableSize) {
                table->prefix[next] = static_cast<uint16_t>(prev);
                table->suffix[next] = table->first[code];
                table->first[next] = table->first[prev];
                table->length[next] = static_cast<uint16_t>(table->length[prev] + 1);
                ++next;
            }
            emit(code);
        } else if (code == next && next < kTableSize) {
            // The string being defined by this very code: previous + its own first index.
            table->prefix[next] = static_cast<uint16_t>(prev);
            table->suffix[next] = table->first[prev];
            table->first[next] = table->first[prev];
            table->length[next] = static_cast<uint16_t>(table->length[prev] + 1);
            ++next;
            emit(code);
        } else {
            return result;  // a code beyond the table
        }
        previous = code;
        if (next == (1u << codeSize) && codeSize < kMaxCodeBits) {
            ++codeSize;
        }
    }
    result.ok = true;
    result.written = written;
    return result;
}

}  // namespace vellumo::imaging
