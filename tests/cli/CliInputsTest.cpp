// vellumo-cli run on real files: bad inputs, the user's files, folders, Stop and the log.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "cli/CliTestSupport.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string BigEndian(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// A PNG whose header, with a valid checksum, claims 100000 x 100000 pixels.
std::string HugePng() {
    const std::string ihdr =
        "IHDR" + BigEndian(100000) + BigEndian(100000) + std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + BigEndian(13) + ihdr + BigEndian(Crc32(ihdr)) +
           BigEndian(0) + "IEND" + BigEndian(Crc32("IEND"));
}

// Three small flat images a (red), b (green), c (blue) of different widths.
struct ThreeImages {
    TempFolder folder;
    std::string a = folder / "a.png", b = folder / "b.png", c = folder / "c.png";
    ThreeImages() {
        WriteImage(a, 11, 7, Qt::red);
        WriteImage(b, 12, 7, Qt::green);
        WriteImage(c, 13, 7, Qt::blue);
    }
};

// ---- Inputs that give no photo ----

TEST(CliInputs, MissingAndCorruptInputsAreNamedAndTheRunGoesOn) {
    ThreeImages files;
    ASSERT_TRUE(WriteBytes(files.folder / "junk.jpg", "\xFF\xD8\xFF garbage, not a JPEG"));
    ASSERT_TRUE(WriteBytes(files.folder / "huge.png", HugePng()));
    const std::string out = files.folder / "o.tif";

    const auto r = Cli({files.a, files.folder / "missing.png", files.b, files.folder / "junk.jpg",
                        files.folder / "huge.png", files.c, "-o", out});

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("missing.png"));
    EXPECT_THAT(r.err, HasSubstr("junk.jpg"));
    EXPECT_THAT(r.err, HasSubstr("huge.png"));
    EXPECT_THAT(r.err, HasSubstr("3 photos failed"));
    EXPECT_THAT(r.out, HasSubstr("wrote 3 pages"));
    EXPECT_THAT(TiffSizes(out), ElementsAre("11x7", "12x7", "13x7"));
}

TEST(CliInputs, NothingUsableWritesNothingAndExitsTwo) {
    TempFolder folder;
    ASSERT_TRUE(WriteBytes(folder / "junk.png", "junk"));
    const std::string out = folder / "o.tif";
    const auto r = Cli({folder / "junk.png", folder / "missing.jpg", "-o", out});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.err, HasSubstr("nothing written"));
    EXPECT_FALSE(fs::exists(out));
}

// ---- The user's files ----

TEST(CliInputs, ExistingOutputIsNotReplacedWithoutConsent) {
    ThreeImages files;
    const std::string out = files.folder / "album.tif";
    ASSERT_TRUE(WriteBytes(out, "the user's own file, not a TIFF at all"));
    const uint64_t before = FileHash(out);

    // Standard input is no terminal: nobody can answer, so the file stays.
    const auto refused = Cli({files.a, files.b, "-o", out}, "y\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_THAT(refused.err, Not(HasSubstr("Do you want to replace it?")));
    EXPECT_THAT(refused.err, HasSubstr(out + ": exists and was left alone: nobody can answer"));
    EXPECT_THAT(refused.err, HasSubstr("--overwrite"));
    EXPECT_EQ(FileHash(out), before);
    size_t count = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(files.folder.path())) {
        ++count;
    }
    EXPECT_EQ(count, 4u);  // a, b, c and the untouched output: no temporary left behind

    const auto replaced = Cli({files.a, files.b, "-y", "-o", out});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_THAT(TiffSizes(out), ElementsAre("11x7", "12x7"));
}

TEST(CliInputs, OutputThatIsAlsoAnInputIsReadBeforeItIsReplaced) {
    TempFolder folder;
    const std::string album = folder / "album.tif";
    ASSERT_TRUE(WriteMultiPageTiff(album, {{20, 10, 255, 0, 0}, {10, 20, 0, 0, 255}}));
    const std::string extra = folder / "extra.png";
    ASSERT_TRUE(WriteImage(extra, 5, 5, Qt::green));

    const auto r = Cli({album, extra, album, "-y", "-o", album});

    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(TiffSizes(album), ElementsAre("20x10", "10x20", "5x5", "20x10", "10x20"));
    uint32_t w = 0, h = 0;
    const auto last = ReadTiffRgba(album, 4, w, h);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(TIFFGetB(last[0]), 255u);
    EXPECT_EQ(TIFFGetR(last[0]), 0u);
}

TEST(CliInputs, UnwritableOutputFolderWritesNothing) {
    ThreeImages files;
    ASSERT_TRUE(WriteBytes(files.folder / "plain", "a file, not a folder"));
    for (const std::string& out :
         {files.folder / "no/such/folder/o.tif", files.folder / "plain/o.tif"}) {
        SCOPED_TRACE(out);
        const auto r = Cli({files.a, files.b, "-o", out});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_THAT(r.err, HasSubstr("nothing written"));
        EXPECT_THAT(r.out, Not(HasSubstr("wrote")));
        EXPECT_FALSE(fs::exists(out));
    }
}

// ---- Folders ----

TEST(CliInputs, FoldersAreSearchedOnlyWithRecursiveAndThenSorted) {
    TempFolder folder;
    const fs::path root = folder.path() / "photos";
    fs::create_directories(root / "sub");
    ASSERT_TRUE(WriteImage((root / "b.png").string(), 12, 3, Qt::red));
    ASSERT_TRUE(WriteImage((root / "a.PNG").string(), 11, 3, Qt::red));
    ASSERT_TRUE(WriteImage((root / "sub" / "c.bmp").string(), 13, 3, Qt::red));
    ASSERT_TRUE(WriteImage((root / "sub" / "Z.png").string(), 14, 3, Qt::red));
    ASSERT_TRUE(WriteBytes((root / "notes.txt").string(), "not a photo"));
    ASSERT_TRUE(WriteBytes((root / "broken.jpg").string(), "not a photo either"));
    const std::string out = folder / "o.tif";

    const auto withoutR = Cli({root.string(), "-o", out});
    EXPECT_EQ(withoutR.exitCode, 2);
    EXPECT_THAT(withoutR.err, HasSubstr("-r"));
    EXPECT_FALSE(fs::exists(out));

    const auto breadthFirst = Cli({"-r", root.string(), "-o", out});
    EXPECT_EQ(breadthFirst.exitCode, 0) << breadthFirst.err;
    EXPECT_THAT(TiffSizes(out), ElementsAre("11x3", "12x3", "14x3", "13x3"));

    // Byte order: upper case before lower case, whatever the folder.
    const auto byName = Cli({"-r", root.string(), "--sort", "name", "-y", "-o", out});
    EXPECT_EQ(byName.exitCode, 0) << byName.err;
    EXPECT_THAT(TiffSizes(out), ElementsAre("14x3", "11x3", "12x3", "13x3"));
    const auto byNameDesc = Cli({"-r", root.string(), "--sort", "name-desc", "-y", "-o", out});
    EXPECT_EQ(byNameDesc.exitCode, 0) << byNameDesc.err;
    EXPECT_THAT(TiffSizes(out), ElementsAre("13x3", "12x3", "11x3", "14x3"));

    const auto missingFolder = Cli({"-r", (folder / "nowhere/"), "-y", "-o", out});
    EXPECT_EQ(missingFolder.exitCode, 2);
    EXPECT_THAT(missingFolder.err,
                HasSubstr("Vellumo: " + (folder / "nowhere") + "/ occurs error!"));
    const auto missingFile = Cli({"-r", (folder / "nowhere"), "-y", "-o", out});
    EXPECT_EQ(missingFile.exitCode, 2);
    EXPECT_THAT(missingFile.err, HasSubstr((folder / "nowhere") + ": No such file"));
}

TEST(CliInputs, TimeSortOrdersByModificationTime) {
    ThreeImages files;
    const auto setTime = [](const std::string& path, int64_t seconds) {
        fs::last_write_time(
            path, fs::file_time_type::clock::now() - std::chrono::seconds(1000000 - seconds));
    };
    setTime(files.a, 300);
    setTime(files.b, 100);
    setTime(files.c, 200);
    const std::string out = files.folder / "o.tif";
    ASSERT_EQ(Cli({files.a, files.b, files.c, "--sort", "time", "-o", out}).exitCode, 0);
    EXPECT_THAT(TiffSizes(out), ElementsAre("12x7", "13x7", "11x7"));
    ASSERT_EQ(Cli({files.a, files.b, files.c, "--sort", "time-desc", "-y", "-o", out}).exitCode, 0);
    EXPECT_THAT(TiffSizes(out), ElementsAre("11x7", "13x7", "12x7"));
}

// ---- Stop ----

// Ctrl-C, a termination request and a hang-up all stop the run the same way.
TEST(CliInputs, InterruptStopsAfterThePageInHandAndKeepsAValidFile) {
    if (!SamplesPresent()) {
        GTEST_SKIP() << "sample photos absent";
    }
    for (const int stopSignal : {SIGINT, SIGTERM, SIGHUP}) {
        TempFolder folder;
        const std::string out = folder / "stopped.tif";
        std::vector<std::string> args;
        for (int i = 0; i < 30; ++i) {
            args.push_back(Sample(i % 2 == 0 ? "Landscape_1.jpg" : "Portrait_1.jpg"));
        }
        args.insert(args.end(), {"-o", out});

        const auto r = RunProcess(
            VELLUMO_CLI_PATH, args, {},
            [](const std::string& err) { return err.find("page 3 of 30") != std::string::npos; },
            stopSignal);

        EXPECT_EQ(r.exitCode, 1) << "signal " << stopSignal << ": " << r.err;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(r.out, m, std::regex("wrote ([0-9]+) pages"))) << r.out;
        const int written = std::stoi(m[1]);
        EXPECT_GE(written, 1);
        EXPECT_LT(written, 30);
        EXPECT_THAT(r.err, HasSubstr("stopped after " + std::to_string(written) + " of 30 pages"));
        const auto pages = ReadTiffPages(out);
        ASSERT_EQ(static_cast<int>(pages.size()), written);
        uint32_t w = 0, h = 0;
        EXPECT_FALSE(ReadTiffRgba(out, written - 1, w, h).empty());
    }
}

// ---- Caption and log ----

TEST(CliInputs, CaptionOutOfRangeIsLoggedToTheLogFile) {
    ThreeImages files;
    const std::string out = files.folder / "o.tif";
    const std::string log = files.folder / "run.log";
    const auto r = Cli(
        {files.a, files.b, "--caption", "Hi", "--caption-pos", "5,500", "--log", log, "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = ReadAll(log);
    // Only the first photo finds y out of range; the box then holds 0.
    EXPECT_TRUE(std::regex_search(
        text, std::regex("^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} " + files.a +
                         " The text position Y is out of range! The program set it to 0 now.\n$")))
        << text;
    EXPECT_THAT(r.err, HasSubstr("The text position Y is out of range!"));
    // The caption was drawn: the red page is no longer all red.
    uint32_t w = 0, h = 0;
    const auto first = ReadTiffRgba(out, 0, w, h);
    ASSERT_FALSE(first.empty());
    bool notRed = false;
    for (const uint32_t p : first) {
        notRed = notRed || TIFFGetG(p) > 60 || TIFFGetB(p) > 60 || TIFFGetR(p) < 200;
    }
    EXPECT_TRUE(notRed);
}

TEST(CliInputs, CaptionPositionIsCheckedBeforeTheRunOnlyAgainstSidesTheOptionsFix) {
    TempFolder folder;
    const std::string tall = folder / "tall.png";
    ASSERT_TRUE(WriteImage(tall, 200, 300, Qt::white));
    const std::string out = folder / "o.tif";

    const auto fixedSize =
        Cli({tall, "--size", "100x50", "--caption", "X", "--caption-pos", "120,20", "-o", out});
    ASSERT_EQ(fixedSize.exitCode, 0) << fixedSize.err;
    EXPECT_THAT(fixedSize.err, HasSubstr("Warning: The text position X is bigger than the photo "
                                         "width!, The program set it to 0 now."));
    EXPECT_THAT(fixedSize.err, Not(HasSubstr("out of range")));

    // The caption is placed before the page is turned: x 70 fits the unturned 100.
    const auto turned = Cli({tall, "--size", "100x50", "--rotate", "90", "--caption", "X",
                             "--caption-pos", "70,20", "-y", "-o", out});
    ASSERT_EQ(turned.exitCode, 0) << turned.err;
    EXPECT_THAT(turned.err, Not(HasSubstr("bigger than")));
    EXPECT_THAT(TiffSizes(out), ElementsAre("50x100"));

    // The height follows the photo (150 here): only the page itself can tell.
    const auto followingHeight =
        Cli({tall, "--width", "100", "--caption", "X", "--caption-pos", "20,140", "-y", "-o", out});
    ASSERT_EQ(followingHeight.exitCode, 0) << followingHeight.err;
    EXPECT_THAT(followingHeight.err, Not(HasSubstr("bigger than")));
    EXPECT_THAT(followingHeight.err, Not(HasSubstr("out of range")));
    const auto outside =
        Cli({tall, "--width", "100", "--caption", "X", "--caption-pos", "20,150", "-y", "-o", out});
    ASSERT_EQ(outside.exitCode, 0) << outside.err;
    EXPECT_THAT(outside.err, Not(HasSubstr("bigger than")));
    EXPECT_THAT(outside.err, HasSubstr("The text position Y is out of range!"));
}

}  // namespace
}  // namespace vellumo::test
