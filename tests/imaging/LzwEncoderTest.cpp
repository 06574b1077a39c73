// Our LZW streams must decode, with libtiff's own decoder and with a strict decoder of
// TIFF's rules, to exactly the bytes encoded, for every kind of content and every length,
// including streams that fill the code table (ClearCode resets) and streams whose last
// code sits on a code-width boundary.

#include <gtest/gtest.h>

#include <tiffio.h>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "WriterTestSupport.h"
#include "imaging/LzwEncoder.h"

namespace vellumo::imaging {
namespace {

using testing::ScratchDir;

std::vector<uint8_t> Encode(LzwEncoder& encoder, const std::vector<uint8_t>& input) {
    // Exactly the promised room, so ASan reports any write past it.
    std::vector<uint8_t> out(LzwMaxEncodedSize(input.size()));
    const size_t size = encoder.Encode(input.data(), input.size(), out.data());
    EXPECT_LE(size, out.size());
    out.resize(size);
    return out;
}

// A decoder that enforces TIFF's rules which libtiff's lenient decoder lets pass: the
// stream starts with ClearCode, codes widen exactly one code early, ClearCode comes
// before the table passes 4094 entries, EndOfInformation is read at the right width and
// nothing but zero padding follows it. (libtiff stops as soon as it has all the bytes of
// a strip, so a wrongly sized EndOfInformation or a late reset go unnoticed there.)
std::string StrictDecode(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out) {
    size_t bit = 0;
    const auto read = [&](int width, uint32_t& code) {
        if (bit + static_cast<size_t>(width) > stream.size() * 8) {
            return false;
        }
        code = 0;
        for (int i = 0; i < width; ++i, ++bit) {
            code = (code << 1) | ((stream[bit / 8] >> (7 - bit % 8)) & 1u);
        }
        return true;
    };
    std::vector<std::vector<uint8_t>> table(4096);
    for (uint32_t i = 0; i < 256; ++i) {
        table[i] = {static_cast<uint8_t>(i)};
    }
    uint32_t next = 258;
    int width = 9;
    int64_t previous = -1;
    uint32_t code = 0;
    if (!read(9, code) || code != 256) {
        return "does not start with ClearCode";
    }
    for (;;) {
        if (!read(width, code)) {
            return "ends without EndOfInformation";
        }
        if (code == 256) {
            next = 258;
            width = 9;
            previous = -1;
            continue;
        }
        if (code == 257) {
            break;
        }
        std::vector<uint8_t> entry;
        if (previous < 0) {
            if (code > 255) {
                return "first code after ClearCode is not a byte";
            }
            entry = table[code];
        } else {
            if (code < next) {
                entry = table[code];
            } else if (code == next) {
                entry = table[static_cast<size_t>(previous)];
                entry.push_back(entry[0]);
            } else {
                return "code " + std::to_string(code) + " beyond the table (" +
                       std::to_string(next) + ")";
            }
            std::vector<uint8_t> added = table[static_cast<size_t>(previous)];
            added.push_back(entry[0]);
            table[next++] = std::move(added);
            if (next > 4093) {
                // The writer resets when its own next code reaches 4094, one entry ahead.
                return "table reached 4094 entries without ClearCode";
            }
            if (next >= (uint32_t{1} << width) - 1 && width < 12) {
                ++width;
            }
        }
        out.insert(out.end(), entry.begin(), entry.end());
        previous = code;
    }
    if ((bit + 7) / 8 != stream.size()) {
        return "bytes follow EndOfInformation";
    }
    while (bit % 8 != 0) {
        if ((stream[bit / 8] >> (7 - bit % 8)) & 1u) {
            return "padding after EndOfInformation is not zero";
        }
        ++bit;
    }
    return "";
}

int Collect(TIFF*, void* sink, const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    *static_cast<std::string*>(sink) += std::string(module ? module : "") + ": " + text + "\n";
    return 1;
}

// Stores each stream as the only strip of a one-row, 8-bit grey directory (one directory
// per stream) and has libtiff decode them all back.
struct Decoded {
    std::vector<std::vector<uint8_t>> outputs;
    std::string problems;
};

Decoded DecodeWithLibtiff(const std::filesystem::path& file,
                          const std::vector<std::vector<uint8_t>>& inputs,
                          const std::vector<std::vector<uint8_t>>& streams) {
    Decoded result;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, &Collect, &result.problems);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &Collect, &result.problems);
    TIFF* out = TIFFOpenExt(file.c_str(), "w", options);
    for (size_t i = 0; out != nullptr && i < streams.size(); ++i) {
        TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(inputs[i].size()));
        TIFFSetField(out, TIFFTAG_IMAGELENGTH, uint32_t{1});
        TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, uint32_t{1});
        std::vector<uint8_t> stream = streams[i];
        TIFFWriteRawStrip(out, 0, stream.data(), static_cast<tmsize_t>(stream.size()));
        TIFFWriteDirectory(out);
    }
    if (out != nullptr) {
        TIFFClose(out);
    }
    TIFF* in = TIFFOpenExt(file.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (in == nullptr) {
        result.problems += "cannot reopen\n";
        return result;
    }
    do {
        uint32_t width = 0;
        TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &width);
        std::vector<uint8_t> bytes(width);
        const tmsize_t got =
            TIFFReadEncodedStrip(in, 0, bytes.data(), static_cast<tmsize_t>(bytes.size()));
        bytes.resize(got < 0 ? 0 : static_cast<size_t>(got));
        result.outputs.push_back(std::move(bytes));
    } while (TIFFReadDirectory(in) == 1);
    TIFFClose(in);
    return result;
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    uint32_t state = seed | 1;
    for (uint8_t& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

std::vector<uint8_t> PageBytes(const PageBitmap& page) {
    return std::vector<uint8_t>(page.data(), page.data() + page.byteSize());
}

// Encodes every input, decodes all of them with libtiff and compares.
void ExpectRoundTrips(const std::vector<std::vector<uint8_t>>& inputs) {
    ScratchDir dir;
    LzwEncoder encoder;
    ASSERT_TRUE(encoder.IsReady());
    std::vector<std::vector<uint8_t>> streams;
    for (const auto& input : inputs) {
        streams.push_back(Encode(encoder, input));
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::vector<uint8_t> strict;
        ASSERT_EQ(StrictDecode(streams[i], strict), "")
            << "stream " << i << " of " << inputs[i].size() << " bytes";
        ASSERT_EQ(strict, inputs[i]) << "stream " << i;
    }
    const Decoded decoded = DecodeWithLibtiff(dir.File("streams.tif"), inputs, streams);
    EXPECT_EQ(decoded.problems, "");
    ASSERT_EQ(decoded.outputs.size(), inputs.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        ASSERT_EQ(decoded.outputs[i], inputs[i])
            << "stream " << i << " of " << inputs[i].size() << " bytes";
    }
}

TEST(LzwEncoder, RoundTripsTypicalContentThroughLibtiff) {
    std::vector<std::vector<uint8_t>> inputs;
    inputs.push_back(RandomBytes(300 * 1024, 7));  // dozens of table resets
    inputs.push_back(std::vector<uint8_t>(1 << 20, 0xA5));
    inputs.push_back(PageBytes(testing::GradientPage(640, 200)));
    inputs.push_back(PageBytes(testing::FlatPage(123, 45, Rgb{250, 0, 3})));
    // Short runs of a few values: many long strings, many resets.
    std::vector<uint8_t> runs(500 * 1024);
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i] = static_cast<uint8_t>((i / 7) % 5 * 40 + (i % 3));
    }
    inputs.push_back(std::move(runs));
    ExpectRoundTrips(inputs);
}

TEST(LzwEncoder, RoundTripsRealPhotoBytes) {
    const auto photo = testing::PhotoPage("exif-orientation/Landscape_1.jpg");
    if (!photo) {
        GTEST_SKIP() << "corpus photo not available";
    }
    const std::vector<uint8_t> bytes = PageBytes(*photo);
    // Whole photo, and strips of it of the sizes the writer uses.
    std::vector<std::vector<uint8_t>> inputs{bytes};
    for (size_t start = 0; start + 128 * 1024 <= bytes.size(); start += 512 * 1024) {
        inputs.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                            bytes.begin() + static_cast<std::ptrdiff_t>(start + 128 * 1024));
    }
    ExpectRoundTrips(inputs);
}

TEST(LzwEncoder, RoundTripsEveryLengthAcrossCodeWidthAndTableBoundaries) {
    // With random bytes almost every byte ends a code, so as the length grows by one the
    // last code moves through every table position: the 9/10/11/12-bit switches, the
    // reset at 4094 and the same positions again after a reset.
    std::vector<std::vector<uint8_t>> inputs;
    const std::vector<uint8_t> random = RandomBytes(8400, 99);
    for (size_t length = 1; length <= random.size(); length += (length < 4400 ? 1 : 3)) {
        inputs.emplace_back(random.begin(), random.begin() + static_cast<std::ptrdiff_t>(length));
    }
    // Flat runs: each code one byte longer than the one before.
    for (size_t length = 1; length <= 600; ++length) {
        inputs.emplace_back(length, uint8_t{0});
    }
    ExpectRoundTrips(inputs);
}

// Size of the one strip libtiff's own LZW encoder makes of `input`.
uint64_t LibtiffLzwSize(const std::filesystem::path& file, const std::vector<uint8_t>& input) {
    TIFF* out = TIFFOpen(file.c_str(), "w");
    if (out == nullptr) {
        return 0;
    }
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(input.size()));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, uint32_t{1});
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, uint32_t{1});
    std::vector<uint8_t> copy = input;
    TIFFWriteEncodedStrip(out, 0, copy.data(), static_cast<tmsize_t>(copy.size()));
    uint64_t* counts = nullptr;
    uint64_t size = 0;
    if (TIFFGetField(out, TIFFTAG_STRIPBYTECOUNTS, &counts) == 1 && counts != nullptr) {
        size = counts[0];
    }
    TIFFClose(out);
    return size;
}

TEST(LzwEncoder, CompressesAsWellAsLibtiffAndStaysWithinItsBoundOnNoise) {
    ScratchDir dir;
    LzwEncoder encoder;
    ASSERT_TRUE(encoder.IsReady());
    // A working string table makes flat data collapse; a broken one would not.
    const std::vector<uint8_t> flat(1 << 20, 0);
    EXPECT_LT(Encode(encoder, flat).size(), flat.size() / 100);

    // Same algorithm, so about the same size as libtiff's encoder on real content.
    std::vector<std::vector<uint8_t>> samples{PageBytes(testing::GradientPage(1024, 256))};
    if (auto photo = testing::PhotoPage("exif-orientation/Landscape_1.jpg")) {
        samples.push_back(PageBytes(*photo));
    }
    for (const auto& sample : samples) {
        const uint64_t theirs = LibtiffLzwSize(dir.File("libtiff.tif"), sample);
        ASSERT_GT(theirs, 0u);
        const size_t ours = Encode(encoder, sample).size();
        EXPECT_LE(ours, theirs + theirs / 50) << "libtiff: " << theirs;
    }

    // Noise does not compress; it must still fit the promised room.
    const auto noise = RandomBytes(1 << 20, 3);
    const size_t size = Encode(encoder, noise).size();
    EXPECT_GT(size, noise.size());
    EXPECT_LE(size, LzwMaxEncodedSize(noise.size()));
}

TEST(LzwEncoder, EmptyInputIsAValidStream) {
    LzwEncoder encoder;
    std::vector<uint8_t> out(LzwMaxEncodedSize(0));
    const size_t size = encoder.Encode(nullptr, 0, out.data());
    // ClearCode and EndOfInformation, 9 bits each, padded to whole bytes.
    ASSERT_EQ(size, 3u);
    EXPECT_EQ(out[0], 0x80);
    EXPECT_EQ(out[1], 0x40);
    EXPECT_EQ(out[2], 0x40);
}

TEST(LzwEncoder, OneEncoderGivesTheSameStreamEveryTime) {
    // The table is reset between calls: reusing an encoder must not carry state over.
    LzwEncoder reused;
    const auto first = RandomBytes(20000, 5);
    const auto second = PageBytes(testing::GradientPage(300, 30));
    Encode(reused, first);
    const auto again = Encode(reused, second);
    LzwEncoder fresh;
    EXPECT_EQ(again, Encode(fresh, second));
}

}  // namespace
}  // namespace vellumo::imaging
