// The caption position boxes: the decimal reading rule, the check before a run and the
// correction (with its log line) for each page.
#include "convert/CaptionPosition.h"

#include <gtest/gtest.h>

#include "convert/ToolkitLogSink.h"
#include "shell/ActivityLog.h"
#include "support/RecordingToolkit.h"

namespace vellumo::convert {
namespace {

TEST(BoxInteger, FollowsTheDecimalRule) {
    EXPECT_EQ(ParseBoxInteger("42"), 42);
    EXPECT_EQ(ParseBoxInteger("   -17"), -17);
    EXPECT_EQ(ParseBoxInteger("+8px"), 8);
    EXPECT_EQ(ParseBoxInteger("12 34"), 12);
    EXPECT_EQ(ParseBoxInteger("abc"), 0);
    EXPECT_EQ(ParseBoxInteger(""), 0);
    EXPECT_EQ(ParseBoxInteger("-"), 0);
    EXPECT_EQ(ParseBoxInteger("\t\n5"), 5);
}

TEST(BoxInteger, ClampsInsteadOfOverflowing) {
    EXPECT_EQ(ParseBoxInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseBoxInteger("99999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseBoxInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseBoxInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(BoxInteger, ReadsOnlyTheFirst63Characters) {
    EXPECT_EQ(ParseBoxInteger(std::string(62, ' ') + "7"), 7);
    EXPECT_EQ(ParseBoxInteger(std::string(63, ' ') + "7"), 0);
    EXPECT_EQ(ParseBoxInteger(std::string(61, ' ') + "12"), 12);
    EXPECT_EQ(ParseBoxInteger(std::string(62, ' ') + "12"), 1);
}

options::OutputPhotoFormat Record(int32_t w, int32_t h) {
    options::OutputPhotoFormat r;
    r.nOutputWidth = w;
    r.nOutputHeight = h;
    return r;
}

CaptionSettings At(std::string x, std::string y) {
    CaptionSettings caption;
    caption.positionX = std::move(x);
    caption.positionY = std::move(y);
    return caption;
}

TEST(CheckBeforeRun, WarnsOnceForXAtOrBeyondTheWidthAndResetsIt) {
    test::RecordingToolkit toolkit;
    CaptionSettings caption = At("2000", "10");
    CheckCaptionBeforeRun(toolkit, Record(1024, 768), caption);
    const auto messages = toolkit.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "The text position X is bigger than the photo width!, The program set it to 0 now.");
    EXPECT_EQ(messages[0].caption, "Warning");
    EXPECT_EQ(caption.positionX, "0");
    EXPECT_EQ(caption.positionY, "10");
    EXPECT_EQ(toolkit.captionResets(), std::vector<ui::Axis>{ui::Axis::X});
}

TEST(CheckBeforeRun, BothAtTheEdgeGiveXThenY) {
    test::RecordingToolkit toolkit;
    CaptionSettings caption = At("1024", "768");
    CheckCaptionBeforeRun(toolkit, Record(1024, 768), caption);
    const auto texts = toolkit.messageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("position X"), std::string::npos);
    EXPECT_EQ(texts[1],
              "The text position Y is bigger than the photo height!, The program set it to 0 now.");
    EXPECT_EQ(caption.positionX, "0");
    EXPECT_EQ(caption.positionY, "0");
    EXPECT_EQ(toolkit.captionResets(), (std::vector<ui::Axis>{ui::Axis::X, ui::Axis::Y}));
}

TEST(CheckBeforeRun, NegativeAndInsideValuesPass) {
    test::RecordingToolkit toolkit;
    CaptionSettings caption = At("-5", "767");
    CheckCaptionBeforeRun(toolkit, Record(1024, 768), caption);
    EXPECT_TRUE(toolkit.messages().empty());
    EXPECT_TRUE(toolkit.captionResets().empty());
    EXPECT_EQ(caption.positionX, "-5");
}

class PlaceCaptionTest : public ::testing::Test {
  protected:
    test::RecordingToolkit toolkit;
    ToolkitLogSink sink{toolkit};
    shell::ActivityLog log{sink, {}};
    CaptionSettings caption;
};

TEST_F(PlaceCaptionTest, OutOfRangeXIsLoggedWithThePhotoPathAndIs0ForTheFollowingPages) {
    caption.positionX = "5000";
    caption.positionY = "20";
    const CaptionPoint at = PlaceCaption(toolkit, log, caption, "/photos/a b.jpg", 1024, 768);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 20);
    EXPECT_EQ(caption.positionX, "0");
    EXPECT_EQ(toolkit.captionResets(), std::vector<ui::Axis>{ui::Axis::X});
    const auto lines = toolkit.logList();
    ASSERT_EQ(lines.size(), 1u);
    const std::string expected =
        "/photos/a b.jpg The text position X is out of range! The program set it to 0 now.";
    ASSERT_GE(lines[0].size(), expected.size());
    EXPECT_EQ(lines[0].substr(lines[0].size() - expected.size()), expected);
    EXPECT_EQ(lines[0].size(), expected.size() + 20);  // preceded by the 20-character stamp
    EXPECT_TRUE(toolkit.messages().empty());

    // The next page reads 0 and logs nothing.
    PlaceCaption(toolkit, log, caption, "/photos/next.jpg", 1024, 768);
    EXPECT_EQ(toolkit.logList().size(), 1u);
    EXPECT_EQ(toolkit.captionResets().size(), 1u);
}

TEST_F(PlaceCaptionTest, NegativeYAndYAtTheHeightAreCorrected) {
    caption.positionX = "3";
    caption.positionY = "-1";
    EXPECT_EQ(PlaceCaption(toolkit, log, caption, "p", 10, 10).y, 0);
    caption.positionY = "10";
    EXPECT_EQ(PlaceCaption(toolkit, log, caption, "p", 10, 10).y, 0);
    caption.positionY = "9";
    EXPECT_EQ(PlaceCaption(toolkit, log, caption, "p", 10, 10).y, 9);
    const auto lines = toolkit.logList();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("p The text position Y is out of range!"), std::string::npos);
}

}  // namespace
}  // namespace vellumo::convert
