#include "app/dialogs/CaptionFontDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

struct NamedColour {
    const char* name;
    options::ColorRef value;
};

// The sixteen colours a font dialog traditionally offers, black first.
constexpr NamedColour kColours[] = {
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Black"), options::MakeColorRef(0, 0, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Maroon"), options::MakeColorRef(128, 0, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Green"), options::MakeColorRef(0, 128, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Olive"), options::MakeColorRef(128, 128, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Navy"), options::MakeColorRef(0, 0, 128)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Purple"), options::MakeColorRef(128, 0, 128)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Teal"), options::MakeColorRef(0, 128, 128)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Gray"), options::MakeColorRef(128, 128, 128)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Silver"), options::MakeColorRef(192, 192, 192)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Red"), options::MakeColorRef(255, 0, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Lime"), options::MakeColorRef(0, 255, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Yellow"), options::MakeColorRef(255, 255, 0)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Blue"), options::MakeColorRef(0, 0, 255)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Fuchsia"), options::MakeColorRef(255, 0, 255)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "Aqua"), options::MakeColorRef(0, 255, 255)},
    {QT_TRANSLATE_NOOP("vellumo-dialogs", "White"), options::MakeColorRef(255, 255, 255)},
};

QIcon Swatch(options::ColorRef colour) {
    QPixmap pixmap(16, 12);
    pixmap.fill(QColor(options::RedOf(colour), options::GreenOf(colour), options::BlueOf(colour)));
    return QIcon(pixmap);
}

}  // namespace

CaptionFontDialog::CaptionFontDialog(const QFont& initial, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      chooser_(new QFontDialog(initial, this)),
      colours_(new QComboBox(this)) {
    setWindowTitle(texts::Tr(texts::kFontTitle));
    // The chooser is used as a plain widget inside this dialog, with our own buttons.
    chooser_->setWindowFlags(Qt::Widget);
    chooser_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    chooser_->setCurrentFont(initial);

    for (const NamedColour& colour : kColours) {
        colours_->addItem(Swatch(colour.value), texts::Tr(colour.name),
                          static_cast<uint>(colour.value));
    }
    colours_->setCurrentIndex(0);

    auto* colourRow = new QHBoxLayout;
    auto* colourLabel = new QLabel(texts::Tr(texts::kFontColour), this);
    colourLabel->setBuddy(colours_);
    colourRow->addWidget(colourLabel);
    colourRow->addWidget(colours_);
    colourRow->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chooser_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
}

QFont CaptionFontDialog::selectedFont() const {
    return chooser_->currentFont();
}

options::ColorRef CaptionFontDialog::selectedColour() const {
    return static_cast<options::ColorRef>(colours_->currentData().toUInt());
}

}  // namespace vellumo::app::dialogs
