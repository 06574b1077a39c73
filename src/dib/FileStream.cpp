#include "dib/FileStream.h"

#include <climits>

namespace vellumo::dib {
namespace {

std::FILE* OpenFile(const std::filesystem::path& name, const char* mode) {
#ifdef _WIN32
    // Wide names keep characters outside the ANSI code page.
    wchar_t wideMode[8] = {};
    for (size_t i = 0; i + 1 < sizeof(wideMode) / sizeof(wideMode[0]) && mode[i] != '\0'; ++i) {
        wideMode[i] = static_cast<wchar_t>(mode[i]);
    }
    return _wfopen(name.c_str(), wideMode);
#else
    return std::fopen(name.c_str(), mode);
#endif
}

}  // namespace

FileStream::FileStream(const std::filesystem::path& name, const char* mode)
    : file_(OpenFile(name, mode)) {}

FileStream::~FileStream() {
    if (file_ != nullptr) {
        std::fclose(file_);  // only reached on paths that already failed or only read
    }
}

size_t FileStream::Read(void* buffer, size_t size) {
    if (file_ == nullptr || size == 0) {
        return 0;
    }
    return std::fread(buffer, 1, size, file_);
}

bool FileStream::Write(const void* buffer, size_t size) {
    if (file_ == nullptr) {
        return false;
    }
    return size == 0 || std::fwrite(buffer, 1, size, file_) == size;
}

bool FileStream::Seek(uint64_t offset) {
    // fseek takes a long, which is 32 bits on some systems: larger offsets are refused
    // rather than wrapped.
    if (file_ == nullptr || offset > static_cast<uint64_t>(LONG_MAX)) {
        return false;
    }
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

uint64_t FileStream::Tell() const {
    if (file_ == nullptr) {
        return 0;
    }
    const long position = std::ftell(file_);
    return position < 0 ? 0 : static_cast<uint64_t>(position);
}

bool FileStream::Flush() {
    return file_ != nullptr && std::fflush(file_) == 0;
}

bool FileStream::Close() {
    if (file_ == nullptr) {
        return false;
    }
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

}  // namespace vellumo::dib
