// The About box, the caption font picker and the load list picker.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QTest>

#include "app/dialogs/AboutBox.h"
#include "app/dialogs/AppIcon.h"
#include "app/dialogs/CaptionFontDialog.h"
#include "app/dialogs/CaptionFontPicker.h"
#include "app/dialogs/LoadList.h"
#include "app/dialogs/ProductInfo.h"

namespace vellumo::app::dialogs {
namespace {

TEST(AboutBoxTest, ShowsNameVersionMakerAndBothAddresses) {
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.lines(), (QStringList{"Vellumo", "Version 1.0", "Orlenwick", ProductHomepage(),
                                        ContactPage(),
                                        "Free software: GNU GPL, version 3 or later"}));
    // Every line is on screen, one under the other.
    const auto& labels = box.lineLabels();
    ASSERT_EQ(labels.size(), 6);
    for (int i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(labels[i]->text().contains(box.lines()[i].toHtmlEscaped())) << i;
        if (i > 0) {
            EXPECT_GT(labels[i]->y(), labels[i - 1]->y());
        }
        EXPECT_LE(labels[i]->geometry().right(), box.width());
    }
    EXPECT_FALSE(ApplicationIcon().isNull());
    EXPECT_EQ(ApplicationIcon().availableSizes().size(), 7);
}

TEST(AboutBoxTest, OkCloses) {
    AboutBox box;
    box.show();
    const auto buttons = box.findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    buttons[0]->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

TEST(CaptionFontTest, RecordAndFontConvertBothWays) {
    options::CaptionFont record;
    record.lfHeight = -20;
    record.lfWeight = 700;
    record.lfItalic = 1;
    record.lfUnderline = 1;
    record.lfStrikeOut = 0;
    record.lfCharSet = 2;
    record.lfFaceName = "DejaVu Serif";
    const QFont font = ToQFont(record);
    EXPECT_EQ(font.family(), "DejaVu Serif");
    EXPECT_EQ(font.pixelSize(), 20);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    // Members a font does not carry are kept from the record it came from.
    EXPECT_EQ(FromQFont(font, record), record);
}

TEST(CaptionFontTest, PointSizesBecomePixelHeightsAt96Dpi) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(12);
    font.setStrikeOut(true);
    const options::CaptionFont record = FromQFont(font, options::CaptionFont{});
    EXPECT_EQ(record.lfHeight, -16);
    EXPECT_EQ(record.lfWeight, 400);
    EXPECT_EQ(record.lfStrikeOut, 1);
    EXPECT_EQ(record.lfFaceName, "DejaVu Sans");
}

TEST(CaptionFontTest, ExtremeStoredValuesGiveAUsableFont) {
    options::CaptionFont record;
    record.lfHeight = std::numeric_limits<int32_t>::min();
    record.lfWeight = 0;
    const QFont font = ToQFont(record);
    EXPECT_GT(font.pixelSize(), 0);
    EXPECT_EQ(font.weight(), QFont::Normal);
    record.lfWeight = 5000;
    EXPECT_EQ(ToQFont(record).weight(), 1000);
}

TEST(CaptionFontTest, ChoiceReplacesFontAndColourAndShowsTheFace) {
    options::CaptionFont chosen;
    chosen.lfFaceName = "DejaVu Sans Mono";
    chosen.lfHeight = -30;
    const auto previous = SetFontPicker([&](QWidget*, const options::CaptionFont& initial) {
        EXPECT_EQ(initial.lfHeight, -13);  // the picker starts from the caption font
        return std::optional<CaptionFontChoice>(
            CaptionFontChoice{chosen, options::MakeColorRef(255, 0, 0)});
    });
    options::CaptionFont font;
    options::ColorRef colour = 0;
    QLabel face;
    EXPECT_TRUE(ChooseCaptionFont(nullptr, font, colour, &face));
    EXPECT_EQ(font, chosen);
    EXPECT_EQ(colour, 0x0000FFu);
    EXPECT_EQ(face.text(), "DejaVu Sans Mono");

    SetFontPicker(
        [](QWidget*, const options::CaptionFont&) { return std::optional<CaptionFontChoice>(); });
    const options::CaptionFont before = font;
    EXPECT_FALSE(ChooseCaptionFont(nullptr, font, colour, &face));
    EXPECT_EQ(font, before);
    EXPECT_EQ(colour, 0x0000FFu);
    SetFontPicker(previous);
}

TEST(CaptionFontDialogTest, StartsAtTheGivenFontAndAtBlack) {
    QFont initial(QStringLiteral("DejaVu Serif"));
    initial.setPixelSize(24);
    initial.setUnderline(true);
    CaptionFontDialog dialog(initial);
    EXPECT_EQ(dialog.windowTitle(), "Font");
    EXPECT_EQ(dialog.selectedColour(), 0u);
    EXPECT_EQ(dialog.colourList()->count(), 16);
    EXPECT_TRUE(dialog.selectedFont().underline());

    dialog.colourList()->setCurrentIndex(dialog.colourList()->findText("Blue"));
    EXPECT_EQ(dialog.selectedColour(), options::MakeColorRef(0, 0, 255));
}

TEST(LoadListTest, AsksForAListFileInTheOutputFolder) {
    QString title, folder, filter;
    const auto previous =
        SetOpenFileFunction([&](QWidget*, const QString& t, const QString& f, const QString& p) {
            title = t;
            folder = f;
            filter = p;
            return QStringLiteral("/out/list.ini");
        });
    EXPECT_EQ(LoadListCommand(nullptr, "/out/"), "/out/list.ini");
    EXPECT_EQ(title, "Select an ini file...");
    EXPECT_EQ(folder, "/out/");
    EXPECT_EQ(filter, "brindle list file(*.ini)");
    SetOpenFileFunction(previous);
}

}  // namespace
}  // namespace vellumo::app::dialogs
