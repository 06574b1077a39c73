// Animated GIF frames against the expected composited frames of two public suites.

#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <map>
#include <sstream>

#include "ReadTestSupport.h"
#include "imaging/ImageFile.h"

namespace vellumo::imaging {
namespace {

using test::Corpora;

// Draws frame `index` of `image` at its own size on a white page.
std::optional<PageBitmap> DrawFrame(ImageFile& image, int index) {
    if (!image.SelectActiveFrame(FrameDimension::Time, index)) {
        return std::nullopt;
    }
    PageBitmap page = test::WhitePage(image.Width(), image.Height());
    if (!image.DrawActiveFrame(page, {0, 0, image.Width(), image.Height()})) {
        return std::nullopt;
    }
    return page;
}

// gifs/<name>.gif with every composited frame in frames/<name>-<i>.png.
TEST(GifTestSuite, EveryFrameMatchesTheExpectedComposite) {
    const auto dir = Corpora() / "gif-test-suite" / "gifs";
    VELLUMO_REQUIRE_FILE(dir);
    int frames = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".gif") {
            continue;
        }
        const std::string stem = entry.path().stem().string();
        ImageFile image = ImageFile::Open(entry.path());
        ASSERT_TRUE(image.IsValid()) << stem << ": " << image.Error();
        const uint32_t count = image.FrameDimensions().at(0).count;
        for (uint32_t i = 0; i < count; ++i) {
            auto expectedPath = dir / "frames" / (stem + "-" + std::to_string(i) + ".png");
            if (count == 1 && !std::filesystem::exists(expectedPath)) {
                expectedPath = dir / "frames" / (stem + ".png");
            }
            const QImage expected(QString::fromStdString(expectedPath.string()));
            ASSERT_FALSE(expected.isNull()) << expectedPath;
            const auto page = DrawFrame(image, static_cast<int>(i));
            ASSERT_TRUE(page.has_value()) << stem << " frame " << i << ": " << image.Error();
            ASSERT_EQ(expected.size(), QSize(page->width(), page->height()));
            EXPECT_EQ(test::MeanAbsDiff(*page, test::OverWhite(expected)), 0.0)
                << stem << " frame " << i;
            ++frames;
        }
    }
    EXPECT_GE(frames, 40);
}

// The conformance suite describes each test in an INI-like .conf file.
using Section = std::map<std::string, std::string>;
std::map<std::string, Section> ReadConf(const std::filesystem::path& path) {
    std::map<std::string, Section> conf;
    std::ifstream in(path);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        auto trim = [](std::string s) {
            s.erase(0, s.find_first_not_of(' '));
            s.erase(s.find_last_not_of(' ') + 1);
            return s;
        };
        conf[section][trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    return conf;
}

std::vector<std::string> SplitCommas(const std::string& s) {
    std::vector<std::string> parts;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, ',')) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

// An expected frame: raw 8-bit RGBA (straight alpha) or a PNG.
QImage ExpectedFrame(const std::filesystem::path& dir, const Section& frame, QSize size) {
    if (frame.count("pixels") != 0) {
        const std::vector<uint8_t> raw = test::ReadBytes(dir / frame.at("pixels"));
        if (raw.size() != static_cast<size_t>(size.width() * size.height() * 4)) {
            return {};
        }
        QImage image(size, QImage::Format_RGBA8888);
        for (int y = 0; y < size.height(); ++y) {
            std::memcpy(image.scanLine(y), raw.data() + static_cast<size_t>(y) * size.width() * 4,
                        static_cast<size_t>(size.width()) * 4);
        }
        return image;
    }
    return QImage(QString::fromStdString((dir / frame.at("image")).string()));
}

// Tests whose frame count we share are compared frame by frame. We count every image
// of the file as a frame, while the suite merges images without a delay into the
// next frame; for those, our last frame must still equal its last frame. Tests that
// expect no image must not give a drawable one, except the plain-text one: like web
// browsers we ignore the plain-text extension and show the image that follows.
TEST(GifConformance, FramesMatchAndRejectedFilesDoNotDraw) {
    const auto dir = Corpora() / "gif-conformance";
    VELLUMO_REQUIRE_FILE(dir / "TESTS");
    std::ifstream list(dir / "TESTS");
    std::string name;
    int compared = 0, lastOnly = 0, rejected = 0;
    std::vector<std::string> notCompared;
    while (std::getline(list, name)) {
        if (name.empty()) {
            continue;
        }
        auto conf = ReadConf(dir / (name + ".conf"));
        const Section& config = conf["config"];
        const std::vector<std::string> frames =
            SplitCommas(config.count("frames") != 0 ? config.at("frames") : "");
        ImageFile image = ImageFile::Open(dir / config.at("input"));
        if (frames.empty()) {
            if (name != "plain-text") {
                const bool drawn = image.IsValid() && DrawFrame(image, 0).has_value();
                EXPECT_FALSE(drawn) << name << " should be refused";
                ++rejected;
            }
            continue;
        }
        if (!image.IsValid()) {
            notCompared.push_back(name + " (" + image.Error() + ")");
            continue;
        }
        const QSize size(std::stoi(config.at("width")), std::stoi(config.at("height")));
        ASSERT_EQ(QSize(image.Width(), image.Height()), size) << name;
        const auto ours = static_cast<size_t>(image.FrameDimensions().at(0).count);
        ASSERT_GE(ours, frames.size()) << name;
        // Pairs (our frame, expected frame) to compare.
        std::vector<std::pair<size_t, size_t>> pairs;
        if (ours == frames.size()) {
            for (size_t i = 0; i < ours; ++i) {
                pairs.emplace_back(i, i);
            }
            ++compared;
        } else {
            pairs.emplace_back(ours - 1, frames.size() - 1);
            ++lastOnly;
        }
        for (const auto& [mine, theirs] : pairs) {
            const QImage expected = ExpectedFrame(dir, conf[frames[theirs]], size);
            ASSERT_FALSE(expected.isNull()) << name << " " << frames[theirs];
            const auto page = DrawFrame(image, static_cast<int>(mine));
            ASSERT_TRUE(page.has_value()) << name << " frame " << mine << ": " << image.Error();
            EXPECT_EQ(test::MeanAbsDiff(*page, test::OverWhite(expected)), 0.0)
                << name << " frame " << mine;
        }
    }
    EXPECT_EQ(rejected, 8);
    EXPECT_GE(compared, 60);
    EXPECT_GE(lastOnly, 5);
    // Files without any image (or with only an empty one) are refused, not shown blank.
    for (const auto& n : notCompared) {
        std::cout << "not compared: " << n << "\n";
    }
    EXPECT_LE(notCompared.size(), 4u);
}

}  // namespace
}  // namespace vellumo::imaging
