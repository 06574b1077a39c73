#include "app/dialogs/AboutBox.h"

#include <QLabel>
#include <QPushButton>

#include "app/dialogs/AppIcon.h"
#include "app/dialogs/DialogUnits.h"
#include "app/dialogs/FitText.h"
#include "app/dialogs/Launchers.h"
#include "app/dialogs/ProductInfo.h"
#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {

using base::ToQString;
namespace {

QString Link(const QString& address) {
    return QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped());
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    const app::DialogUnits du(font());
    setWindowTitle(texts::Tr(texts::kAboutTitle));
    setFixedSize(du.ToPixelsX(212), du.ToPixelsY(132));

    auto* icon = new QLabel(this);
    const int iconSide = std::max(32, du.ToPixelsX(21));
    icon->setPixmap(ApplicationIcon().pixmap(iconSide, iconSide));
    icon->setGeometry(du.ToPixelsX(11), du.ToPixelsY(14), iconSide, iconSide);

    struct Line {
        QString text;
        bool link;
    };
    const Line lineTexts[] = {{ToQString(texts::kProductName), false},
                              {VersionText(), false},
                              {ToQString(texts::kMakerName), false},
                              {ProductHomepage(), true},
                              {ContactPage(), true},
                              {texts::Tr(texts::kLicence), false}};
    int top = 12;
    for (const Line& line : lineTexts) {
        auto* label = new QLabel(this);
        if (line.link) {
            label->setTextFormat(Qt::RichText);
            label->setText(Link(line.text));
            label->setTextInteractionFlags(Qt::TextBrowserInteraction);
            connect(label, &QLabel::linkActivated, this,
                    [](const QString& address) { OpenUrl(QUrl(address)); });
        } else {
            label->setText(line.text);
        }
        label->setGeometry(du.ToPixels(45, top, 160, 10));
        lines_.append(label);
        lineTexts_.append(line.text);
        top += 14;
    }
    QFont bold = lines_.front()->font();
    bold.setBold(true);
    lines_.front()->setFont(bold);

    auto* ok = new QPushButton(texts::Tr(texts::kOk), this);
    ok->setDefault(true);
    ok->setGeometry(du.ToPixels(81, 111, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    app::FitTextControls(this);
}

QStringList AboutBox::lines() const {
    return lineTexts_;
}

void ShowAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

}  // namespace vellumo::app::dialogs
