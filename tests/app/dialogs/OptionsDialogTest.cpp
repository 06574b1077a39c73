// The photo output options dialog: what it shows on opening, how its clicks change the
// record, and what OK accepts, refuses and stores.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "DialogTestSupport.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"

namespace vellumo::app::dialogs {
namespace {

using options::OutputPhotoFormat;
namespace id = ids;

class OptionsDialogTest : public ::testing::Test {
  protected:
    CDialogPhotoOptions& Open(const OutputPhotoFormat& record) {
        dialog_ = std::make_unique<CDialogPhotoOptions>(store_);
        dialog_->SetRecord(record);
        dialog_->show();
        return *dialog_;
    }
    QWidget* C(int control) const { return dialog_->Control(control); }
    bool Shown(int control) const { return !C(control)->isHidden(); }
    bool Enabled(int control) const { return C(control)->isEnabled(); }
    bool Ticked(int control) const {
        return static_cast<QAbstractButton*>(C(control))->isChecked();
    }
    QLineEdit* Edit(int control) const { return static_cast<QLineEdit*>(C(control)); }
    QComboBox* List(int control) const { return static_cast<QComboBox*>(C(control)); }
    void Type(int control, const QString& text) const { Edit(control)->setText(text); }
    void Click(int control) const { QTest::mouseClick(C(control), Qt::LeftButton); }
    void PressOk() const { static_cast<QAbstractButton*>(C(id::kOk))->click(); }
    bool Accepted() const {
        return dialog_->result() == QDialog::Accepted && !dialog_->isVisible();
    }

    test::OrderedSettingsStore store_;
    test::MessageRecorder messages_;
    std::unique_ptr<CDialogPhotoOptions> dialog_;
};

OutputPhotoFormat Record(int32_t sizeType, int32_t keep, int32_t format = options::kFormatTif) {
    OutputPhotoFormat r;
    r.nOuputSizeType = sizeType;
    r.nKeepAspectRatio = keep;
    r.nOuptputFormat = format;
    return r;
}

// ---- Opening ----

struct OpeningCase {
    int32_t sizeType;
    int32_t keep;
    int tickedSizeButton;
    bool sizeFieldsEnabled;     // width, height and both keep-aspect boxes
    bool stretchFieldsEnabled;  // both factors and their labels
    bool keepWidthTicked;
    bool keepHeightTicked;
    bool widthShown;
    bool heightShown;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << "size rule " << c.sizeType << ", keep " << c.keep;
}

class OpeningStateTest : public OptionsDialogTest,
                         public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningStateTest, SizeAndKeepAspectRulesDecideTicksEnablingAndVisibility) {
    const OpeningCase c = GetParam();
    Open(Record(c.sizeType, c.keep));

    EXPECT_TRUE(messages_.shown.empty());
    for (int button : {id::kOriginalSize, id::kCustomSize, id::kStretch}) {
        EXPECT_EQ(Ticked(button), button == c.tickedSizeButton) << button;
    }
    for (int field : {id::kWidthEdit, id::kHeightEdit, id::kKeepWithWidth, id::kKeepWithHeight}) {
        EXPECT_EQ(Enabled(field), c.sizeFieldsEnabled) << field;
    }
    for (int field :
         {id::kHorizontalEdit, id::kHorizontalLabel, id::kVerticalEdit, id::kVerticalLabel}) {
        EXPECT_EQ(Enabled(field), c.stretchFieldsEnabled) << field;
    }
    EXPECT_EQ(Ticked(id::kKeepWithWidth), c.keepWidthTicked);
    EXPECT_EQ(Ticked(id::kKeepWithHeight), c.keepHeightTicked);
    EXPECT_EQ(Shown(id::kWidthLabel), c.widthShown);
    EXPECT_EQ(Shown(id::kWidthEdit), c.widthShown);
    EXPECT_EQ(Shown(id::kHeightLabel), c.heightShown);
    EXPECT_EQ(Shown(id::kHeightEdit), c.heightShown);
    // The width and height labels are hidden with their fields but never disabled.
    EXPECT_TRUE(Enabled(id::kWidthLabel));
    EXPECT_TRUE(Enabled(id::kHeightLabel));
}

INSTANTIATE_TEST_SUITE_P(
    EverySizeRuleAndKeepValue, OpeningStateTest,
    ::testing::Values(OpeningCase{0, 0, id::kOriginalSize, false, false, false, false, true, true},
                      OpeningCase{0, 1, id::kOriginalSize, false, false, true, false, true, false},
                      OpeningCase{0, 2, id::kOriginalSize, false, false, false, true, false, true},
                      OpeningCase{1, 0, id::kCustomSize, true, false, false, false, true, true},
                      OpeningCase{1, 1, id::kCustomSize, true, false, true, false, true, false},
                      OpeningCase{1, 2, id::kCustomSize, true, false, false, true, false, true},
                      OpeningCase{2, 0, id::kStretch, false, true, false, false, true, true},
                      OpeningCase{2, 1, id::kStretch, false, true, true, false, true, false},
                      OpeningCase{2, 2, id::kStretch, false, true, false, true, false, true}));

TEST_F(OptionsDialogTest, OpensWithTheRecordsValuesInItsFields) {
    OutputPhotoFormat r = Record(1, 0);
    r.nOutputWidth = 1600;
    r.nOutputHeight = -7;
    r.dStretchHorizontal = 0.25;
    r.dStretchVertical = 2.0 / 3.0;
    r.nRotateAngel = 270;
    r.nFlipType = options::kFlipHorizontal;
    Open(r);

    EXPECT_EQ(Edit(id::kWidthEdit)->text(), "1600");
    EXPECT_EQ(Edit(id::kHeightEdit)->text(), "-7");
    EXPECT_EQ(Edit(id::kHorizontalEdit)->text(), "0.25");
    EXPECT_EQ(Edit(id::kVerticalEdit)->text(), "0.666666666666667");
    for (int button : {id::kRotate0, id::kRotate90, id::kRotate180, id::kRotate270}) {
        EXPECT_EQ(Ticked(button), button == id::kRotate270) << button;
    }
    for (int button : {id::kNoFlip, id::kFlipHorizontal, id::kFlipVertical}) {
        EXPECT_EQ(Ticked(button), button == id::kFlipHorizontal) << button;
    }
    EXPECT_EQ(dialog_->windowTitle(), "Photo Output Options");
}

TEST_F(OptionsDialogTest, StartUpOptionsShowOriginalSizeWithHeightHidden) {
    Open(OutputPhotoFormat{});
    EXPECT_TRUE(Ticked(id::kOriginalSize));
    EXPECT_FALSE(Enabled(id::kWidthEdit));
    EXPECT_FALSE(Enabled(id::kHeightEdit));
    EXPECT_FALSE(Enabled(id::kKeepWithWidth));
    EXPECT_FALSE(Enabled(id::kKeepWithHeight));
    EXPECT_TRUE(Ticked(id::kKeepWithWidth));
    EXPECT_FALSE(Shown(id::kHeightEdit));
    EXPECT_EQ(Edit(id::kHorizontalEdit)->text(), "1");
    EXPECT_EQ(Edit(id::kVerticalEdit)->text(), "1");
}

TEST_F(OptionsDialogTest, FormatDecidesBetweenPixelFormatAndQualityFields) {
    const int pixelSet[] = {id::kPixelFormatLabel, id::kPixelFormatList, id::kPixelDescription};
    const int qualitySet[] = {id::kQualityLabel, id::kQualityEdit, id::kQualityRange};
    struct Case {
        int32_t format;
        bool pixelShown;
        bool qualityShown;
    };
    for (const Case c :
         {Case{options::kFormatBmp, true, false}, Case{options::kFormatJpg, false, true},
          Case{options::kFormatPng, false, false}, Case{options::kFormatTif, false, false}}) {
        Open(Record(0, 1, c.format));
        for (int control : pixelSet) {
            EXPECT_EQ(Shown(control), c.pixelShown)
                << "format " << c.format << " control " << control;
        }
        for (int control : qualitySet) {
            EXPECT_EQ(Shown(control), c.qualityShown)
                << "format " << c.format << " control " << control;
        }
        // The format itself is never offered.
        EXPECT_FALSE(Shown(id::kFormatLabel));
        EXPECT_FALSE(Shown(id::kFormatList));
        EXPECT_EQ(List(id::kFormatList)->currentIndex(), c.format);
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(OptionsDialogTest, CodesOutsideTheRecordsRangesAreReportedInOpeningOrder) {
    OutputPhotoFormat r = Record(5, 9, 7);
    r.nRotateAngel = 45;
    r.nFlipType = 3;
    Open(r);

    ASSERT_EQ(messages_.shown.size(), 5u);
    EXPECT_EQ(messages_.texts(),
              (std::vector<std::string>{"Unknown rotate angle!", "Unknown flip type!",
                                        "Unknown nOuputSizeType type!",
                                        "Unknown nKeepAspectRatio type!", "unknown error"}));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(messages_.shown[i].caption, "Error");
    }
    EXPECT_EQ(messages_.shown[4].caption, "error");
    // Nothing is ticked for the unknown values, and the dialog still opened.
    for (int button :
         {id::kOriginalSize, id::kCustomSize, id::kStretch, id::kRotate0, id::kRotate90,
          id::kRotate180, id::kRotate270, id::kNoFlip, id::kFlipHorizontal, id::kFlipVertical}) {
        EXPECT_FALSE(Ticked(button)) << button;
    }
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(OptionsDialogTest, PixelFormatListShowsTheRecordsEntryAndItsDescription) {
    OutputPhotoFormat r = Record(0, 1, options::kFormatBmp);
    r.iComboPixelFormat = 2;
    Open(r);
    EXPECT_EQ(List(id::kPixelFormatList)->count(), 10);
    EXPECT_EQ(List(id::kPixelFormatList)->currentText(), "8 bits Indexed");
    EXPECT_EQ(static_cast<QLabel*>(C(id::kPixelDescription))->text(),
              "8 bits per pixel, indexed. 256 color.");

    // Choosing another entry changes the description with it.
    QComboBox* list = List(id::kPixelFormatList);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_TRUE(
        static_cast<QLabel*>(C(id::kPixelDescription))->text().startsWith("16 bits per pixel"));
}

TEST_F(OptionsDialogTest, PixelFormatOutsideTheListSelectsNothingAndDescribes24Bits) {
    OutputPhotoFormat r = Record(0, 1, options::kFormatBmp);
    r.iComboPixelFormat = 12;
    Open(r);
    EXPECT_EQ(List(id::kPixelFormatList)->currentIndex(), -1);
    EXPECT_EQ(static_cast<QLabel*>(C(id::kPixelDescription))->text(),
              "24 bits per pixel; 8 bits each are used for the red, green, and blue components.");
}

// ---- The stored quality ----

TEST_F(OptionsDialogTest, StoredQualityReplacesTheRecordsQuality) {
    store_.ints["Option/nCurrentJpegQuality"] = 55;
    OutputPhotoFormat r = Record(0, 1, options::kFormatJpg);
    r.nCurrentJpegQuality = 90;
    Open(r);
    EXPECT_EQ(Edit(id::kQualityEdit)->text(), "55");
    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nCurrentJpegQuality, 55);
}

TEST_F(OptionsDialogTest, CleanProfileShowsQuality80WhateverTheRecordHolds) {
    OutputPhotoFormat r = Record(0, 1, options::kFormatJpg);
    r.nCurrentJpegQuality = 33;
    Open(r);
    EXPECT_EQ(Edit(id::kQualityEdit)->text(), "80");
}

TEST_F(OptionsDialogTest, StoredQualityOutOfRangeRefusesEveryOkUntilCancel) {
    store_.ints["Option/nCurrentJpegQuality"] = 150;
    Open(OutputPhotoFormat{});  // TIF: the quality field is hidden
    ASSERT_FALSE(Shown(id::kQualityEdit));
    PressOk();
    PressOk();
    EXPECT_EQ(messages_.texts(),
              (std::vector<std::string>{"Please enter an integer between 1 and 100.",
                                        "Please enter an integer between 1 and 100."}));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(dialog_->failedControlId(), id::kQualityEdit);
    static_cast<QAbstractButton*>(C(id::kCancel))->click();
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_TRUE(store_.writes.empty());
    EXPECT_EQ(store_.ints["Option/nCurrentJpegQuality"], 150);
}

// ---- Clicks ----

TEST_F(OptionsDialogTest, SizeButtonsSetTheRuleAndItsFields) {
    Open(Record(0, 1));
    Click(id::kStretch);
    EXPECT_TRUE(Enabled(id::kHorizontalEdit));
    EXPECT_TRUE(Enabled(id::kHorizontalLabel));
    EXPECT_TRUE(Enabled(id::kVerticalEdit));
    EXPECT_TRUE(Enabled(id::kVerticalLabel));
    EXPECT_FALSE(Enabled(id::kWidthEdit));
    EXPECT_FALSE(Enabled(id::kKeepWithWidth));

    Click(id::kCustomSize);
    EXPECT_TRUE(Ticked(id::kCustomSize));
    EXPECT_FALSE(Ticked(id::kStretch));
    EXPECT_TRUE(Enabled(id::kWidthEdit));
    EXPECT_TRUE(Enabled(id::kKeepWithHeight));
    EXPECT_FALSE(Enabled(id::kVerticalEdit));
    EXPECT_FALSE(Enabled(id::kVerticalLabel));

    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nOuputSizeType, options::kSizeCustom);
}

TEST_F(OptionsDialogTest, KeepAspectBoxesExcludeEachOtherAndHideTheDerivedField) {
    Open(Record(1, 1));

    Click(id::kKeepWithWidth);  // unticked: both sides typed
    EXPECT_FALSE(Ticked(id::kKeepWithWidth));
    EXPECT_TRUE(Shown(id::kWidthEdit));
    EXPECT_TRUE(Shown(id::kHeightEdit));
    EXPECT_TRUE(Shown(id::kHeightLabel));

    Click(id::kKeepWithHeight);  // ticked: width follows the height
    EXPECT_TRUE(Ticked(id::kKeepWithHeight));
    EXPECT_FALSE(Ticked(id::kKeepWithWidth));
    EXPECT_FALSE(Shown(id::kWidthEdit));
    EXPECT_FALSE(Shown(id::kWidthLabel));
    EXPECT_TRUE(Shown(id::kHeightEdit));

    Click(id::kKeepWithWidth);  // ticked while the other one is: it takes over
    EXPECT_TRUE(Ticked(id::kKeepWithWidth));
    EXPECT_FALSE(Ticked(id::kKeepWithHeight));
    EXPECT_TRUE(Shown(id::kWidthEdit));
    EXPECT_FALSE(Shown(id::kHeightEdit));
    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nKeepAspectRatio, options::kKeepWithWidth);
}

TEST_F(OptionsDialogTest, UntickingKeepWithHeightShowsBothSides) {
    Open(Record(1, 2));
    Click(id::kKeepWithHeight);
    EXPECT_FALSE(Ticked(id::kKeepWithHeight));
    EXPECT_TRUE(Shown(id::kWidthEdit));
    EXPECT_TRUE(Shown(id::kHeightEdit));
    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nKeepAspectRatio, options::kKeepNone);
}

TEST_F(OptionsDialogTest, RotationAndFlipButtonsSetTheirCodes) {
    Open(OutputPhotoFormat{});
    Click(id::kRotate180);
    Click(id::kFlipVertical);
    EXPECT_FALSE(Ticked(id::kRotate0));
    EXPECT_FALSE(Ticked(id::kNoFlip));
    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nRotateAngel, 180);
    EXPECT_EQ(dialog_->record().nFlipType, options::kFlipVertical);
}

// ---- OK ----

TEST_F(OptionsDialogTest, OkKeepsTheTypedValuesAndWritesTheThreeKeysInOrder) {
    store_.ints["Option/nCurrentJpegQuality"] = 70;
    OutputPhotoFormat r = Record(2, 0, options::kFormatJpg);
    Open(r);
    Type(id::kQualityEdit, " 64 ");
    Type(id::kWidthEdit, "+800");
    Type(id::kHeightEdit, "600");
    Type(id::kHorizontalEdit, "0.5");
    Type(id::kVerticalEdit, "1e-3");
    PressOk();

    ASSERT_TRUE(Accepted());
    EXPECT_TRUE(messages_.shown.empty());
    const OutputPhotoFormat& out = dialog_->record();
    EXPECT_EQ(out.nCurrentJpegQuality, 64);
    EXPECT_EQ(out.nOutputWidth, 800);
    EXPECT_EQ(out.nOutputHeight, 600);
    EXPECT_DOUBLE_EQ(out.dStretchHorizontal, 0.5);
    EXPECT_DOUBLE_EQ(out.dStretchVertical, 0.001);
    EXPECT_EQ(out.nOuptputFormat, options::kFormatJpg);
    EXPECT_EQ(store_.writes,
              (std::vector<std::string>{"Option/nOuptputFormat", "Option/nCurrentJpegQuality",
                                        "Option/iComboPixelFormat"}));
    EXPECT_EQ(store_.ints["Option/nOuptputFormat"], options::kFormatJpg);
    EXPECT_EQ(store_.ints["Option/nCurrentJpegQuality"], 64);
    EXPECT_EQ(store_.ints["Option/iComboPixelFormat"], 4);
}

TEST_F(OptionsDialogTest, FactorsSurviveTheirFifteenDigitText) {
    OutputPhotoFormat r = Record(2, 1);
    r.dStretchHorizontal = 1.0 / 3.0;
    r.dStretchVertical = 123456.789;
    Open(r);
    EXPECT_EQ(Edit(id::kHorizontalEdit)->text(), "0.333333333333333");
    EXPECT_EQ(Edit(id::kVerticalEdit)->text(), "123456.789");
    PressOk();
    ASSERT_TRUE(Accepted());
    EXPECT_DOUBLE_EQ(dialog_->record().dStretchHorizontal, 0.333333333333333);
    EXPECT_DOUBLE_EQ(dialog_->record().dStretchVertical, 123456.789);
}

struct RefusalCase {
    const char* name;
    int32_t sizeType;
    int32_t keep;
    int32_t format;
    int field;
    const char* text;
    const char* message;
    int focusField;
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusalTest : public OptionsDialogTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, ShowsTheMessageKeepsTheDialogOpenAndFocusesTheField) {
    const RefusalCase c = GetParam();
    Open(Record(c.sizeType, c.keep, c.format));
    dialog_->activateWindow();
    Type(c.field, QString::fromUtf8(c.text));
    PressOk();

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, c.message);
    EXPECT_EQ(messages_.shown[0].caption, "Vellumo");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_NE(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(dialog_->failedControlId(), c.focusField);
    EXPECT_EQ(dialog_->focusWidget(), C(c.focusField));
    EXPECT_TRUE(store_.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachField, RefusalTest,
    ::testing::Values(
        RefusalCase{"QualityNotInteger", 0, 1, options::kFormatJpg, id::kQualityEdit, "8o",
                    "Please enter an integer.", id::kQualityEdit},
        RefusalCase{"QualityEmpty", 0, 1, options::kFormatJpg, id::kQualityEdit, "",
                    "Please enter an integer.", id::kQualityEdit},
        RefusalCase{"QualityZero", 0, 1, options::kFormatJpg, id::kQualityEdit, "0",
                    "Please enter an integer between 1 and 100.", id::kQualityEdit},
        RefusalCase{"Quality101", 0, 1, options::kFormatJpg, id::kQualityEdit, "101",
                    "Please enter an integer between 1 and 100.", id::kQualityEdit},
        RefusalCase{"WidthFraction", 1, 1, options::kFormatTif, id::kWidthEdit, "12.5",
                    "Please enter an integer.", id::kWidthEdit},
        RefusalCase{"WidthBeyond32Bits", 1, 1, options::kFormatTif, id::kWidthEdit, "4294967296",
                    "Please enter an integer.", id::kWidthEdit},
        RefusalCase{"HeightEmpty", 1, 0, options::kFormatTif, id::kHeightEdit, "",
                    "Please enter an integer.", id::kHeightEdit},
        RefusalCase{"HorizontalNotNumber", 2, 1, options::kFormatTif, id::kHorizontalEdit, "x",
                    "Please enter a number.", id::kHorizontalEdit},
        RefusalCase{"VerticalComma", 2, 1, options::kFormatTif, id::kVerticalEdit, "1,5",
                    "Please enter a number.", id::kVerticalEdit},
        RefusalCase{"VerticalNotANumber", 2, 1, options::kFormatTif, id::kVerticalEdit, "nan",
                    "Please enter a number.", id::kVerticalEdit},
        RefusalCase{"HorizontalZero", 2, 1, options::kFormatTif, id::kHorizontalEdit, "0",
                    "Please enter a number between 1e-06 and 1000000.", id::kHorizontalEdit},
        RefusalCase{"VerticalTooLarge", 2, 1, options::kFormatTif, id::kVerticalEdit, "1000001",
                    "Please enter a number between 1e-06 and 1000000.", id::kVerticalEdit},
        RefusalCase{"HorizontalNegative", 2, 1, options::kFormatTif, id::kHorizontalEdit, "-2",
                    "Please enter a number between 1e-06 and 1000000.", id::kHorizontalEdit}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) { return param.param.name; });

TEST_F(OptionsDialogTest, HiddenAndDisabledFieldsAreCheckedToo) {
    Open(OutputPhotoFormat{});  // original size: width disabled, height hidden
    Type(id::kHeightEdit, "tall");
    PressOk();
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(dialog_->failedControlId(), id::kHeightEdit);
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(OptionsDialogTest, OnlyTheFirstFailingFieldIsReported) {
    Open(Record(1, 0, options::kFormatJpg));
    Type(id::kQualityEdit, "200");
    Type(id::kWidthEdit, "wide");
    Type(id::kVerticalEdit, "0");
    PressOk();
    EXPECT_EQ(messages_.texts(),
              std::vector<std::string>{"Please enter an integer between 1 and 100."});

    Type(id::kQualityEdit, "90");
    messages_.shown.clear();
    PressOk();
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_EQ(dialog_->failedControlId(), id::kWidthEdit);
}

TEST_F(OptionsDialogTest, EnterInAFieldValidatesLikeOk) {
    Open(Record(1, 0));
    QLineEdit* width = Edit(id::kWidthEdit);
    width->setFocus();
    width->setText("abc");
    QTest::keyClick(width, Qt::Key_Return);
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{"Please enter an integer."});
    EXPECT_TRUE(dialog_->isVisible());

    width->setText("300");
    QTest::keyClick(width, Qt::Key_Return);
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(dialog_->record().nOutputWidth, 300);
}

TEST_F(OptionsDialogTest, CancelAndEscapeStoreNothing) {
    const OutputPhotoFormat original = Record(1, 1);
    Open(original);
    Click(id::kStretch);
    Type(id::kWidthEdit, "55");
    static_cast<QAbstractButton*>(C(id::kCancel))->click();
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_TRUE(store_.writes.empty());

    Open(original);
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_TRUE(store_.writes.empty());
}

}  // namespace
}  // namespace vellumo::app::dialogs
