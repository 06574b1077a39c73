#include "dib/BmpCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "BmpBytes.h"
#include "dib/BmpTexts.h"
#include "dib/Endian.h"
#include "dib/RowCursor.h"

namespace vellumo::dib {
namespace {

using test::BmpFields;
using test::BuildBmp;
using test::Decode;

std::vector<int> Indexes(const CIndexedBitmap& image) {
    std::vector<int> out;
    for (int32_t y = 0; y < image.header.biHeight; ++y) {
        for (int32_t x = 0; x < image.header.biWidth; ++x) {
            out.push_back(image.ReadIndex(x, y));
        }
    }
    return out;
}

std::vector<uint8_t> Grey16Palette() {
    std::vector<uint8_t> table;
    for (uint8_t i = 0; i < 16; ++i) {
        table.insert(table.end(), {uint8_t(i * 16), uint8_t(i * 16), uint8_t(i * 16), 0});
    }
    return table;
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vellumo-dib-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path File(const char* name) const { return dir_ / name; }
    static void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<uint8_t> Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path dir_;
};

struct FailureCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
};

TEST(DibBmpDecode, RefusesBrokenFilesWithTheirReasonAndNoImage) {
    auto v5 = BuildBmp({.headerSize = 124});
    v5.resize(60);  // ends inside the colour masks
    std::vector<uint8_t> bm53(53, 0);
    bm53[0] = 'B';
    bm53[1] = 'M';
    bm53[14] = 40;
    const FailureCase cases[] = {
        {"10 bytes", std::vector<uint8_t>(10, 'B'), texts::kNotABmp},
        {"file header only",
         {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         texts::kErrorReadingInfo},
        {"53 bytes", bm53, texts::kErrorReadingInfo},
        {"24-bit bit fields", BuildBmp({.bits = 24, .compression = 3}), texts::kUnknownCompression},
        {"8-bit JPEG", BuildBmp({.bits = 8, .compression = 4}), texts::kCompressionNotSupported},
        {"JPEG inside", BuildBmp({.bits = 0, .compression = 4}), texts::kCompressionNotSupported},
        {"16-bit RLE8", BuildBmp({.bits = 16, .compression = 1}), texts::kUnknownCompression},
        {"huge", BuildBmp({.width = 60000, .height = 60000, .bits = 8}), texts::kCantAllocate},
        {"negative width", BuildBmp({.width = -4, .bits = 8}), texts::kErrorReadingInfo},
        {"zero height", BuildBmp({.height = 0, .bits = 8}), texts::kErrorReadingInfo},
        {"most negative height", BuildBmp({.height = INT32_MIN}), texts::kErrorReadingInfo},
        {"3 bits", BuildBmp({.bits = 3}), texts::kErrorReadingInfo},
        {"header size 8", BuildBmp({.headerSize = 8}), texts::kErrorReadingInfo},
        {"truncated V5 header", v5, texts::kErrorReadingInfo},
        {"top-down RLE", BuildBmp({.height = -2, .bits = 8, .compression = 1}),
         texts::kCompressionNotSupported},
    };
    for (const auto& c : cases) {
        CBmpCodec codec;
        codec.Allocate(2, 2, 8);  // an earlier image must not survive a failure
        EXPECT_FALSE(Decode(codec, c.bytes)) << c.name;
        EXPECT_STREQ(codec.lastError, c.reason) << c.name;
        EXPECT_FALSE(codec.HasImage()) << c.name;
    }
}

struct RleCase {
    const char* name;
    uint32_t compression;
    uint16_t bits;
    int32_t width, height;
    std::vector<uint8_t> data;
    std::vector<int> expected;  // bottom row first
};

TEST(DibBmpDecode, RunLengthCodesAndTheirClipping) {
    const RleCase cases[] = {
        {"encoded run", 1, 8, 4, 2, {3, 5, 0, 1}, {5, 5, 5, 0, 0, 0, 0, 0}},
        {"delta", 1, 8, 6, 2, {0, 2, 4, 1, 1, 9, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 0}},
        {"odd absolute run", 1, 8, 5, 1, {0, 3, 1, 2, 3, 0, 2, 9, 0, 1}, {1, 2, 3, 9, 9}},
        {"end of line", 1, 8, 2, 2, {1, 4, 0, 0, 2, 6, 0, 1}, {4, 0, 6, 6}},
        {"run past the row end", 1, 8, 4, 2, {255, 7, 0, 0, 1, 8, 0, 1}, {7, 7, 7, 7, 8, 0, 0, 0}},
        {"absolute past the row end",
         1,
         8,
         4,
         2,
         {0, 6, 1, 2, 3, 4, 5, 6, 0, 1},
         {1, 2, 3, 4, 0, 0, 0, 0}},
        {"delta above the top", 1, 8, 2, 2, {0, 2, 0, 5, 1, 9, 0, 1}, {0, 0, 0, 0}},
        {"end of line above the top", 1, 8, 1, 1, {0, 0, 1, 9, 0, 1}, {0}},
        {"no end code", 1, 8, 3, 1, {2, 3}, {3, 3, 0}},
        {"cut inside a code", 1, 8, 3, 1, {2}, {0, 0, 0}},
        {"rle4 run from odd x", 2, 4, 5, 1, {0, 2, 1, 0, 3, 0xAB, 0, 1}, {0, 10, 11, 10, 0}},
        {"rle4 absolute 3", 2, 4, 5, 1, {0, 3, 0x12, 0x30, 2, 0x77, 0, 1}, {1, 2, 3, 7, 7}},
        {"rle4 absolute 5",
         2,
         4,
         7,
         1,
         {0, 5, 0x12, 0x34, 0x50, 0, 2, 0x77, 0, 1},
         {1, 2, 3, 4, 5, 7, 7}},
        {"rle4 into 8 bits", 2, 8, 2, 1, {2, 0xAB, 0, 1}, {10, 11}},
        {"rle8 into 4 bits", 1, 4, 2, 1, {2, 0xAB, 0, 1}, {11, 11}},
    };
    for (const auto& c : cases) {
        CBmpCodec codec;
        ASSERT_TRUE(Decode(codec, BuildBmp({.width = c.width,
                                            .height = c.height,
                                            .bits = c.bits,
                                            .compression = c.compression,
                                            .pixels = c.data})))
            << c.name << ": " << codec.lastError;
        EXPECT_EQ(Indexes(codec), c.expected) << c.name;
    }
}

TEST(DibBmpDecode, ColourTableIsAlwaysFullAndPixelsComeFromTheOffset) {
    // 4 bits, biClrUsed 5: 16 entries are still read; a gap separates table and pixels.
    std::vector<uint8_t> after = Grey16Palette();
    after.resize(after.size() + 6, 0xEE);
    CBmpCodec codec;
    ASSERT_TRUE(Decode(codec, BuildBmp({.width = 3,
                                        .bits = 4,
                                        .clrUsed = 5,
                                        .afterHeader = after,
                                        .pixels = {0x1F, 0xA0, 0, 0}})));
    EXPECT_EQ(codec.header.biClrUsed, 16u);
    EXPECT_EQ(codec.GetEntry(12), MakeColor(192, 192, 192));
    EXPECT_EQ(Indexes(codec), (std::vector<int>{1, 15, 10}));

    // A bare DIB: no file header, pixels right after the colour table.
    CBmpCodec bare;
    ASSERT_TRUE(Decode(bare, BuildBmp({.fileHeader = false,
                                       .width = 2,
                                       .bits = 4,
                                       .afterHeader = Grey16Palette(),
                                       .pixels = {0x3C, 0, 0, 0}})));
    EXPECT_EQ(bare.ReadColor(1, 0), MakeColor(192, 192, 192));
    EXPECT_EQ(bare.ReadIndex(0, 0), 3);
}

TEST(DibBmpDecode, HeaderVariantsPlaceTheColourTableRight) {
    // Core header: 3-byte entries.
    std::vector<uint8_t> core(768, 0);
    core[3 * 7 + 0] = 30;  // blue, green, red of entry 7
    core[3 * 7 + 1] = 20;
    core[3 * 7 + 2] = 10;
    CBmpCodec a;
    ASSERT_TRUE(Decode(a, BuildBmp({.headerSize = 12,
                                    .width = 1,
                                    .bits = 8,
                                    .afterHeader = core,
                                    .pixels = {7, 0, 0, 0}})));
    EXPECT_EQ(a.ReadColor(0, 0), MakeColor(10, 20, 30));

    // Shortened 16-byte header and the 124-byte V5 header: table right after them.
    for (uint32_t size : {16u, 64u, 108u, 124u}) {
        std::vector<uint8_t> table(1024, 0);
        table[4 * 9 + 2] = 99;  // red of entry 9
        CBmpCodec b;
        ASSERT_TRUE(Decode(b, BuildBmp({.headerSize = size,
                                        .width = 1,
                                        .bits = 8,
                                        .afterHeader = table,
                                        .pixels = {9, 0, 0, 0}})))
            << size;
        EXPECT_EQ(b.ReadColor(0, 0), MakeColor(99, 0, 0)) << size;
        EXPECT_EQ(b.header.biSize, 40u);
    }
}

struct TrueColorCase {
    const char* name;
    BmpFields fields;
    RGBQUAD left, right;
};

TEST(DibBmpDecode, SixteenAndThirtyTwoBitPixelsBecomeTwentyFourBits) {
    auto le = [](std::initializer_list<uint32_t> values) {
        std::vector<uint8_t> out;
        for (uint32_t v : values) {
            test::PutLe(out, v, 4);
        }
        return out;
    };
    const TrueColorCase cases[] = {
        {"555",
         {.width = 2, .bits = 16, .pixels = {0xFF, 0x7F, 0x00, 0x7C}},
         MakeColor(255, 255, 255),
         MakeColor(255, 0, 0)},
        {"565 masks after the header",
         {.width = 2,
          .bits = 16,
          .compression = 3,
          .afterHeader = le({0xF800, 0x07E0, 0x001F}),
          .pixels = {0xE0, 0x07, 0x10, 0x00}},
         MakeColor(0, 255, 0),
         MakeColor(0, 0, 132)},
        {"444 alpha bit fields",
         {.width = 2,
          .bits = 16,
          .compression = 6,
          .afterHeader = le({0xF00, 0xF0, 0xF, 0xF000}),
          .pixels = {0x0F, 0xF0, 0x80, 0x00}},
         MakeColor(0, 0, 255),
         MakeColor(0, 136, 0)},
        {"32-bit default",
         {.width = 2, .bits = 32, .pixels = {1, 2, 3, 99, 4, 5, 6, 99}},
         MakeColor(3, 2, 1),
         MakeColor(6, 5, 4)},
        {"32-bit masks in a V5 header",
         {.headerSize = 124,
          .width = 2,
          .bits = 32,
          .compression = 3,
          .headerMasks = {0x000000FF, 0x0000FF00, 0x00FF0000},
          .pixels = {1, 2, 3, 0, 4, 5, 6, 0}},
         MakeColor(1, 2, 3),
         MakeColor(4, 5, 6)},
        {"16-bit masks in a V4 header",
         {.headerSize = 108,
          .width = 2,
          .bits = 16,
          .compression = 3,
          .headerMasks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x00, 0xF8, 0x1F, 0x00, 0, 0}},
         MakeColor(255, 0, 0),
         MakeColor(0, 0, 255)},
    };
    for (const auto& c : cases) {
        CBmpCodec codec;
        ASSERT_TRUE(Decode(codec, BuildBmp(c.fields))) << c.name << ": " << codec.lastError;
        EXPECT_EQ(codec.header.biBitCount, 24) << c.name;
        EXPECT_EQ(codec.ReadColor(0, 0), c.left) << c.name;
        EXPECT_EQ(codec.ReadColor(1, 0), c.right) << c.name;
    }
}

TEST(DibBmpDecode, TopDownAndTwoBitRowsAreStoredBottomUpInTheHolder) {
    CBmpCodec eight;
    ASSERT_TRUE(Decode(eight, BuildBmp({.width = 1,
                                        .height = -3,
                                        .bits = 8,
                                        .afterHeader = std::vector<uint8_t>(1024, 0),
                                        .pixels = {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}})));
    EXPECT_EQ(Indexes(eight), (std::vector<int>{3, 2, 1}));

    CBmpCodec rgb;
    ASSERT_TRUE(Decode(rgb, BuildBmp({.width = 1,
                                      .height = -2,
                                      .bits = 16,
                                      .pixels = {0x00, 0x7C, 0, 0, 0x1F, 0x00, 0, 0}})));
    EXPECT_EQ(rgb.ReadColor(0, 0), MakeColor(0, 0, 255));
    EXPECT_EQ(rgb.ReadColor(0, 1), MakeColor(255, 0, 0));

    CBmpCodec two;
    ASSERT_TRUE(Decode(two, BuildBmp({.width = 5,
                                      .bits = 2,
                                      .afterHeader = Grey16Palette(),
                                      .pixels = {0b00011011, 0b01000000, 0, 0}})));
    EXPECT_EQ(two.header.biBitCount, 4);
    EXPECT_EQ(Indexes(two), (std::vector<int>{0, 1, 2, 3, 1}));
}

TEST(DibBmpDecode, MissingPixelDataLeavesClearedPixels) {
    const std::vector<uint8_t> table(1024, 0x40);
    CBmpCodec shortFile;
    ASSERT_TRUE(Decode(shortFile, BuildBmp({.width = 2,
                                            .height = 3,
                                            .bits = 8,
                                            .afterHeader = table,
                                            .pixels = {5, 6, 0, 0, 7}})));
    EXPECT_EQ(Indexes(shortFile), (std::vector<int>{5, 6, 7, 0, 0, 0}));

    CBmpCodec pastEnd;
    ASSERT_TRUE(Decode(
        pastEnd,
        BuildBmp(
            {.width = 2, .height = 2, .bits = 24, .pixels = {1, 2, 3}, .offBits = 0x7FFFFFF0})));
    EXPECT_EQ(pastEnd.ReadColor(0, 0), RGBQUAD{});

    CBmpCodec shortRgb;
    ASSERT_TRUE(Decode(
        shortRgb, BuildBmp({.width = 2, .height = -2, .bits = 32, .pixels = {1, 2, 3, 0, 4, 5}})));
    EXPECT_EQ(shortRgb.ReadColor(0, 1), MakeColor(3, 2, 1));
    EXPECT_EQ(shortRgb.ReadColor(1, 1), RGBQUAD{});
}

TEST(DibRowCursor, StaysOnItsRowWhenAskedForOneOutside) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(4, 3, 8), nullptr);
    RowCursor cursor(image);
    EXPECT_EQ(cursor.Row(2), image.pixels + 8);
    EXPECT_EQ(cursor.Row(3), image.pixels + 8);
    EXPECT_EQ(cursor.Row(-1), image.pixels + 8);
    EXPECT_EQ(cursor.current(), 2);
}

using DibBmpFiles = TempDir;

TEST_F(DibBmpFiles, ATwentyFourBitFileComesBackByteForByte) {
    const auto original = BuildBmp(
        {.width = 3, .height = 2, .bits = 24, .sizeImage = 24, .pixels = {1,  2,  3,  4,  5,  6,
                                                                          7,  8,  9,  0,  0,  0,
                                                                          10, 11, 12, 13, 14, 15,
                                                                          16, 17, 18, 0,  0,  0}});
    ASSERT_EQ(LoadLe32(original.data() + 2), original.size());
    Write(File("in.bmp"), original);
    CIndexedBitmap image;
    ASSERT_TRUE(image.LoadBmp(File("in.bmp")));
    EXPECT_EQ(image.ReadColor(2, 1), MakeColor(18, 17, 16));
    ASSERT_TRUE(image.SaveBmp(File("out.bmp")));
    EXPECT_EQ(Read(File("out.bmp")), original);
}

TEST_F(DibBmpFiles, AWrittenOneBitImageHasTheDocumentedLayout) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(10, 2, 1), nullptr);
    image.SetEntry(1, 255, 255, 255);
    image.WriteIndex(9, 1, 1);
    image.LimitImportant(1);  // the header copy in the block is what gets written
    ASSERT_TRUE(image.SaveBmp(File("one.bmp")));
    const auto bytes = Read(File("one.bmp"));
    ASSERT_EQ(bytes.size(), 70u);
    EXPECT_EQ(LoadLe32(bytes.data() + 2), 70u);
    EXPECT_EQ(LoadLe32(bytes.data() + 10), 62u);
    EXPECT_EQ(LoadLe32(bytes.data() + 14 + 36), 0u);  // biClrImportant
    EXPECT_EQ(bytes[62 + 4 + 1], 0x40);

    CIndexedBitmap back;
    ASSERT_TRUE(back.LoadBmp(File("one.bmp")));
    EXPECT_EQ(back.ReadIndex(9, 1), 1);
    EXPECT_EQ(back.GetEntry(1), MakeColor(255, 255, 255));
}

TEST_F(DibBmpFiles, LoadFailuresDiscardTheImageUnlessTheFileCannotBeOpened) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(2, 2, 24), nullptr);
    image.SetLastError("before");
    EXPECT_FALSE(image.LoadBmp(File("missing.bmp")));
    EXPECT_TRUE(image.HasImage());
    EXPECT_STREQ(image.lastError, "before");

    Write(File("bad.bmp"), BuildBmp({.bits = 8, .compression = 4}));
    EXPECT_FALSE(image.LoadBmp(File("bad.bmp")));
    EXPECT_FALSE(image.HasImage());
    EXPECT_STREQ(image.lastError, "compression type not supported");
    // The holder is usable again.
    EXPECT_NE(image.Allocate(1, 1, 8), nullptr);
    EXPECT_EQ(image.TotalBytes(), 40u + 1024 + 4);
}

// A stream that takes `room` bytes and then refuses to write.
class FullStream : public MemoryOutputStream {
  public:
    explicit FullStream(size_t room) : room_(room) {}
    bool Write(const void* buffer, size_t size) override {
        if (Tell() + size > room_) {
            return false;
        }
        return MemoryOutputStream::Write(buffer, size);
    }

  private:
    size_t room_;
};

TEST_F(DibBmpFiles, WriteFailuresAreReportedNeverSuccess) {
    CIndexedBitmap image;
    ASSERT_NE(image.Allocate(64, 64, 24), nullptr);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(image.SaveBmp("/dev/full"));
        EXPECT_STREQ(image.lastError, "Error writing BMP file");
    }
    for (size_t room : {0, 10, 54, 1000}) {
        CBmpCodec codec;
        codec.Borrow(image);
        FullStream stream(room);
        EXPECT_FALSE(codec.EncodeStream(stream)) << room;
        EXPECT_STREQ(codec.lastError, "Error writing BMP file");
    }
    image.SetLastError("");
    EXPECT_FALSE(image.SaveBmp(dir_ / "no-such-folder" / "x.bmp"));
    EXPECT_STREQ(image.lastError, "");

    CIndexedBitmap empty;
    EXPECT_FALSE(empty.SaveBmp(File("empty.bmp")));
    EXPECT_STREQ(empty.lastError, "No image to write");
    EXPECT_FALSE(std::filesystem::exists(File("empty.bmp")));
}

}  // namespace
}  // namespace vellumo::dib
