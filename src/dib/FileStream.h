#pragma once
// A ByteStream over a C stdio file. File names are std::filesystem::path values, so a
// UTF-8 name reaches the operating system unchanged.

#include <cstdio>
#include <filesystem>

#include "dib/ByteStream.h"

namespace vellumo::dib {

class FileStream : public ByteStream {
  public:
    // Opens `name` with a stdio mode ("rb", "wb"); IsOpen() tells whether it worked.
    FileStream(const std::filesystem::path& name, const char* mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool IsOpen() const { return file_ != nullptr; }

    size_t Read(void* buffer, size_t size) override;
    bool Write(const void* buffer, size_t size) override;
    bool Seek(uint64_t offset) override;
    uint64_t Tell() const override;
    bool Flush() override;
    // Closes the file; false when the close reported an error (buffered data lost).
    bool Close();

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace vellumo::dib
