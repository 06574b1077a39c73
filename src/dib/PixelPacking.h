#pragma once
// Where a pixel lives inside a stored row: 1 bit (leftmost pixel in the most significant
// bit), 4 bits (even x in the high nibble), 8 bits (one byte). Callers check x.

#include <cstdint>

namespace vellumo::dib {

inline uint8_t LoadIndex(const uint8_t* row, uint32_t x, uint32_t bits) {
    switch (bits) {
        case 1:
            return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
        case 4:
            return static_cast<uint8_t>((x & 1) != 0 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4);
        case 8:
            return row[x];
        default:
            return 0;
    }
}

// Stores the low `bits` bits of `index`; the other pixels of the byte are kept.
inline void StoreIndex(uint8_t* row, uint32_t x, uint32_t bits, uint8_t index) {
    switch (bits) {
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
            uint8_t& byte = row[x >> 3];
            byte = static_cast<uint8_t>((index & 1) != 0 ? byte | mask : byte & ~mask);
            break;
        }
        case 4: {
            uint8_t& byte = row[x >> 1];
            if ((x & 1) != 0) {
                byte = static_cast<uint8_t>((byte & 0xF0) | (index & 0x0F));
            } else {
                byte = static_cast<uint8_t>((byte & 0x0F) | ((index & 0x0F) << 4));
            }
            break;
        }
        case 8:
            row[x] = index;
            break;
        default:
            break;
    }
}

}  // namespace vellumo::dib
