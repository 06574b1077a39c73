// Inputs the fuzzer once found harmful, replayed through the decoder: each must now fail
// with a reason and no image, or decode to an image that survives a write and reread.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dib/BmpCodec.h"

namespace vellumo::dib {
namespace {

namespace fs = std::filesystem;

TEST(DibCrashers, EveryStoredInputFailsCleanlyOrRoundTrips) {
    const fs::path folder = fs::path(VELLUMO_TEST_DATA_DIR) / "crashers" / "bmp_decode";
    if (!fs::is_directory(folder) || fs::is_empty(folder)) {
        GTEST_SKIP() << "no stored inputs in " << folder;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
        MemoryInputStream stream(bytes);
        CBmpCodec codec;
        if (!codec.DecodeStream(stream)) {
            EXPECT_FALSE(codec.HasImage());
            EXPECT_NE(codec.lastError[0], '\0');
            continue;
        }
        MemoryOutputStream written;
        ASSERT_TRUE(codec.EncodeStream(written));
        MemoryInputStream reread(written.bytes());
        CBmpCodec again;
        ASSERT_TRUE(again.DecodeStream(reread));
        ASSERT_EQ(again.TotalBytes(), codec.TotalBytes());
        EXPECT_EQ(std::memcmp(again.imageMemory, codec.imageMemory, codec.TotalBytes()), 0);
    }
}

}  // namespace
}  // namespace vellumo::dib
