// The Edit and Options commands over a photo list, with the real options dialog worked
// by a script instead of a user.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <functional>

#include "DialogTestSupport.h"
#include "ScriptedDialogs.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "app/dialogs/PhotoOptionsCommands.h"

namespace vellumo::app::dialogs {
namespace {

using options::OutputPhotoFormat;
using test::Cancel;
using test::CustomWidth;
using test::ScriptedDialogs;

photolist::PhotoEntry Entry(const std::string& name, int32_t width, int32_t height) {
    photolist::PhotoEntry e;
    e.path = "/photos/" + name;
    e.fileName = name;
    e.width = width;
    e.height = height;
    e.outputFormat.nOutputWidth = width;
    e.outputFormat.nOutputHeight = height;
    return e;
}

class OptionsCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list_.append(Entry("a.jpg", 3000, 2000));
        list_.append(Entry("b.jpg", 640, 480));
        list_.append(Entry("c.jpg", 1000, 2000));
        list_.append(Entry("d.jpg", 800, 600));
    }
    OptionsCommandContext Context() {
        return {nullptr, &store_, [this] { ++refreshes_; }};
    }

    photolist::PhotoList list_;
    test::OrderedSettingsStore store_;
    test::MessageRecorder messages_;
    int refreshes_ = 0;
};

TEST_F(OptionsCommandsTest, EditGoesThroughTheSelectionTopToBottomAndSkipsACancelledOne) {
    // Different recorded widths show which entry each dialog was opened on.
    list_[1].outputFormat.nOutputWidth = 111;
    ScriptedDialogs dialogs({CustomWidth(1024), Cancel(), CustomWidth(500)});

    const int changed = EditSelectedPhotos(list_, {2, 0, 1}, Context());

    EXPECT_EQ(changed, 2);
    EXPECT_EQ(dialogs.shown(), 3u);
    EXPECT_EQ(dialogs.shownWidths, (std::vector<std::string>{"3000", "111", "1000"}));
    // First: 3000 x 2000 kept with width 1024 -> 682.67, truncated.
    EXPECT_EQ(list_[0].outputFormat.nOuputSizeType, options::kSizeCustom);
    EXPECT_EQ(list_[0].outputFormat.nOutputWidth, 1024);
    EXPECT_EQ(list_[0].outputFormat.nOutputHeight, 682);
    // Second: cancelled, untouched.
    EXPECT_EQ(list_[1].outputFormat.nOuputSizeType, options::kSizeOriginal);
    EXPECT_EQ(list_[1].outputFormat.nOutputWidth, 111);
    // Third: 1000 x 2000 kept with width 500.
    EXPECT_EQ(list_[2].outputFormat.nOutputWidth, 500);
    EXPECT_EQ(list_[2].outputFormat.nOutputHeight, 1000);
    // Not selected.
    EXPECT_EQ(list_[3].outputFormat.nOuputSizeType, options::kSizeOriginal);
    EXPECT_EQ(refreshes_, 1);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(OptionsCommandsTest, EditWithOriginalSizeStoresTheFramesOwnSize) {
    list_[1].outputFormat.nOuputSizeType = options::kSizeCustom;
    list_[1].outputFormat.nOutputWidth = 9;
    list_[1].outputFormat.nOutputHeight = 9;
    ScriptedDialogs dialogs({[](CDialogPhotoOptions& d) {
        static_cast<QAbstractButton*>(d.Control(ids::kOriginalSize))->click();
        return ids::kOk;
    }});
    EditSelectedPhotos(list_, {1}, Context());
    EXPECT_EQ(list_[1].outputFormat.nOutputWidth, 640);
    EXPECT_EQ(list_[1].outputFormat.nOutputHeight, 480);
}

TEST_F(OptionsCommandsTest, EditWithNothingSelectedOnlyAsksForASelection) {
    ScriptedDialogs dialogs({});
    EXPECT_EQ(EditSelectedPhotos(list_, {}, Context()), 0);
    EXPECT_EQ(EditSelectedPhotos(list_, {7, -1}, Context()), 0);
    EXPECT_EQ(dialogs.shown(), 0u);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(messages_.shown[0].text, "Please select items!");
    EXPECT_EQ(messages_.shown[0].caption, "Vellumo");
    EXPECT_EQ(refreshes_, 0);
}

TEST_F(OptionsCommandsTest, OptionsAnsweredNoChangesOnlyTheMainRecord) {
    const photolist::PhotoList before = list_;
    OutputPhotoFormat main;
    ScriptedDialogs dialogs({CustomWidth(1024)});
    messages_.answers = {ui::Answer::No};

    EXPECT_TRUE(EditAllPhotoOptions(main, list_, Context()));

    EXPECT_EQ(main.nOuputSizeType, options::kSizeCustom);
    EXPECT_EQ(main.nOutputWidth, 1024);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Do you want to change all output settings of photos?");
    EXPECT_EQ(messages_.shown[0].caption, "Question");
    EXPECT_EQ(messages_.shown[0].style, ui::MessageStyle::YesNoQuestion);
    for (size_t i = 0; i < list_.size(); ++i) {
        EXPECT_EQ(list_[i].outputFormat, before[i].outputFormat) << i;
    }
    EXPECT_EQ(refreshes_, 1);  // the rows are rebuilt whatever the answer
}

TEST_F(OptionsCommandsTest, OptionsAnsweredYesGivesEveryEntryTheRecordAndItsOwnSize) {
    OutputPhotoFormat main;
    ScriptedDialogs dialogs({CustomWidth(320)});
    messages_.answers = {ui::Answer::Yes};

    EditAllPhotoOptions(main, list_, Context());

    const int32_t expectedHeights[] = {213, 240, 640, 240};
    for (size_t i = 0; i < list_.size(); ++i) {
        EXPECT_EQ(list_[i].outputFormat.nOuputSizeType, options::kSizeCustom) << i;
        EXPECT_EQ(list_[i].outputFormat.nOutputWidth, 320) << i;
        EXPECT_EQ(list_[i].outputFormat.nOutputHeight, expectedHeights[i]) << i;
    }
    // The main record keeps what was typed, not an entry's computed size.
    EXPECT_EQ(main.nOutputHeight, 768);
}

TEST_F(OptionsCommandsTest, OptionsWithAnEmptyListAsksNothing) {
    list_.clear();
    OutputPhotoFormat main;
    ScriptedDialogs dialogs({CustomWidth(200)});
    EXPECT_TRUE(EditAllPhotoOptions(main, list_, Context()));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(main.nOutputWidth, 200);
}

TEST_F(OptionsCommandsTest, OptionsCancelledChangesNothing) {
    OutputPhotoFormat main;
    const OutputPhotoFormat before = main;
    ScriptedDialogs dialogs({Cancel()});
    EXPECT_FALSE(EditAllPhotoOptions(main, list_, Context()));
    EXPECT_EQ(main, before);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(refreshes_, 0);
}

TEST_F(OptionsCommandsTest, EditShowsTheStoredQualityAndWritesItIntoTheEntry) {
    store_.ints["Option/nCurrentJpegQuality"] = 42;
    list_[0].outputFormat.nOuptputFormat = options::kFormatJpg;
    list_[0].outputFormat.nCurrentJpegQuality = 95;
    std::string shownQuality;
    ScriptedDialogs dialogs({[&](CDialogPhotoOptions& d) {
        shownQuality = static_cast<QLineEdit*>(d.Control(ids::kQualityEdit))->text().toStdString();
        return ids::kOk;
    }});
    EditSelectedPhotos(list_, {0}, Context());
    EXPECT_EQ(shownQuality, "42");
    EXPECT_EQ(list_[0].outputFormat.nCurrentJpegQuality, 42);
}

}  // namespace
}  // namespace vellumo::app::dialogs
