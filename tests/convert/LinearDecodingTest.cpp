// The frames of one file are read through one open decoder, in order: converting a file
// of 4N frames costs about four times a file of N, not sixteen. Measured as a ratio
// inside the test, with one-pixel frames so that decoding is all the work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "ConvertTestFiles.h"
#include "convert/ConversionRun.h"
#include "photolist/AddPhotos.h"
#include "support/RecordingReporter.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

void WriteTiffPages(const std::string& path, int pages) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    for (int i = 0; i < pages; ++i) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 1);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        uint8_t grey = static_cast<uint8_t>(i);
        ASSERT_EQ(TIFFWriteScanline(tif, &grey, 0, 0), 1);
        ASSERT_EQ(TIFFWriteDirectory(tif), 1);
    }
    TIFFClose(tif);
}

// One-pixel frames alternating black and white, each over the one before; each lasts
// 1/100 s so that an encoder keeps them as frames of their own.
void WriteGifFrames(const std::string& path, int frames) {
    std::string b = "GIF89a";
    b += {1, 0, 1, 0, static_cast<char>(0x80), 0, 0, 0, 0, 0, -1, -1, -1};
    for (int i = 0; i < frames; ++i) {
        b += {0x21, static_cast<char>(0xF9), 4, 0, 1, 0, 0, 0};
        b += {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2};
        b += {static_cast<char>(0x44 | ((i % 2) << 3)), 1, 0};  // clear, i % 2, end
    }
    b += ';';
    std::ofstream(path, std::ios::binary) << b;
}

// Processor seconds of this process (other programs on the machine do not count) to
// add the file's frames to a list and convert them into one TIFF on one thread.
double AddAndConvert(const test::TestFolder& folder, const std::string& input, int frames) {
    const std::clock_t start = std::clock();
    photolist::PhotoList list;
    test::RecordingReporter quiet;
    EXPECT_EQ(photolist::AddPhotoFile(input, options::OutputPhotoFormat{}, quiet, list), frames);
    RunSettings settings;
    settings.outputFilePath = folder / ("album-" + std::to_string(frames) + ".tif");
    settings.threads = 1;
    test::RecordingToolkit toolkit;
    const SyncResult result = ConvertAndWait(toolkit, list, settings);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(result.summary.pagesWritten, frames) << input;
    return seconds;
}

TEST(LinearDecoding, FourTimesTheFramesCostAtMostFiveTimesTheTime) {
    test::EnsureGuiApplication();
    test::TestFolder folder;
    // JPEG XL frames cost least: more of them, so that the measure is not lost in noise.
    const struct {
        const char* kind;
        int base;
    } cases[] = {{"tif", 1000}, {"gif", 1000}, {"jxl", 2000}};
    for (const auto& [kind, base] : cases) {
        double seconds[2] = {};
        for (const int scale : {1, 4}) {
            const int frames = base * scale;
            const std::string input =
                folder / ("frames-" + std::to_string(frames) + "." + std::string(kind));
            if (std::string(kind) == "tif") {
                WriteTiffPages(input, frames);
            } else if (std::string(kind) == "gif") {
                WriteGifFrames(input, frames);
            } else {  // an animated JPEG XL made from the GIF
                WriteGifFrames(input + ".gif", frames);
                const std::string command =
                    "cjxl -q 100 '" + input + ".gif' '" + input + "' >/dev/null 2>&1";
                ASSERT_EQ(std::system(command.c_str()), 0) << command;
            }
            // The best of five runs: a busy machine slows a run, not the file's cost.
            double best = AddAndConvert(folder, input, frames);
            for (int run = 1; run < 5; ++run) {
                best = std::min(best, AddAndConvert(folder, input, frames));
            }
            seconds[scale == 4] = best;
        }
        EXPECT_LE(seconds[1], 5 * seconds[0]) << kind << ": " << seconds[0] << " s for " << base
                                              << " frames, " << seconds[1] << " s for " << 4 * base;
    }
}

}  // namespace
}  // namespace vellumo::convert
