// Every label and button of the window and its dialogs holds its text, measured with the
// font's metrics, and no text control runs into another. CTest runs this program at
// 96 dpi, at a 1.5x scale and at font dpi 144 (QT_SCALE_FACTOR, QT_FONT_DPI; the latter
// also with Qt's scaling off, where the fonts themselves grow), and in German.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <cmath>
#include <functional>
#include <memory>

#include "app/MainWindow.h"
#include "app/dialogs/AboutBox.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "shell/Translations.h"
#include "support/MemorySettingsStore.h"

namespace vellumo::app {
namespace {

QString Describe(const QWidget* control) {
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(control->metaObject()->className()),
             control->property("text").toString());
}

int Ceil(qreal value) {
    return static_cast<int>(std::ceil(value - 0.01));
}

// The size `text` needs in `font`, wrapped at `wrapWidth` when given.
QSize TextSize(const QFont& font, const QString& text, int wrapWidth = 0) {
    const QFontMetricsF metrics(font);
    const int flags = wrapWidth > 0 ? Qt::TextWordWrap : 0;
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, wrapWidth > 0 ? wrapWidth : 1e6, 1e6), flags, text);
    return {Ceil(bounds.width()), Ceil(std::max(bounds.height(), metrics.height()))};
}

QString LabelMisfit(const QLabel* label) {
    QString text = label->text();
    if (text.isEmpty()) {
        return {};  // a picture, or a text still to come
    }
    if (label->textFormat() == Qt::RichText || Qt::mightBeRichText(text)) {
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    }
    const QRect box = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                     -label->margin(), -label->margin());
    const QSize need = TextSize(label->font(), text, label->wordWrap() ? box.width() : 0);
    if (need.width() > box.width() || need.height() > box.height()) {
        return QStringLiteral("%1 needs %2x%3, has %4x%5")
            .arg(Describe(label))
            .arg(need.width())
            .arg(need.height())
            .arg(box.width())
            .arg(box.height());
    }
    return {};
}

QString ButtonMisfit(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    std::optional<QStyle::SubElement> indicator;
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        contents = QStyle::SE_RadioButtonContents;
        indicator = QStyle::SE_RadioButtonIndicator;
    } else if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        contents = QStyle::SE_CheckBoxContents;
        indicator = QStyle::SE_CheckBoxIndicator;
    }
    const QStyle* style = button->style();
    if (indicator && !button->rect().contains(style->subElementRect(*indicator, &option, button))) {
        return Describe(button) + QStringLiteral(": its indicator is cut");
    }
    if (option.text.isEmpty()) {
        return {};
    }
    const QRect box = style->subElementRect(contents, &option, button);
    const QSize need = TextSize(button->font(), option.text);
    if (need.width() > box.width() || need.height() > box.height()) {
        return QStringLiteral("%1 needs %2x%3, has %4x%5")
            .arg(Describe(button))
            .arg(need.width())
            .arg(need.height())
            .arg(box.width())
            .arg(box.height());
    }
    return {};
}

// What does not fit in `window`: texts cut, and text controls on top of others.
QStringList Misfits(const QWidget* window) {
    QStringList misfits;
    QList<const QWidget*> shown;
    for (const QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // Group boxes are frames drawn behind their buttons.
        if (!control->isHidden() && !control->isWindow() &&
            qobject_cast<const QGroupBox*>(control) == nullptr) {
            shown.append(control);
        }
    }
    for (const QWidget* control : shown) {
        QString misfit;
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            misfit = LabelMisfit(label);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            misfit = ButtonMisfit(button);
        } else {
            continue;
        }
        if (!misfit.isEmpty()) {
            misfits.append(misfit);
        }
        for (const QWidget* other : shown) {
            if (other != control && control->geometry().intersects(other->geometry())) {
                misfits.append(Describe(control) + QStringLiteral(" overlaps ") + Describe(other));
            }
        }
        if (!window->rect().contains(control->geometry())) {
            misfits.append(Describe(control) + QStringLiteral(" sticks out of the window"));
        }
    }
    return misfits;
}

struct Screen {
    const char* name;
    std::function<std::unique_ptr<QWidget>(shell::SettingsStore&)> open;
};
void PrintTo(const Screen& s, std::ostream* os) {
    *os << s.name;
}

std::unique_ptr<QWidget> Options(shell::SettingsStore& store, int32_t sizeType, int32_t format) {
    options::OutputPhotoFormat record;
    record.nOuputSizeType = sizeType;
    record.nOuptputFormat = format;
    auto dialog = std::make_unique<dialogs::CDialogPhotoOptions>(store);
    dialog->SetRecord(record);
    return dialog;
}

// The window keeps its working folder and log in a temporary Pictures folder.
std::unique_ptr<QWidget> MainWindowInTemporaryFolder(shell::SettingsStore& store) {
    static QTemporaryDir home;
    MainWindowServices services;
    const std::string pictures = home.filePath(QStringLiteral("Pictures")).toStdString();
    services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };
    return std::make_unique<MainWindow>(store, services);
}

const Screen kScreens[] = {
    {"MainWindow", [](auto& store) { return MainWindowInTemporaryFolder(store); }},
    {"OptionsOriginalTif",
     [](auto& store) { return Options(store, options::kSizeOriginal, options::kFormatTif); }},
    {"OptionsCustomJpeg",
     [](auto& store) { return Options(store, options::kSizeCustom, options::kFormatJpg); }},
    {"OptionsStretchBmp",
     [](auto& store) { return Options(store, options::kSizeStretch, options::kFormatBmp); }},
    {"About", [](auto&) { return std::make_unique<dialogs::AboutBox>(); }},
};

// The application font's point size: the desktop's own, and a common smaller one, whose
// dialog units leave less room than the style's radio circle needs.
const int kFontPoints[] = {0, 8};

class WindowFitTest : public ::testing::TestWithParam<std::tuple<Screen, int>> {};

TEST_P(WindowFitTest, EveryTextFitsItsBoxAndNoneOverlaps) {
    const auto& [screen, points] = GetParam();
    const QFont desktopFont = QApplication::font();
    if (points > 0) {
        QFont font = desktopFont;
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    test::MemorySettingsStore store;
    const std::unique_ptr<QWidget> window = screen.open(store);
    window->show();
    QApplication::processEvents();
    const QStringList misfits = Misfits(window.get());
    QApplication::setFont(desktopFont);
    EXPECT_TRUE(misfits.isEmpty()) << misfits.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowFitTest,
                         ::testing::Combine(::testing::ValuesIn(kScreens),
                                            ::testing::ValuesIn(kFontPoints)),
                         [](const auto& param) {
                             const int points = std::get<1>(param.param);
                             return std::string(std::get<0>(param.param).name) +
                                    (points > 0 ? "_" + std::to_string(points) + "pt" : "");
                         });

}  // namespace
}  // namespace vellumo::app

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    vellumo::shell::InstallTranslations();  // longer texts in some languages
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
