// Damaged and hostile input: cut-off files, headers that claim enormous sizes, and the
// deliberately broken files of the public suites. Each must fail cleanly and quickly
// (or, where a format allows it, give a partial picture); none may crash, hang or
// allocate what the header claims.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QGuiApplication>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "ReadTestSupport.h"
#include "imaging/ApngFrames.h"
#include "imaging/ImageFile.h"
#include "imaging/TgaDecoder.h"
#include "imaging/VectorDecoder.h"
#include "support/CorpusManifest.h"

namespace vellumo::imaging {
namespace {

using test::Corpora;

struct Outcome {
    bool valid = false;
    uint32_t frames = 0;
    bool drawn = false;  // frame 0 drawn onto a page
};

// The process's peak resident memory so far, in megabytes.
long PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Opens the file and draws its first frames (at most 3) onto a small page.
Outcome Try(const std::filesystem::path& path) {
    Outcome out;
    ImageFile image = ImageFile::Open(path);
    out.valid = image.IsValid();
    if (out.valid) {
        const auto dims = image.FrameDimensions();
        out.frames = dims.empty() ? 0 : dims[0].count;
        for (uint32_t i = 0; i < std::min<uint32_t>(out.frames, 3); ++i) {
            if (!image.SelectActiveFrame(dims[0].dimension, static_cast<int32_t>(i))) {
                continue;
            }
            const int32_t w = std::clamp(image.Width(), 1, 256);
            const int32_t h = std::clamp(image.Height(), 1, 256);
            PageBitmap page = test::WhitePage(w, h);
            const bool drawn = image.DrawActiveFrame(page, {0, 0, w, h});
            if (i == 0) {
                out.drawn = drawn;
            }
        }
    }
    return out;
}

// Cut points: the first bytes, then fractions of the whole file.
std::vector<size_t> CutPoints(size_t size) {
    std::vector<size_t> cuts = {0, 1, 4, 12, 50, 200};
    for (const int percent : {10, 30, 50, 70, 90, 99}) {
        cuts.push_back(size * static_cast<size_t>(percent) / 100);
    }
    cuts.erase(std::remove_if(cuts.begin(), cuts.end(), [&](size_t c) { return c >= size; }),
               cuts.end());
    return cuts;
}

TEST(TruncatedFiles, FailCleanlyAndQuickly) {
    const struct {
        std::filesystem::path path;
        bool mustFailBelow90;  // image data that ends early is an error, not a grey page
    } sources[] = {
        {Corpora() / "exif-orientation" / "Landscape_1.jpg", true},
        {Corpora() / "jpegsuite" / "jpeg" / "progressive_huffman" / "32x32x8_ycbcr.jpg", true},
        {Corpora() / "pngsuite" / "png" / "basi2c16.png", true},
        {Corpora() / "libtiff-pics" / "zackthecat.tif", true},
        {Corpora() / "libtiff" / "test-images" / "rgb-3c-8b.tiff", true},
        {Corpora() / "gif-test-suite" / "gifs" / "animated_transparent_loop.gif", false},
        {Corpora() / "bmpsuite" / "g" / "pal8rle.bmp", false},
        {Corpora() / "mozilla-ico" / "mozilla" / "ico-mixed" / "mixed-bmp-png.ico", false},
    };
    test::ScratchDir dir;
    int tried = 0;
    for (const auto& source : sources) {
        if (!std::filesystem::exists(source.path)) {
            continue;
        }
        const std::vector<uint8_t> bytes = test::ReadBytes(source.path);
        const Outcome whole = Try(source.path);
        ASSERT_TRUE(whole.drawn) << source.path;
        for (const size_t cut : CutPoints(bytes.size())) {
            const auto copy =
                dir / ("cut-" + std::to_string(cut) + source.path.extension().string());
            test::WriteBytes(copy, {bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut)});
            const Outcome o = Try(copy);
            const std::string what =
                source.path.filename().string() + " cut at " + std::to_string(cut);
            EXPECT_LE(o.frames, whole.frames) << what;
            if (source.mustFailBelow90 && cut < bytes.size() * 9 / 10) {
                EXPECT_FALSE(o.drawn) << what;
            }
            ++tried;
        }
    }
    if (tried == 0) {
        GTEST_SKIP() << "corpora not available";
    }
}

// ---- headers claiming 100000 x 100000 pixels (30 GB of RGB) ----

void Put32BE(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) {
        b.push_back(static_cast<uint8_t>(v >> s));
    }
}
void Put32LE(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 0; s <= 24; s += 8) {
        b.push_back(static_cast<uint8_t>(v >> s));
    }
}
void Put16LE(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::vector<uint8_t> HugePng() {
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Put32BE(b, 13);
    const size_t type = b.size();
    b.insert(b.end(), {'I', 'H', 'D', 'R'});
    Put32BE(b, 100000);
    Put32BE(b, 100000);
    b.insert(b.end(), {8, 2, 0, 0, 0});
    Put32BE(b, Crc32(b.data() + type, 17));
    Put32BE(b, 0);
    b.insert(b.end(), {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    return b;
}

std::vector<uint8_t> HugeBmp() {
    std::vector<uint8_t> b = {'B', 'M'};
    Put32LE(b, 54 + 16);
    Put32LE(b, 0);
    Put32LE(b, 54);
    Put32LE(b, 40);
    Put32LE(b, 100000);
    Put32LE(b, 100000);
    Put16LE(b, 1);
    Put16LE(b, 24);
    for (int i = 0; i < 6; ++i) {
        Put32LE(b, 0);
    }
    b.resize(b.size() + 16, 0x55);
    return b;
}

std::vector<uint8_t> HugeGif() {
    std::vector<uint8_t> b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16LE(b, 65535);
    Put16LE(b, 65535);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // two-colour table
    b.push_back(0x2C);
    for (const uint16_t v : {0, 0, 65535, 65535}) {
        Put16LE(b, v);
    }
    b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0, 0x3B});
    return b;
}

// One grey strip of `w` x `h` pixels of `samples` samples, uncompressed, its data
// (`dataBytes` of them) after the directory.
std::vector<uint8_t> GreyTiff(uint32_t w, uint32_t h, uint16_t samples, uint32_t dataBytes) {
    std::vector<uint8_t> b = {'I', 'I', 42, 0};
    Put32LE(b, 8);
    const uint16_t entries = 8;
    Put16LE(b, entries);
    const auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        Put16LE(b, tag);
        Put16LE(b, type);
        Put32LE(b, 1);
        Put32LE(b, value);
    };
    entry(256, 4, w);          // width
    entry(257, 4, h);          // length
    entry(258, 3, 8);          // bits per sample
    entry(262, 3, 1);          // grey, black is zero
    entry(273, 4, 200);        // strip offset
    entry(277, 3, samples);    // samples per pixel
    entry(278, 4, h);          // rows per strip
    entry(279, 4, dataBytes);  // strip byte count
    Put32LE(b, 0);
    b.resize(200 + size_t{dataBytes}, 0x80);
    return b;
}

// A real 32 x 32 JPEG whose frame header is patched to claim 65000 x 65000.
std::vector<uint8_t> HugeJpeg() {
    const auto path = Corpora() / "jpegsuite" / "jpeg" / "baseline" / "32x32x8_ycbcr.jpg";
    std::vector<uint8_t> b = test::ReadBytes(path);
    for (size_t i = 0; i + 8 < b.size(); ++i) {
        if (b[i] == 0xFF && b[i + 1] == 0xC0) {
            b[i + 5] = 0xFD;  // height 0xFDE8
            b[i + 6] = 0xE8;
            b[i + 7] = 0xFD;  // width
            b[i + 8] = 0xE8;
            return b;
        }
    }
    return {};
}

TEST(HugeHeaders, AreRefusedAtOpenWithoutAllocating) {
    test::ScratchDir dir;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"huge.png", HugePng()},
        {"huge.bmp", HugeBmp()},
        {"huge.gif", HugeGif()},
        {"huge.tif", GreyTiff(100000, 100000, 1, 64)}};
    // A small page whose samples per pixel would size a 171 GB buffer.
    files.emplace_back("samples.tif", GreyTiff(40000, 1, 65535, 64));
    const std::string pnm = "P6\n100000 100000\n255\n";
    files.emplace_back("huge.ppm", std::vector<uint8_t>(pnm.begin(), pnm.end()));
    if (std::filesystem::exists(Corpora() / "jpegsuite")) {
        files.emplace_back("huge.jpg", HugeJpeg());
        ASSERT_FALSE(files.back().second.empty());
    }
    // Refused from the header alone: the peak memory of the process barely moves (a
    // decoder that filled even a tenth of such an image would add gigabytes).
    const long before = PeakMegabytes();
    for (const auto& [name, bytes] : files) {
        test::WriteBytes(dir / name, bytes);
        const Outcome o = Try(dir / name);
        EXPECT_FALSE(o.valid) << name;
        EXPECT_LT(PeakMegabytes() - before, 64) << name;
    }
}

// A file cut short by another program while we read it: the photo fails with a
// message; the process lives (a mapped input would end it with a bus error).
TEST(ShrinkingInput, BigUncompressedTiffCutDuringTheReadFailsThePhotoOnly) {
    test::ScratchDir dir;
    const uint32_t side = 3000;
    test::WriteBytes(dir / "big.tif", GreyTiff(side, side, 1, side * side));
    ImageFile image = ImageFile::Open(dir / "big.tif");
    ASSERT_TRUE(image.IsValid()) << image.Error();
    std::filesystem::resize_file(dir / "big.tif", 4096);
    PageBitmap page = test::WhitePage(64, 64);
    EXPECT_FALSE(image.DrawActiveFrame(page, {0, 0, 64, 64}));
    EXPECT_FALSE(image.Error().empty());
}

// Inputs the fuzzer once broke the frame indexes with: every frame listed stays inside
// the canvas and the bytes.
TEST(FrameIndexCrashers, ListOnlyFramesInsideTheCanvas) {
    const auto folder = std::filesystem::path(VELLUMO_TEST_DATA_DIR) / "crashers" / "frame_indexes";
    VELLUMO_REQUIRE_FILE(folder);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::vector<uint8_t> bytes = test::ReadBytes(entry.path());
        const auto index = IndexApng(bytes);
        for (const ApngFrame& f : index ? index->frames : std::vector<ApngFrame>{}) {
            EXPECT_LE(f.x + uint64_t{f.width}, index->width) << entry.path();
            EXPECT_LE(f.y + uint64_t{f.height}, index->height) << entry.path();
            for (const ByteRange& r : f.data) {
                EXPECT_LE(r.offset + r.length, bytes.size()) << entry.path();
            }
        }
    }
}

// Inputs the fuzzer found harmful, replayed through their decoder. Metafiles that harmed
// the libraries playing them (an empty EMF, a WMF whose largest record claims gigabytes,
// one whose bitmap claims billions of pixels or colours) must be refused with a reason
// before the library sees them; the others may also decode, to a picture of the frame's
// size. Qt has drawn text first, as in the window: an EMF whose text made libemf2svg
// finalise fontconfig under Qt's feet aborted the process.
TEST(DecoderCrashers, AreRefusedWithAReasonOrDecodeWhole) {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "imaging_hostile_tests";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    const auto drawing = test::Corpora() / "modern" / "emf" / "libemf2svg_test-174.emf";
    if (std::string error; std::filesystem::exists(drawing)) {
        const std::unique_ptr<Decoder> decoder = OpenEmf(drawing, error);
        ASSERT_NE(decoder, nullptr) << error;
        EXPECT_FALSE(decoder->Decode(QSize(), error).isNull()) << error;
    }
    const auto root = std::filesystem::path(VELLUMO_TEST_DATA_DIR) / "crashers";
    const struct {
        const char* folder;
        std::unique_ptr<Decoder> (*open)(const std::filesystem::path&, std::string&);
        bool mustRefuse;
    } targets[] = {{"emf_decode", OpenEmf, true},
                   {"wmf_decode", OpenWmf, true},
                   {"tga_decode", OpenTga, false}};
    int replayed = 0;
    for (const auto& t : targets) {
        for (const auto& entry : std::filesystem::directory_iterator(root / t.folder)) {
            SCOPED_TRACE(entry.path().string());
            ++replayed;
            std::string error;
            const std::unique_ptr<Decoder> decoder = t.open(entry.path(), error);
            if (t.mustRefuse || decoder == nullptr) {
                EXPECT_EQ(decoder, nullptr);
                EXPECT_FALSE(error.empty());
                continue;
            }
            const FrameInfo frame = decoder->ActiveFrame();
            const QImage image = decoder->Decode(QSize(), error);
            EXPECT_TRUE(image.isNull() ? !error.empty()
                                       : image.size() == QSize(frame.width, frame.height));
        }
    }
    EXPECT_GE(replayed, 4);
}

// ---- the suites' deliberately broken files ----

TEST(BrokenSuiteFiles, AreNotDrawnWhereTheyCannotBeDecoded) {
    const auto root = Corpora();
    VELLUMO_REQUIRE_FILE(root / "pngsuite");
    std::vector<std::filesystem::path> mustFail = {
        root / "bmpsuite" / "b" / "reallybig.bmp", root / "bmpsuite" / "b" / "badwidth.bmp",
        root / "bmpsuite" / "b" / "badbitcount.bmp",
        root / "mozilla-ico" / "mozilla" / "ico-bmp-corrupted" / "invalid-bpp.ico"};
    for (const auto& entry : std::filesystem::directory_iterator(root / "pngsuite" / "png")) {
        if (entry.path().filename().string()[0] == 'x') {
            mustFail.push_back(entry.path());  // corrupt signature, CRC, header, chunks
        }
    }
    for (const auto& path : mustFail) {
        const Outcome o = Try(path);
        EXPECT_FALSE(o.drawn) << path;
    }
    EXPECT_GE(mustFail.size(), 18u);
}

// Every image file of every suite, as listed in the manifest: nothing crashes or
// hangs, and each well-formed file of a format we read is drawn (and each file we
// refuse on purpose is not).
TEST(WholeCorpus, EveryFileIsHandledAndEveryValidOneOfOurFormatsDraws) {
    const auto manifest = test::ReadCorpusManifest(Corpora() / "MANIFEST.tsv");
    if (manifest.empty()) {
        GTEST_SKIP() << "corpora not available";
    }
    std::vector<std::string> validNotDrawn;
    for (const test::CorpusFile& f : manifest) {
        // A file that hangs is left to the test's own time limit.
        const Outcome o = Try(Corpora() / f.suite / f.path);
        const bool refused = test::RefusedByChoice().count(f.name()) > 0;
        if (f.expect == "valid" && test::IsOurFormat(f.format) && o.drawn == refused) {
            validNotDrawn.push_back(f.name() + (refused ? " (drawn, expected refused)" : ""));
        }
    }
    EXPECT_GT(manifest.size(), 1400u);
    for (const auto& f : validNotDrawn) {
        std::cout << "valid but not drawn as expected: " << f << "\n";
    }
    EXPECT_TRUE(validNotDrawn.empty());
}

}  // namespace
}  // namespace vellumo::imaging
