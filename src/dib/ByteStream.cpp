#include "dib/ByteStream.h"

#include <cstring>
#include <limits>

namespace vellumo::dib {

size_t MemoryInputStream::Read(void* buffer, size_t size) {
    if (position_ >= size_) {
        return 0;
    }
    const uint64_t available = size_ - position_;
    const size_t count = size < available ? size : static_cast<size_t>(available);
    std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return count;
}

bool MemoryOutputStream::Write(const void* buffer, size_t size) {
    if (size == 0) {
        return true;
    }
    if (position_ > bytes_.max_size() - size) {
        return false;
    }
    const size_t end = static_cast<size_t>(position_) + size;
    if (end > bytes_.size()) {
        bytes_.resize(end);
    }
    std::memcpy(bytes_.data() + position_, buffer, size);
    position_ = end;
    return true;
}

bool MemoryOutputStream::Seek(uint64_t offset) {
    if (offset > std::numeric_limits<size_t>::max()) {
        return false;
    }
    position_ = offset;
    return true;
}

}  // namespace vellumo::dib
