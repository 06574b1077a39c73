#include "cli/CliOptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/HelpText.h"
#include "cli/OptionTable.h"
#include "cli/StreamFiles.h"
#include "cli/ValueParsers.h"

namespace vellumo::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

ParseResult Parse(std::initializer_list<const char*> args) {
    return ParseCommandLine(std::vector<std::string>(args.begin(), args.end()));
}

CliOptions Ok(std::initializer_list<const char*> args) {
    const ParseResult r = Parse(args);
    EXPECT_TRUE(r.options.has_value()) << r.error;
    return r.options.value_or(CliOptions{});
}

std::string Error(std::initializer_list<const char*> args) {
    const ParseResult r = Parse(args);
    EXPECT_FALSE(r.options.has_value());
    return r.error;
}

// ---- Whole command lines ----

TEST(ParseCommandLine, TheDocumentedExampleSetsEveryPart) {
    const CliOptions o =
        Ok({"-r", "photos/", "--width", "1024", "--rotate", "90", "-o", "album.tif"});
    EXPECT_EQ(o.mode, Mode::Convert);
    EXPECT_TRUE(o.recursive);
    EXPECT_THAT(o.inputs, ElementsAre("photos/"));
    EXPECT_EQ(o.output, "album.tif");
    EXPECT_EQ(o.record.nOuputSizeType, options::kSizeCustom);
    EXPECT_EQ(o.record.nKeepAspectRatio, options::kKeepWithWidth);
    EXPECT_EQ(o.record.nOutputWidth, 1024);
    EXPECT_EQ(o.record.nRotateAngel, 90);
    EXPECT_EQ(o.record.nOuptputFormat, options::kFormatTif);
    EXPECT_EQ(o.compression, imaging::TiffCompression::Lzw);
}

TEST(ParseCommandLine, DefaultsAreTheWindowsStartValues) {
    const CliOptions o = Ok({"a.jpg", "-o", "out.tif"});
    EXPECT_EQ(o.record, options::OutputPhotoFormat{});
    EXPECT_FALSE(o.overwrite);
    EXPECT_FALSE(o.autoOrient);
    EXPECT_EQ(o.captionX, "0");
    EXPECT_EQ(o.captionY, "0");
    EXPECT_EQ(o.sort, SortOrder::None);
}

TEST(ParseCommandLine, OptionSpellings) {
    const CliOptions o = Ok({"-ryq", "a.jpg", "--quality=55", "-oout.jpg", "b.gif", "--",
                             "-strange.png", "--flip", "H"});
    EXPECT_TRUE(o.recursive);
    EXPECT_TRUE(o.overwrite);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.output, "out.jpg");
    EXPECT_EQ(o.record.nCurrentJpegQuality, 55);
    EXPECT_EQ(o.tiffJpegQuality, 55);
    // After "--" everything is an input, option-like or not.
    EXPECT_THAT(o.inputs, ElementsAre("a.jpg", "b.gif", "-strange.png", "--flip", "H"));
    EXPECT_EQ(Ok({"x", "--output", "y.png", "--flip=v"}).record.nFlipType, options::kFlipVertical);
}

TEST(ParseCommandLine, FormatFollowsTheOutputExtensionUnlessGiven) {
    EXPECT_EQ(Ok({"a", "-o", "x.JPEG"}).record.nOuptputFormat, options::kFormatJpg);
    EXPECT_EQ(Ok({"a", "-o", "x.png"}).record.nOuptputFormat, options::kFormatPng);
    EXPECT_EQ(Ok({"a", "-o", "x.Bmp"}).record.nOuptputFormat, options::kFormatBmp);
    EXPECT_EQ(Ok({"a", "-o", "x.tiff"}).record.nOuptputFormat, options::kFormatTif);
    EXPECT_EQ(Ok({"a", "-o", "x.pdf"}).record.nOuptputFormat, options::kFormatPdf);
    EXPECT_EQ(Ok({"a", "-o", "album"}).record.nOuptputFormat, options::kFormatTif);
    EXPECT_EQ(Ok({"a", "-o", "-"}).record.nOuptputFormat, options::kFormatTif);
    // An extension that names no format is refused with the list of formats.
    EXPECT_THAT(Error({"a", "-o", "x.gif"}), HasSubstr("tif, pdf, bmp, jpg, png"));
    EXPECT_EQ(Ok({"a", "-o", "x.gif", "--format", "png"}).record.nOuptputFormat,
              options::kFormatPng);
    EXPECT_EQ(Ok({"a", "-o", "dir.png/x"}).record.nOuptputFormat, options::kFormatTif);
    EXPECT_EQ(Ok({"a", "-o", "x.png", "--format", "bmp"}).record.nOuptputFormat,
              options::kFormatBmp);
}

TEST(ParseCommandLine, SizeRules) {
    const CliOptions height = Ok({"a", "-o", "b", "--height", "600"});
    EXPECT_EQ(height.record.nKeepAspectRatio, options::kKeepWithHeight);
    EXPECT_EQ(height.record.nOutputHeight, 600);
    const CliOptions size = Ok({"a", "-o", "b", "--size", "800x450"});
    EXPECT_EQ(size.record.nOuputSizeType, options::kSizeCustom);
    EXPECT_EQ(size.record.nKeepAspectRatio, options::kKeepNone);
    EXPECT_EQ(size.record.nOutputWidth, 800);
    EXPECT_EQ(size.record.nOutputHeight, 450);
    const CliOptions one = Ok({"a", "-o", "b", "--stretch", "0.5"});
    EXPECT_EQ(one.record.nOuputSizeType, options::kSizeStretch);
    EXPECT_DOUBLE_EQ(one.record.dStretchHorizontal, 0.5);
    EXPECT_DOUBLE_EQ(one.record.dStretchVertical, 0.5);
    const CliOptions two = Ok({"a", "-o", "b", "--stretch", "2,0.25"});
    EXPECT_DOUBLE_EQ(two.record.dStretchHorizontal, 2.0);
    EXPECT_DOUBLE_EQ(two.record.dStretchVertical, 0.25);
    // The same option twice: the last one counts.
    EXPECT_EQ(Ok({"a", "-o", "b", "--width", "5", "--width", "7"}).record.nOutputWidth, 7);
}

TEST(ParseCommandLine, OutputAndCaptionOptions) {
    const CliOptions o = Ok({"a",
                             "-o",
                             "b.bmp",
                             "--bmp-bits",
                             "4",
                             "--compression",
                             "deflate",
                             "--caption",
                             "Hello",
                             "--caption-pos",
                             "-5,20",
                             "--font",
                             "DejaVu Sans,24,bold",
                             "--color",
                             "#FF8000",
                             "--auto-orient",
                             "--log",
                             "run.log",
                             "--threads",
                             "1",
                             "--sort",
                             "time-desc"});
    EXPECT_EQ(o.record.iComboPixelFormat, 1);
    EXPECT_EQ(o.compression, imaging::TiffCompression::Deflate);
    EXPECT_EQ(o.captionText, "Hello");
    EXPECT_EQ(o.captionX, "-5");
    EXPECT_EQ(o.captionY, "20");
    EXPECT_EQ(o.font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ(o.font.lfHeight, -24);
    EXPECT_EQ(o.font.lfWeight, 700);
    EXPECT_EQ(o.font.lfItalic, 0);
    EXPECT_EQ(options::RedOf(o.color), 255);
    EXPECT_EQ(options::GreenOf(o.color), 128);
    EXPECT_EQ(options::BlueOf(o.color), 0);
    EXPECT_TRUE(o.autoOrient);
    EXPECT_EQ(o.logFile, "run.log");
    EXPECT_EQ(o.threads, 1);
    EXPECT_EQ(o.sort, SortOrder::TimeDesc);

    const int32_t expected[] = {0, 1, 2, 4};
    const char* bits[] = {"1", "4", "8", "24"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Ok({"a", "-o", "b.bmp", "--bmp-bits", bits[i]}).record.iComboPixelFormat,
                  expected[i]);
    }
}

TEST(ParseCommandLine, ModesWithoutConversion) {
    EXPECT_EQ(Ok({"--help"}).mode, Mode::Help);
    EXPECT_EQ(Ok({"-h", "whatever"}).mode, Mode::Help);
    EXPECT_EQ(Ok({"--version"}).mode, Mode::Version);
    const CliOptions info = Ok({"--info", "a.tif", "b.gif"});
    EXPECT_EQ(info.mode, Mode::Info);
    EXPECT_THAT(info.inputs, ElementsAre("a.tif", "b.gif"));
}

TEST(ParseCommandLine, UsageErrorsSayWhatIsWrong) {
    EXPECT_THAT(Error({}), HasSubstr("no input"));
    EXPECT_THAT(Error({"a.jpg"}), HasSubstr("-o"));
    EXPECT_THAT(Error({"--info"}), HasSubstr("--info"));
    EXPECT_THAT(Error({"a", "-o", "b", "--frobnicate"}), HasSubstr("'--frobnicate'"));
    EXPECT_THAT(Error({"a", "-o", "b", "-z"}), HasSubstr("'-z'"));
    EXPECT_THAT(Error({"a", "-o"}), HasSubstr("needs a value"));
    EXPECT_THAT(Error({"a", "-o", "b", "--width"}), HasSubstr("needs a value"));
    EXPECT_THAT(Error({"a", "-o", "b", "--recursive=yes"}), HasSubstr("takes no value"));
    EXPECT_THAT(Error({"a", "-o", "b", "--rotate", "45"}), HasSubstr("--rotate"));
    EXPECT_THAT(Error({"a", "-o", "b", "--quality", "0"}), HasSubstr("--quality"));
    EXPECT_THAT(Error({"a", "-o", "b", "--quality", "101"}), HasSubstr("--quality"));
    EXPECT_THAT(Error({"a", "-o", "b", "--flip", "diagonal"}), HasSubstr("--flip"));
    EXPECT_THAT(Error({"a", "-o", "b", "--format", "gif"}), HasSubstr("--format"));
    EXPECT_THAT(Error({"a", "-o", "b", "--bmp-bits", "16"}), HasSubstr("--bmp-bits"));
    EXPECT_THAT(Error({"a", "-o", "b", "--compression", "lzma"}), HasSubstr("--compression"));
    EXPECT_THAT(Error({"a", "-o", "b", "--sort", "size"}), HasSubstr("--sort"));
    EXPECT_THAT(Error({"a", "-o", "b", "--width", "0"}), HasSubstr("--width"));
    EXPECT_THAT(Error({"a", "-o", "b", "--stretch", "0"}), HasSubstr("--stretch"));
    EXPECT_THAT(Error({"a", "-o", "b", "--width", "100", "--height", "100"}), HasSubstr("--size"));
    EXPECT_THAT(Error({"a", "-o", "b", "--size", "10x10", "--stretch", "2"}),
                HasSubstr("cannot be used together"));
}

TEST(ParseCommandLine, FitShrinkOnlyColourNamesAndStreams) {
    const CliOptions fit = Ok({"a", "-o", "b", "--fit", "800x600", "--shrink-only"});
    EXPECT_EQ(fit.record.nKeepAspectRatio, options::kKeepFit);
    EXPECT_EQ(fit.record.nOutputWidth, 800);
    EXPECT_TRUE(fit.record.bShrinkOnly);
    EXPECT_THAT(Error({"a", "-o", "b", "--fit", "8x6", "--width", "5"}),
                HasSubstr("cannot be used together"));
    EXPECT_EQ(Ok({"a", "-o", "b", "--color", "Red"}).color, options::MakeColorRef(255, 0, 0));
    EXPECT_EQ(Ok({"a", "-o", "b", "--color", "darkslategray"}).color,
              options::MakeColorRef(47, 79, 79));
    EXPECT_THAT(Error({"a", "-o", "b", "--color", "notacolour"}), HasSubstr("--color"));
    // "-" alone is an input (standard input), and names standard output after -o.
    EXPECT_THAT(Ok({"-", "-o", "-"}).inputs, ElementsAre("-"));
    EXPECT_THAT(Error({"a", "--append", "-o", "b.pdf"}), HasSubstr("--append"));
}

struct WarningCase {
    std::vector<const char*> args;
    std::vector<std::string> warned;  // the options warned about
};

TEST(OptionWarnings, OptionsThatDoNothingForTheFormatAreNamed) {
    const std::vector<WarningCase> cases = {
        {{"--quality", "90"}, {"--quality"}},  // LZW TIFF
        {{"--quality", "90", "--compression", "jpeg"}, {}},
        {{"--bmp-bits", "8"}, {"--bmp-bits"}},
        {{"--bmp-bits", "8", "--format", "bmp"}, {}},
        {{"--quality", "90", "--format", "jpg"}, {}},
        {{"--compression", "lzw", "--format", "png"}, {"--compression"}},
        {{"--compression", "deflate", "--format", "pdf"}, {"--compression"}},
        {{"--compression", "jpeg", "--quality", "50", "--format", "pdf"}, {}},
        {{"--bigtiff", "--format", "pdf", "--bigtiff"}, {"--bigtiff"}},
        {{"--width", "5", "--caption", "x"}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"a", "-o", "out"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ParseResult parsed = ParseCommandLine(args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const auto warnings = OptionWarnings(*parsed.options);
        ASSERT_EQ(warnings.size(), c.warned.size()) << args[3];
        for (size_t i = 0; i < warnings.size(); ++i) {
            EXPECT_THAT(warnings[i], HasSubstr(c.warned[i]));
        }
    }
}

// Help, man page and completions are made from the table: every option is in each.
TEST(OptionTable, EveryTextMadeFromTheTableNamesEveryOption) {
    const std::string man = CliManPage("1.0");
    const std::vector<std::pair<const char*, std::string>> texts = {{"help", HelpText()},
                                                                    {"bash", BashCompletion()},
                                                                    {"zsh", ZshCompletion()},
                                                                    {"fish", FishCompletion()}};
    for (const OptionRow& row : OptionTable()) {
        for (const auto& [name, text] : texts) {
            // fish names long options without their dashes.
            const std::string wanted =
                name == std::string("fish") ? row.longName + 2 : row.longName;
            EXPECT_THAT(text, HasSubstr(wanted)) << name;
        }
        std::string roffName;
        for (const char* c = row.longName; *c != 0; ++c) {
            roffName += *c == '-' ? std::string("\\-") : std::string(1, *c);
        }
        EXPECT_THAT(man, HasSubstr(roffName)) << "man";
        EXPECT_EQ(FindOption(row.longName), &row);
        if (row.shortName != 0) {
            EXPECT_EQ(FindShortOption(row.shortName), &row);
        }
    }
}

TEST(OutputRefusal, DevicesAndFoldersAreNoOutputsFilesAndNewNamesAre) {
    EXPECT_THAT(OutputRefusal("/dev/null").value_or(""), HasSubstr("device"));
    EXPECT_THAT(OutputRefusal("/").value_or(""), HasSubstr("folder"));
    EXPECT_FALSE(OutputRefusal("/no/such/file.tif").has_value());
    EXPECT_FALSE(OutputRefusal(VELLUMO_SAMPLES_DIR "/Landscape_1.jpg").has_value());
}

// ---- Values ----

TEST(ValueParsers, WholeNumbersAcceptDigitsOnlyWithinRange) {
    EXPECT_EQ(ParseWholeNumber("1024", 1, 2000), 1024);
    EXPECT_EQ(ParseWholeNumber("007", 1, 10), 7);
    for (const char* bad : {"", "+5", "-5", "10.5", "5px", " 5", "99999999999999", "2001"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, 1, 2000).has_value()) << bad;
    }
}

TEST(ValueParsers, DecimalsRefuseExponentsAndSpecialValues) {
    EXPECT_DOUBLE_EQ(ParseDecimal(".5", 0.000001, 10).value_or(-1), 0.5);
    EXPECT_DOUBLE_EQ(ParseDecimal("2.", 0.000001, 10).value_or(-1), 2.0);
    for (const char* bad : {"", ".", "1e3", "nan", "inf", "-1", "1.2.3", "0", "11"}) {
        EXPECT_FALSE(ParseDecimal(bad, 0.000001, 10).has_value()) << bad;
    }
}

TEST(ValueParsers, SizesPositionsFontsAndColours) {
    const auto size = ParseSize("640X480", 100000);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 640);
    EXPECT_EQ(size->height, 480);
    EXPECT_TRUE(ParseSize("640*480", 100000).has_value());
    for (const char* bad : {"640", "x480", "640x", "0x10", "640x480x2"}) {
        EXPECT_FALSE(ParseSize(bad, 100000).has_value()) << bad;
    }

    EXPECT_FALSE(ParsePosition("5").has_value());
    EXPECT_FALSE(ParsePosition("a,b").has_value());
    EXPECT_FALSE(ParsePosition("1,2,3").has_value());
    EXPECT_FALSE(ParsePosition("-,2").has_value());

    const options::CaptionFont base;
    const auto italic = ParseFont("Serif,italic", base);
    ASSERT_TRUE(italic.has_value());
    EXPECT_EQ(italic->lfFaceName, "Serif");
    EXPECT_EQ(italic->lfItalic, 1);
    EXPECT_EQ(italic->lfHeight, base.lfHeight);
    EXPECT_EQ(italic->lfWeight, 400);
    for (const char* bad : {"", ",12", "Serif,abc", "Serif,12,13", "Serif,0"}) {
        EXPECT_FALSE(ParseFont(bad, base).has_value()) << bad;
    }

    EXPECT_EQ(ParseColor("0a0B0c"), options::MakeColorRef(0x0a, 0x0b, 0x0c));
    for (const char* bad : {"#FFF", "#GG0000", "#12345678", "", "#-12345"}) {
        EXPECT_FALSE(ParseColor(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace vellumo::cli
