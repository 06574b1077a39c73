#include "app/dialogs/CDialogPhotoOptions.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/dialogs/FieldText.h"
#include "app/dialogs/MessageBoxes.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

using namespace ids;
namespace opt = options;

constexpr std::string_view kQualityKey = "nCurrentJpegQuality";
constexpr std::string_view kFormatKey = "nOuptputFormat";
constexpr std::string_view kPixelFormatKey = "iComboPixelFormat";

// Selects `index` in `list`, or nothing when the index is not one of its entries.
void SelectIndex(QComboBox* list, int32_t index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void Check(QAbstractButton* button, bool checked) {
    button->setChecked(checked);
}

}  // namespace

CDialogPhotoOptions::CDialogPhotoOptions(shell::SettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      store_(store) {
    setModal(true);
    BuildControls();
}

QWidget* CDialogPhotoOptions::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CDialogPhotoOptions::showEvent(QShowEvent* event) {
    InitDialog();
    QDialog::showEvent(event);
}

void CDialogPhotoOptions::InitDialog() {
    if (initialised_) {
        return;
    }
    initialised_ = true;

    // 1. Fill both lists, then show the members.
    for (std::string_view text : opt::kFormatListTexts) {
        formatList_->addItem(ToQString(text));
    }
    for (const opt::PixelFormatEntry& entry : opt::PixelFormatList()) {
        pixelFormatList_->addItem(base::Tr("vellumo-options", entry.listText));
    }
    TransferToControls();

    // 2. The quality last confirmed in any options dialog replaces the record's.
    record_.nCurrentJpegQuality = store_.ReadInt(shell::kOptionSection, kQualityKey, 80);

    // 3. Rotation.
    switch (record_.nRotateAngel) {
        case 0:
        case 90:
        case 180:
        case 270:
            Check(rotateGroup_->button(kRotate0 + record_.nRotateAngel / 90), true);
            break;
        default:
            ShowMessage(this, texts::TrUtf8(texts::kUnknownRotateAngle),
                        texts::TrUtf8(texts::kError), ui::MessageStyle::Error);
            break;
    }

    // 4. Flip.
    if (record_.nFlipType >= opt::kFlipNone && record_.nFlipType <= opt::kFlipVertical) {
        Check(flipGroup_->button(kNoFlip + record_.nFlipType), true);
    } else {
        ShowMessage(this, texts::TrUtf8(texts::kUnknownFlipType), texts::TrUtf8(texts::kError),
                    ui::MessageStyle::Error);
    }

    // 5. Pixel format and its description.
    SelectIndex(pixelFormatList_, record_.iComboPixelFormat);
    ShowPixelFormatDescription();

    // 6. Size rule, then keep-aspect rule.
    ApplySizeRule();
    ApplyKeepAspectRule();

    // 7. Format and the fields that go with it.
    SelectIndex(formatList_, record_.nOuptputFormat);
    ApplyFormatRule();

    // 8. The format choice is never offered.
    SetShown({kFormatLabel, kFormatList}, false);

    // 9. Show the members again, now with the stored quality.
    TransferToControls();
}

void CDialogPhotoOptions::TransferToControls() {
    SelectIndex(formatList_, record_.nOuptputFormat);
    SelectIndex(pixelFormatList_, record_.iComboPixelFormat);
    qualityEdit_->setText(ToQString(FormatInteger(record_.nCurrentJpegQuality)));
    widthEdit_->setText(ToQString(FormatInteger(record_.nOutputWidth)));
    heightEdit_->setText(ToQString(FormatInteger(record_.nOutputHeight)));
    horizontalEdit_->setText(ToQString(FormatFactor(record_.dStretchHorizontal)));
    verticalEdit_->setText(ToQString(FormatFactor(record_.dStretchVertical)));
}

void CDialogPhotoOptions::SetShown(std::initializer_list<int> controls, bool shown) {
    for (int id : controls) {
        controls_.at(id)->setVisible(shown);
    }
}

void CDialogPhotoOptions::SetEnabled(std::initializer_list<int> controls, bool enabled) {
    for (int id : controls) {
        controls_.at(id)->setEnabled(enabled);
    }
}

void CDialogPhotoOptions::ApplySizeRule() {
    switch (record_.nOuputSizeType) {
        case opt::kSizeOriginal:
            Check(sizeGroup_->button(kOriginalSize), true);
            SetEnabled({kWidthEdit, kHeightEdit, kKeepWithWidth, kKeepWithHeight, kHorizontalEdit,
                        kHorizontalLabel, kVerticalLabel, kVerticalEdit},
                       false);
            break;
        case opt::kSizeCustom:
            Check(sizeGroup_->button(kCustomSize), true);
            SetEnabled({kWidthEdit, kHeightEdit, kKeepWithWidth, kKeepWithHeight}, true);
            SetEnabled({kHorizontalEdit, kHorizontalLabel, kVerticalLabel, kVerticalEdit}, false);
            break;
        case opt::kSizeStretch:
            Check(sizeGroup_->button(kStretch), true);
            SetEnabled({kWidthEdit, kHeightEdit, kKeepWithWidth, kKeepWithHeight}, false);
            SetEnabled({kHorizontalEdit, kHorizontalLabel, kVerticalLabel, kVerticalEdit}, true);
            break;
        default:
            ShowMessage(this, texts::TrUtf8(texts::kUnknownSizeType), texts::TrUtf8(texts::kError),
                        ui::MessageStyle::Error);
            break;
    }
}

void CDialogPhotoOptions::ApplyKeepAspectRule() {
    switch (record_.nKeepAspectRatio) {
        case opt::kKeepNone:
            Check(keepWithWidth_, false);
            Check(keepWithHeight_, false);
            SetShown({kWidthLabel, kWidthEdit, kHeightLabel, kHeightEdit}, true);
            break;
        case opt::kKeepWithWidth:
            Check(keepWithWidth_, true);
            Check(keepWithHeight_, false);
            SetShown({kWidthLabel, kWidthEdit}, true);
            SetShown({kHeightLabel, kHeightEdit}, false);
            break;
        case opt::kKeepWithHeight:
            Check(keepWithWidth_, false);
            Check(keepWithHeight_, true);
            SetShown({kWidthLabel, kWidthEdit}, false);
            SetShown({kHeightLabel, kHeightEdit}, true);
            break;
        default:
            ShowMessage(this, texts::TrUtf8(texts::kUnknownKeepAspect),
                        texts::TrUtf8(texts::kError), ui::MessageStyle::Error);
            break;
    }
}

void CDialogPhotoOptions::ApplyFormatRule() {
    switch (record_.nOuptputFormat) {
        case opt::kFormatBmp:
            SetShown({kPixelFormatLabel, kPixelFormatList, kPixelDescription}, true);
            SetShown({kQualityLabel, kQualityEdit, kQualityRange}, false);
            break;
        case opt::kFormatJpg:
            SetShown({kPixelFormatLabel, kPixelFormatList, kPixelDescription}, false);
            SetShown({kQualityLabel, kQualityEdit, kQualityRange}, true);
            break;
        case opt::kFormatPng:
        case opt::kFormatTif:
        case opt::kFormatTif + 1:
            SetShown({kPixelFormatLabel, kPixelFormatList, kPixelDescription, kQualityLabel,
                      kQualityEdit, kQualityRange},
                     false);
            break;
        default:
            ShowMessage(this, texts::TrUtf8(texts::kUnknownFormat),
                        texts::TrUtf8(texts::kLowerError), ui::MessageStyle::Error);
            break;
    }
}

void CDialogPhotoOptions::ShowPixelFormatDescription() {
    // No selection stands for the 24-bit format, like any index outside the list.
    pixelFormat_ = &opt::PixelFormatAt(pixelFormatList_->currentIndex());
    pixelDescription_->setText(base::Tr("vellumo-options", pixelFormat_->description));
}

void CDialogPhotoOptions::OnSizeClicked(int id) {
    record_.nOuputSizeType = id - kOriginalSize;
    ApplySizeRule();
}

void CDialogPhotoOptions::OnKeepWithWidthClicked() {
    const bool ticked = keepWithWidth_->isChecked();
    record_.nKeepAspectRatio = ticked ? opt::kKeepWithWidth : opt::kKeepNone;
    SetShown({kWidthLabel, kWidthEdit}, true);
    SetShown({kHeightLabel, kHeightEdit}, !ticked);
    Check(keepWithHeight_, false);
}

void CDialogPhotoOptions::OnKeepWithHeightClicked() {
    const bool ticked = keepWithHeight_->isChecked();
    record_.nKeepAspectRatio = ticked ? opt::kKeepWithHeight : opt::kKeepNone;
    SetShown({kWidthLabel, kWidthEdit}, !ticked);
    SetShown({kHeightLabel, kHeightEdit}, true);
    Check(keepWithWidth_, false);
}

bool CDialogPhotoOptions::Refuse(std::string_view message, int fieldId) {
    failedControlId_ = fieldId;
    ShowMessage(this, message, texts::kApplicationName, ui::MessageStyle::Warning);
    auto* field = static_cast<QLineEdit*>(controls_.at(fieldId));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

void CDialogPhotoOptions::OnOk() {
    // 1. Every field, hidden or disabled ones included, in this order; the first one
    // that fails keeps the dialog open and nothing is stored.
    const auto quality = ParseInteger(qualityEdit_->text().toStdString());
    if (!quality) {
        Refuse(texts::TrUtf8(texts::kEnterInteger), kQualityEdit);
        return;
    }
    if (*quality < opt::kQualityMin || *quality > opt::kQualityMax) {
        Refuse(FillBounds(texts::TrUtf8(texts::kEnterIntegerBetween),
                          FormatInteger(opt::kQualityMin), FormatInteger(opt::kQualityMax)),
               kQualityEdit);
        return;
    }
    const auto width = ParseInteger(widthEdit_->text().toStdString());
    if (!width) {
        Refuse(texts::TrUtf8(texts::kEnterInteger), kWidthEdit);
        return;
    }
    const auto height = ParseInteger(heightEdit_->text().toStdString());
    if (!height) {
        Refuse(texts::TrUtf8(texts::kEnterInteger), kHeightEdit);
        return;
    }
    const auto horizontal = ParseNumber(horizontalEdit_->text().toStdString());
    if (!horizontal) {
        Refuse(texts::TrUtf8(texts::kEnterNumber), kHorizontalEdit);
        return;
    }
    const auto vertical = ParseNumber(verticalEdit_->text().toStdString());
    if (!vertical) {
        Refuse(texts::TrUtf8(texts::kEnterNumber), kVerticalEdit);
        return;
    }
    const std::string factorRange =
        FillBounds(texts::TrUtf8(texts::kEnterNumberBetween), FormatFactor(opt::kStretchMin),
                   FormatFactor(opt::kStretchMax));
    const auto inFactorRange = [](double f) {
        return f >= opt::kStretchMin && f <= opt::kStretchMax;
    };
    if (!inFactorRange(*horizontal)) {
        Refuse(factorRange, kHorizontalEdit);
        return;
    }
    if (!inFactorRange(*vertical)) {
        Refuse(factorRange, kVerticalEdit);
        return;
    }
    failedControlId_ = 0;
    record_.nCurrentJpegQuality = *quality;
    record_.nOutputWidth = *width;
    record_.nOutputHeight = *height;
    record_.dStretchHorizontal = *horizontal;
    record_.dStretchVertical = *vertical;

    // 2. to 4. The two list choices and the quality are remembered. A list without a
    // selection (a value outside it was given) keeps the value it was given.
    if (formatList_->currentIndex() >= 0) {
        record_.nOuptputFormat = formatList_->currentIndex();
    }
    store_.WriteInt(shell::kOptionSection, kFormatKey, record_.nOuptputFormat);
    store_.WriteInt(shell::kOptionSection, kQualityKey, record_.nCurrentJpegQuality);
    if (pixelFormatList_->currentIndex() >= 0) {
        record_.iComboPixelFormat = pixelFormatList_->currentIndex();
    }
    store_.WriteInt(shell::kOptionSection, kPixelFormatKey, record_.iComboPixelFormat);

    // 5.
    accept();
}

}  // namespace vellumo::app::dialogs
