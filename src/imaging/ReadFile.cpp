#include "imaging/ReadFile.h"

#include <new>

namespace vellumo::imaging {

namespace {
constexpr size_t kReadBufferBytes = size_t{64} << 10;
}  // namespace

FileHandle OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    FileHandle file(_wfopen(path.c_str(), L"rb"));
#else
    FileHandle file(std::fopen(path.c_str(), "rb"));
#endif
    if (file) {
        // Without the buffer the file is read with the default one: slower, not wrong.
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[kReadBufferBytes]);
        if (buffer && std::setvbuf(file.get(), buffer.get(), _IOFBF, kReadBufferBytes) == 0) {
            file.get_deleter().buffer = std::move(buffer);
        }
    }
    return file;
}

std::optional<std::vector<uint8_t>> ReadHead(const std::filesystem::path& path, size_t count) {
    FileHandle file = OpenForReading(path);
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(count);
    const size_t got = std::fread(bytes.data(), 1, count, file.get());
    if (got < count && std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    bytes.resize(got);
    return bytes;
}

std::optional<std::vector<uint8_t>> ReadWhole(const std::filesystem::path& path, uint64_t limit) {
    FileHandle file = OpenForReading(path);
    if (!file) {
        return std::nullopt;
    }
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > limit) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()) != 0) {
        return std::nullopt;
    }
    bytes.resize(got);  // the file may have shrunk since its size was read
    return bytes;
}

}  // namespace vellumo::imaging
