// vellumo-cli run on real files: what reaches the output.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "cli/CliTestSupport.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// An image whose left half is red and right half blue, to see turns and flips.
bool WriteHalves(const std::string& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return image.save(QString::fromStdString(path));
}

// Colour of a TIFF page's pixel, as 'r', 'g', 'b', 'w' or '?' (loosely, for bicubic edges).
char ColourAt(const std::vector<uint32_t>& rgba, uint32_t width, uint32_t x, uint32_t y) {
    const uint32_t p = rgba[static_cast<size_t>(y) * width + x];
    const int r = static_cast<int>(TIFFGetR(p)), g = static_cast<int>(TIFFGetG(p)),
              b = static_cast<int>(TIFFGetB(p));
    if (r > 200 && g < 60 && b < 60)
        return 'r';
    if (r < 60 && g > 200 && b < 60)
        return 'g';
    if (r < 60 && g < 60 && b > 200)
        return 'b';
    if (r > 200 && g > 200 && b > 200)
        return 'w';
    return '?';
}

// The four quadrant centres of a page: top-left, top-right, bottom-left, bottom-right.
std::string Quadrants(const std::string& tiff, int page) {
    uint32_t w = 0, h = 0;
    const auto rgba = ReadTiffRgba(tiff, page, w, h);
    if (rgba.empty()) {
        return "unreadable";
    }
    return {ColourAt(rgba, w, w / 4, h / 4), ColourAt(rgba, w, 3 * w / 4, h / 4),
            ColourAt(rgba, w, w / 4, 3 * h / 4), ColourAt(rgba, w, 3 * w / 4, 3 * h / 4)};
}

// ---- Pages and their sizes ----

TEST(CliOutput, SamplePhotosBecomeOnePagePerFrameInOrder) {
    if (!SamplesPresent()) {
        GTEST_SKIP() << "sample photos absent";
    }
    TempFolder folder;
    const std::string out = folder / "output.tif";
    const auto r = Cli({Sample("Landscape_1.jpg"), Sample("animated_loop.gif"),
                        Sample("Portrait_1.jpg"), Sample("zackthecat.tif"), "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 7 pages to " + out + "\n");
    // Not a terminal: one plain progress line per page.
    EXPECT_THAT(r.err, HasSubstr("page 1 of 7: " + Sample("Landscape_1.jpg")));
    EXPECT_THAT(r.err, HasSubstr("page 7 of 7: " + Sample("zackthecat.tif")));
    EXPECT_THAT(TiffSizes(out), ElementsAre("1800x1200", "100x100", "100x100", "100x100", "100x100",
                                            "1200x1800", "234x213"));
    for (const auto& page : ReadTiffPages(out)) {
        EXPECT_EQ(page.samplesPerPixel, 3);
        EXPECT_EQ(page.bitsPerSample, 8);
        EXPECT_EQ(page.compression, COMPRESSION_LZW);
    }
}

TEST(CliOutput, SizeOptionsDropFractions) {
    TempFolder folder;
    const std::string wide = folder / "wide.png";
    const std::string tall = folder / "tall.png";
    const std::string odd = folder / "odd.png";
    ASSERT_TRUE(WriteImage(wide, 300, 200, Qt::red));
    ASSERT_TRUE(WriteImage(tall, 200, 300, Qt::green));
    ASSERT_TRUE(WriteImage(odd, 301, 201, Qt::blue));
    const std::string out = folder / "o.tif";
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> sizes;
    };
    const Case cases[] = {
        {{"--width", "100"}, {"100x66", "100x150", "100x66"}},
        {{"--height", "50"}, {"75x50", "33x50", "74x50"}},
        {{"--size", "64x48"}, {"64x48", "64x48", "64x48"}},
        {{"--stretch", "0.5,0.25"}, {"150x50", "100x75", "150x50"}},
        {{}, {"300x200", "200x300", "301x201"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "original" : c.options[0]);
        std::vector<std::string> args = {wide, tall, odd, "-y", "-q", "-o", out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = Cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(TiffSizes(out), c.sizes);
    }
}

TEST(CliOutput, RotationSwapsSidesAndTurnsClockwiseThenFlips) {
    TempFolder folder;
    const std::string halves = folder / "halves.png";
    ASSERT_TRUE(WriteHalves(halves, 200, 100));
    const std::string out = folder / "o.tif";
    struct Case {
        std::vector<std::string> options;
        std::string size;
        std::string quadrants;  // TL TR BL BR
    };
    const Case cases[] = {
        {{}, "200x100", "rbrb"},
        {{"--rotate", "90"}, "100x200", "rrbb"},
        {{"--rotate", "180"}, "200x100", "brbr"},
        {{"--rotate", "270"}, "100x200", "bbrr"},
        {{"--flip", "horizontal"}, "200x100", "brbr"},
        {{"--rotate", "90", "--flip", "v"}, "100x200", "bbrr"},
        {{"--rotate", "90", "--width", "50"}, "25x50", "rrbb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.empty() ? "none" : c.options[0] + " " + c.options[1]);
        std::vector<std::string> args = {halves, "-y", "-q", "-o", out};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = Cli(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_THAT(TiffSizes(out), ElementsAre(c.size));
        EXPECT_EQ(Quadrants(out, 0), c.quadrants);
    }
}

TEST(CliOutput, MultiFrameInputsKeepEveryFrameWithItsSize) {
    TempFolder folder;
    const std::string four = folder / "four.tif";
    ASSERT_TRUE(WriteMultiPageTiff(
        four,
        {{40, 30, 255, 0, 0}, {50, 20, 0, 255, 0}, {10, 60, 0, 0, 255}, {7, 7, 255, 255, 255}}));
    const std::string out = folder / "o.tif";
    const auto r = Cli({four, four, "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(TiffSizes(out),
                ElementsAre("40x30", "50x20", "10x60", "7x7", "40x30", "50x20", "10x60", "7x7"));
    EXPECT_EQ(Quadrants(out, 1), "gggg");
    EXPECT_EQ(Quadrants(out, 6), "bbbb");
}

TEST(CliOutput, AutoOrientTurnsPhotosUprightAndIgnoresInvalidOrientations) {
    const std::string dir = std::string(VELLUMO_CORPORA_DIR) + "/exif-orientation/";
    if (!fs::exists(dir + "Landscape_6.jpg")) {
        GTEST_SKIP() << "exif-orientation corpus absent";
    }
    TempFolder folder;
    const std::string out = folder / "o.tif";
    const std::vector<std::string> inputs = {dir + "Landscape_1.jpg", dir + "Landscape_6.jpg",
                                             dir + "Landscape_3.jpg", dir + "Landscape_0.jpg"};
    std::vector<std::string> args = inputs;
    args.insert(args.end(), {"-q", "-o", out});
    ASSERT_EQ(Cli(args).exitCode, 0);
    EXPECT_THAT(TiffSizes(out), ElementsAre("1800x1200", "1200x1800", "1800x1200", "1800x1200"));

    args.push_back("--auto-orient");
    args.push_back("-y");
    const auto r = Cli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(TiffSizes(out), ElementsAre("1800x1200", "1800x1200", "1800x1200", "1800x1200"));
    // Upright, every page shows the same picture as the one stored upright.
    uint32_t w = 0, h = 0;
    const auto upright = ReadTiffRgba(out, 0, w, h);
    ASSERT_FALSE(upright.empty());
    for (int page = 1; page < 4; ++page) {
        SCOPED_TRACE(page);
        uint32_t pw = 0, ph = 0;
        const auto pixels = ReadTiffRgba(out, page, pw, ph);
        ASSERT_EQ(pixels.size(), upright.size());
        double difference = 0;
        for (size_t i = 0; i < pixels.size(); i += 7) {
            difference += std::abs(static_cast<int>(TIFFGetG(pixels[i])) -
                                   static_cast<int>(TIFFGetG(upright[i])));
        }
        EXPECT_LT(difference / static_cast<double>(pixels.size() / 7), 12.0);
    }
}

// ---- Other formats ----

TEST(CliOutput, JpegQualityIsHonoured) {
    if (!SamplesPresent()) {
        GTEST_SKIP() << "sample photos absent";
    }
    TempFolder folder;
    const std::string low = folder / "low.jpg";
    const std::string high = folder / "high.jpg";
    ASSERT_EQ(Cli({Sample("Landscape_1.jpg"), "--quality", "10", "-o", low}).exitCode, 0);
    ASSERT_EQ(Cli({Sample("Landscape_1.jpg"), "--quality", "95", "-o", high}).exitCode, 0);
    const QImage lowImage = LoadImage(low);
    const QImage highImage = LoadImage(high);
    EXPECT_EQ(lowImage.size(), QSize(1800, 1200));
    EXPECT_EQ(highImage.size(), QSize(1800, 1200));
    EXPECT_LT(fs::file_size(low) * 3, fs::file_size(high));
}

TEST(CliOutput, BmpBitCountsAndPaletteSizes) {
    if (!SamplesPresent()) {
        GTEST_SKIP() << "sample photos absent";
    }
    TempFolder folder;
    const struct {
        const char* bits;
        uint16_t bitCount;
        uint32_t maxColours;
    } cases[] = {{"1", 1, 2}, {"4", 4, 16}, {"8", 8, 256}, {"24", 24, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        const std::string out = folder / (std::string("p") + c.bits + ".bmp");
        const auto r = Cli({Sample("zackthecat.tif"), "--bmp-bits", c.bits, "-o", out});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const BmpHeader header = ReadBmpHeader(out);
        EXPECT_EQ(header.bitCount, c.bitCount);
        EXPECT_EQ(header.width, 234);
        EXPECT_EQ(std::abs(header.height), 213);
        EXPECT_LE(header.colorsUsed, c.maxColours);
        const QImage image = LoadImage(out);
        EXPECT_EQ(image.size(), QSize(234, 213));
        if (c.maxColours != 0) {
            EXPECT_GE(image.colorCount(), 1);
            EXPECT_LE(image.colorCount(), static_cast<int>(c.maxColours));
        }
    }
}

TEST(CliOutput, SingleImageFormatsNumberTheirPages) {
    TempFolder folder;
    std::vector<std::string> inputs;
    for (int i = 0; i < 10; ++i) {
        inputs.push_back(folder / ("in" + std::to_string(i) + ".png"));
        ASSERT_TRUE(WriteImage(inputs.back(), 10 + i, 5, Qt::red));
    }
    std::vector<std::string> args = inputs;
    args.insert(args.end(), {"-o", folder / "album.png"});
    const auto r = Cli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(fs::exists(folder / "album.png"));
    for (int i = 1; i <= 10; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "album-%02d.png", i);
        SCOPED_TRACE(name);
        EXPECT_THAT(r.out, HasSubstr(name));
        EXPECT_EQ(LoadImage(folder / name).size(), QSize(9 + i, 5));
    }

    const auto one = Cli({inputs[3], "-o", folder / "single.png"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(LoadImage(folder / "single.png").size(), QSize(13, 5));
    EXPECT_FALSE(fs::exists(folder / "single-1.png"));
}

TEST(CliOutput, TiffCompressionChoices) {
    TempFolder folder;
    const std::string in = folder / "in.png";
    ASSERT_TRUE(WriteImage(in, 32, 24, Qt::green));
    const struct {
        const char* name;
        uint16_t tag;
    } cases[] = {{"none", COMPRESSION_NONE},
                 {"lzw", COMPRESSION_LZW},
                 {"deflate", COMPRESSION_ADOBE_DEFLATE},
                 {"packbits", COMPRESSION_PACKBITS},
                 {"jpeg", COMPRESSION_JPEG}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = folder / (std::string(c.name) + ".tif");
        ASSERT_EQ(Cli({in, "--compression", c.name, "-o", out}).exitCode, 0);
        const auto pages = ReadTiffPages(out);
        ASSERT_EQ(pages.size(), 1u);
        // Deflate may be written under either of its two tag values.
        if (c.tag == COMPRESSION_ADOBE_DEFLATE) {
            EXPECT_TRUE(pages[0].compression == COMPRESSION_ADOBE_DEFLATE ||
                        pages[0].compression == COMPRESSION_DEFLATE);
        } else {
            EXPECT_EQ(pages[0].compression, c.tag);
        }
        EXPECT_EQ(Quadrants(out, 0), "gggg");
    }
}

// ---- --info ----

TEST(CliInfo, ShowsFramesSizesAndPixelHashesThatMatchLosslessOutput) {
    TempFolder folder;
    const std::string two = folder / "two.tif";
    ASSERT_TRUE(WriteMultiPageTiff(two, {{40, 30, 255, 0, 0}, {8, 9, 0, 0, 255}}));
    const auto info = Cli({"--info", two});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr(two + ": TIFF\n"));
    EXPECT_THAT(info.out, HasSubstr("dimension page: 2 frames"));
    EXPECT_TRUE(
        std::regex_search(info.out, std::regex("page 0: 40x30, [0-9.]+ dpi, sha256 [0-9a-f]{64}")));
    EXPECT_TRUE(
        std::regex_search(info.out, std::regex("page 1: 8x9, [0-9.]+ dpi, sha256 [0-9a-f]{64}")));

    // Converting at original size into an LZW TIFF keeps every pixel.
    const std::string png = folder / "halves.png";
    ASSERT_TRUE(WriteHalves(png, 31, 17));
    const std::string out = folder / "out.tif";
    ASSERT_EQ(Cli({png, "-o", out}).exitCode, 0);
    const auto hashOf = [](const std::string& text) {
        std::smatch m;
        return std::regex_search(text, m, std::regex("sha256 ([0-9a-f]{64})")) ? m[1].str()
                                                                               : std::string();
    };
    const std::string inputHash = hashOf(Cli({"--info", png}).out);
    EXPECT_FALSE(inputHash.empty());
    EXPECT_EQ(hashOf(Cli({"--info", out}).out), inputHash);
    // Turning changes the pixels, and so the hash.
    ASSERT_EQ(Cli({png, "-y", "--rotate", "180", "-o", out}).exitCode, 0);
    EXPECT_NE(hashOf(Cli({"--info", out}).out), inputHash);
}

TEST(CliInfo, UnreadableFilesFailWithExitOne) {
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder / "junk.jpg", "not a jpeg"));
    const auto r = Cli({"--info", folder / "junk.jpg", folder / "none.png"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("junk.jpg"));
    EXPECT_THAT(r.err, HasSubstr("none.png"));
}

// ---- --list ----

TEST(CliList, ShowsEveryPageWithItsSizeAndWritesNothing) {
    TempFolder folder;
    const std::string four = folder / "four.tif";
    ASSERT_TRUE(WriteMultiPageTiff(four, {{40, 30, 1, 1, 1}, {50, 20, 1, 1, 1}}));
    const auto r =
        Cli({"--list", four, folder / "missing.png", "--width", "100", "--rotate", "90"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "1\t" + four + "\tframe 1 of 2\t40x30\t75x100\n" + "2\t" + four +
                         "\tframe 2 of 2\t50x20\t40x100\n");
    EXPECT_THAT(r.err, HasSubstr("missing.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// A name can hold a newline or an escape sequence: each page stays one line, and the
// terminal gets the escaped form, in the list and in the progress lines alike.
TEST(CliList, ControlCharactersInNamesAreEscaped) {
    TempFolder folder;
    const std::string odd = folder / "two\nlines\x1b]0;title\a.tif";
    ASSERT_TRUE(WriteMultiPageTiff(odd, {{4, 3, 1, 1, 1}, {5, 2, 1, 1, 1}}));
    const std::string shown = folder / "two\\nlines\\x1b]0;title\\x07.tif";
    const auto list = Cli({"--list", odd});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "1\t" + shown + "\tframe 1 of 2\t4x3\t4x3\n2\t" + shown +
                            "\tframe 2 of 2\t5x2\t5x2\n");
    const auto run = Cli({odd, "-o", folder / "out.tif"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("page 1 of 2: " + shown + "\n"));
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
}

// ---- Help and version ----

TEST(CliCommands, HelpVersionAndUsageErrors) {
    const auto help = Cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("Usage: vellumo-cli [options] INPUT... -o OUTPUT"));
    const auto version = Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(
        std::regex_match(version.out, std::regex("vellumo-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")));

    const auto none = Cli({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_THAT(none.err, HasSubstr("Try 'vellumo-cli --help'"));
    const auto angle = Cli({"a.jpg", "--rotate", "45", "-o", "x.tif"});
    EXPECT_EQ(angle.exitCode, 2);
    EXPECT_THAT(angle.err, HasSubstr("invalid value '45' for --rotate"));
}

}  // namespace
}  // namespace vellumo::test
