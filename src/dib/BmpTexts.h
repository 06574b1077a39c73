#pragma once
// The reasons the BMP reader and writer leave in lastError, word for word.

namespace vellumo::dib::texts {

inline constexpr const char* kNotABmp = "Not a BMP";
inline constexpr const char* kErrorReadingInfo = "Error reading BMP info";
inline constexpr const char* kCantAllocate = "Can't allocate memory";
inline constexpr const char* kCompressionNotSupported = "compression type not supported";
inline constexpr const char* kUnknownCompression = "unknown compression";
inline constexpr const char* kNoImage = "No image to write";
inline constexpr const char* kWriteFailed = "Error writing BMP file";

}  // namespace vellumo::dib::texts
