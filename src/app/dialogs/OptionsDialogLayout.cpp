// The controls of the photo output options dialog, placed in dialog units. Group boxes
// are frames drawn behind their buttons, not parents, so every control lives directly
// on the dialog and keeps the position the layout gives it.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/DialogUnits.h"
#include "app/dialogs/FitText.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

// Size of the client area in dialog units.
constexpr int kDialogWidth = 275;
constexpr int kDialogHeight = 254;
// Height of a closed drop-down list; the layout's larger heights include the open list.
constexpr int kListHeight = 14;

}  // namespace

QWidget* CDialogPhotoOptions::Add(int id, QWidget* widget, int x, int y, int width, int height) {
    widget->setGeometry(app::DialogUnits(font()).ToPixels(x, y, width, height));
    widget->setObjectName(QStringLiteral("control%1").arg(id));
    controls_[id] = widget;
    return widget;
}

void CDialogPhotoOptions::BuildControls() {
    using namespace ids;
    setWindowTitle(texts::Tr(texts::kOptionsTitle));
    const app::DialogUnits units(font());
    setFixedSize(units.ToPixelsX(kDialogWidth), units.ToPixelsY(kDialogHeight));

    // Frames first, so the controls drawn over them stay on top.
    auto* sizeFrame = new QGroupBox(texts::Tr(texts::kOutputSize), this);
    Add(kSizeGroup, sizeFrame, 7, 28, 261, 93);
    auto* rotateFrame = new QGroupBox(texts::Tr(texts::kRotateByAngle), this);
    Add(kRotateGroup, rotateFrame, 7, 150, 77, 69);
    auto* flipFrame = new QGroupBox(texts::Tr(texts::kFlip), this);
    Add(kFlipGroup, flipFrame, 103, 153, 99, 64);

    Add(kFormatLabel, new QLabel(texts::Tr(texts::kOutputFormat), this), 13, 12, 66, 8);
    formatList_ = new QComboBox(this);
    Add(kFormatList, formatList_, 115, 9, 123, kListHeight);

    sizeGroup_ = new QButtonGroup(this);
    auto* original = new QRadioButton(texts::Tr(texts::kOriginalSize), this);
    Add(kOriginalSize, original, 10, 43, 88, 10);
    auto* custom = new QRadioButton(this);
    custom->setAccessibleName(texts::Tr(texts::kCustomSize));
    Add(kCustomSize, custom, 10, 72, 16, 8);
    auto* stretch = new QRadioButton(texts::Tr(texts::kStretch), this);
    Add(kStretch, stretch, 10, 102, 46, 10);
    sizeGroup_->addButton(original, kOriginalSize);
    sizeGroup_->addButton(custom, kCustomSize);
    sizeGroup_->addButton(stretch, kStretch);

    Add(kWidthLabel, new QLabel(texts::Tr(texts::kOutputWidth), this), 22, 62, 60, 8);
    widthEdit_ = new QLineEdit(this);
    Add(kWidthEdit, widthEdit_, 93, 60, 40, 14);
    keepWithWidth_ = new QCheckBox(texts::Tr(texts::kKeepWithWidth), this);
    Add(kKeepWithWidth, keepWithWidth_, 140, 63, 123, 10);
    Add(kHeightLabel, new QLabel(texts::Tr(texts::kOutputHeight), this), 22, 80, 60, 8);
    heightEdit_ = new QLineEdit(this);
    Add(kHeightEdit, heightEdit_, 93, 77, 40, 14);
    keepWithHeight_ = new QCheckBox(texts::Tr(texts::kKeepWithHeight), this);
    Add(kKeepWithHeight, keepWithHeight_, 140, 80, 123, 10);

    Add(kHorizontalLabel, new QLabel(texts::Tr(texts::kHorizontal), this), 68, 103, 36, 8);
    horizontalEdit_ = new QLineEdit(this);
    Add(kHorizontalEdit, horizontalEdit_, 111, 100, 30, 14);
    Add(kVerticalLabel, new QLabel(texts::Tr(texts::kVertical), this), 164, 103, 36, 8);
    verticalEdit_ = new QLineEdit(this);
    Add(kVerticalEdit, verticalEdit_, 207, 100, 28, 14);

    Add(kPixelFormatLabel, new QLabel(texts::Tr(texts::kPixelFormat), this), 7, 129, 67, 14);
    pixelFormatList_ = new QComboBox(this);
    Add(kPixelFormatList, pixelFormatList_, 90, 129, 94, kListHeight);
    pixelDescription_ = new QLabel(this);
    pixelDescription_->setWordWrap(true);
    pixelDescription_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Add(kPixelDescription, pixelDescription_, 207, 131, 61, 98);

    Add(kQualityLabel, new QLabel(texts::Tr(texts::kQualityControl), this), 7, 132, 73, 8);
    qualityEdit_ = new QLineEdit(this);
    Add(kQualityEdit, qualityEdit_, 90, 129, 40, 14);
    Add(kQualityRange, new QLabel(texts::Tr(texts::kQualityRange), this), 143, 131, 66, 8);

    rotateGroup_ = new QButtonGroup(this);
    const int rotateIds[] = {kRotate0, kRotate90, kRotate180, kRotate270};
    const char* rotateTexts[] = {"0", "90", "180", "270"};
    const int rotateTops[] = {164, 177, 190, 204};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(rotateTexts[i]), this);
        Add(rotateIds[i], button, 17, rotateTops[i], 50, 10);
        rotateGroup_->addButton(button, rotateIds[i]);
    }

    flipGroup_ = new QButtonGroup(this);
    const int flipIds[] = {kNoFlip, kFlipHorizontal, kFlipVertical};
    const std::string_view flipTexts[] = {texts::kNoFlip, texts::kFlipHorizontal,
                                          texts::kFlipVertical};
    const int flipTops[] = {166, 181, 197};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(texts::Tr(flipTexts[i]), this);
        Add(flipIds[i], button, 120, flipTops[i], 78, 10);
        flipGroup_->addButton(button, flipIds[i]);
    }

    auto* ok = new QPushButton(texts::Tr(texts::kOk), this);
    ok->setDefault(true);
    Add(kOk, ok, 53, 233, 50, 14);
    auto* cancel = new QPushButton(texts::Tr(texts::kCancel), this);
    Add(kCancel, cancel, 161, 233, 50, 14);

    app::FitTextControls(this);
    for (QGroupBox* frame : {sizeFrame, rotateFrame, flipFrame}) {
        frame->lower();
        frame->setFocusPolicy(Qt::NoFocus);
    }

    connect(sizeGroup_, &QButtonGroup::idClicked, this, &CDialogPhotoOptions::OnSizeClicked);
    connect(rotateGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { record_.nRotateAngel = (id - kRotate0) * 90; });
    connect(flipGroup_, &QButtonGroup::idClicked, this,
            [this](int id) { record_.nFlipType = id - kNoFlip; });
    connect(keepWithWidth_, &QCheckBox::clicked, this,
            &CDialogPhotoOptions::OnKeepWithWidthClicked);
    connect(keepWithHeight_, &QCheckBox::clicked, this,
            &CDialogPhotoOptions::OnKeepWithHeightClicked);
    connect(pixelFormatList_, &QComboBox::activated, this,
            &CDialogPhotoOptions::ShowPixelFormatDescription);
    connect(formatList_, &QComboBox::activated, this, [this](int index) {
        record_.nOuptputFormat = index;
        ApplyFormatRule();
    });
    connect(ok, &QPushButton::clicked, this, &CDialogPhotoOptions::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace vellumo::app::dialogs
