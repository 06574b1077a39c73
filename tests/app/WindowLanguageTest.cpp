// The window, its dialogs, the engine's messages and the command line speak the locale's
// language. CTest runs the German case under LANG=de_DE.UTF-8 and the English one under
// C, en_US and fr_FR (no translation); English is the source and must come through byte
// for byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <functional>

#include "app/MainWindow.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "convert/Messages.h"
#include "shell/Translations.h"
#include "support/MemorySettingsStore.h"

namespace vellumo::app {
namespace {

namespace ids = dialogs::ids;

// Every text the window shows or may show, in creation order.
QStringList Texts(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QObject* child : window.children()) {
        if (const auto* label = qobject_cast<const QLabel*>(child)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(child)) {
            texts << button->text();
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(child)) {
            texts << frame->title();
        } else if (const auto* list = qobject_cast<const QComboBox*>(child)) {
            for (int i = 0; i < list->count(); ++i) {
                texts << list->itemText(i);
            }
        } else if (const auto* table = qobject_cast<const QTableWidget*>(child)) {
            for (int i = 0; i < table->columnCount(); ++i) {
                texts << table->horizontalHeaderItem(i)->text();
            }
        }
    }
    return texts;
}

struct Windows {
    test::MemorySettingsStore store;
    QTemporaryDir home;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<dialogs::CDialogPhotoOptions> options;

    Windows() {
        MainWindowServices services;
        const std::string pictures = home.filePath(QStringLiteral("Pictures")).toStdString();
        services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };
        main = std::make_unique<MainWindow>(store, services);
        options = std::make_unique<dialogs::CDialogPhotoOptions>(store);
        options->show();  // fills its lists
    }
    QStringList AllTexts() const { return Texts(*main) + Texts(*options); }
};

// The command line's message for a folder given without -r.
QString CliFolderMessage() {
    QTemporaryDir folder;
    QProcess cli;
    cli.start(QStringLiteral(VELLUMO_CLI_PATH),
              {folder.path(), QStringLiteral("-o"), folder.filePath(QStringLiteral("out.tif"))});
    cli.waitForFinished(-1);
    return QString::fromUtf8(cli.readAllStandardError()).section(QLatin1Char('\n'), 0, 0);
}

struct Sample {
    const char* what;
    std::function<QString(const Windows&)> text;
    QString english;
    QString german;
};

const Sample kSamples[] = {
    {"button", [](const Windows& w) { return w.main->controls().addPhotos->text(); },
     QStringLiteral("Add Photos"), QStringLiteral("Fotos hinzufügen")},
    {"label", [](const Windows& w) { return w.main->controls().outputFileLabel->text(); },
     QStringLiteral("Output file:"), QStringLiteral("Ausgabedatei:")},
    {"column heading",
     [](const Windows& w) { return w.main->controls().photoList->horizontalHeaderItem(4)->text(); },
     QStringLiteral("Output Width * Height"), QStringLiteral("Ausgabe Breite * Höhe")},
    {"dialog title", [](const Windows& w) { return w.options->windowTitle(); },
     QStringLiteral("Photo Output Options"), QStringLiteral("Ausgabeoptionen für Fotos")},
    {"dialog check box",
     [](const Windows& w) {
         return static_cast<QAbstractButton*>(w.options->Control(ids::kKeepWithWidth))->text();
     },
     QStringLiteral("Keep aspect ratio with width"),
     QStringLiteral("Seitenverhältnis nach Breite")},
    {"pixel format",
     [](const Windows& w) {
         return static_cast<QComboBox*>(w.options->Control(ids::kPixelFormatList))->itemText(4);
     },
     QStringLiteral("24 bits RGB"), QStringLiteral("24 Bit RGB")},
    {"engine message",
     [](const Windows&) {
         return QString::fromStdString(convert::text::TrUtf8(convert::text::kFailedToSave));
     },
     QStringLiteral("Failed to save the file!"),
     QStringLiteral("Die Datei konnte nicht gespeichert werden!")},
    {"Qt's own button",
     [](const Windows&) {
         return QDialogButtonBox(QDialogButtonBox::Yes).button(QDialogButtonBox::Yes)->text();
     },
     QStringLiteral("&Yes"), QStringLiteral("&Ja")},
    {"command line", [](const Windows&) { return CliFolderMessage().section(QLatin1Char(' '), 2); },
     QStringLiteral("is a folder (use -r to search it for photos)"),
     QStringLiteral("ist ein Ordner (mit -r wird er nach Fotos durchsucht)")},
};

// Texts German writes as English does.
const QStringList kSameInGerman = {QString(),
                                   QStringLiteral("Vellumo"),
                                   QStringLiteral("OK"),
                                   QStringLiteral("Horizontal:"),
                                   QStringLiteral("Position x, y:"),
                                   QStringLiteral("0"),
                                   QStringLiteral("90"),
                                   QStringLiteral("180"),
                                   QStringLiteral("270"),
                                   QStringLiteral("BMP"),
                                   QStringLiteral("JPG"),
                                   QStringLiteral("PNG"),
                                   QStringLiteral("TIF")};

TEST(WindowLanguage, GermanLocaleShowsEveryTextInGerman) {
    ASSERT_EQ(shell::InstallTranslations(), QStringLiteral("de"));
    const Windows german;
    for (const Sample& sample : kSamples) {
        EXPECT_EQ(sample.text(german), sample.german) << sample.what;
    }

    // The same windows without the translations give the English texts to compare with.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
    }
    const Windows english;
    const QStringList translated = german.AllTexts();
    const QStringList source = english.AllTexts();
    ASSERT_EQ(translated.size(), source.size());
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (!kSameInGerman.contains(source[i])) {
            EXPECT_NE(translated[i], source[i]) << "not translated";
        }
    }
}

TEST(WindowLanguage, OtherLocalesShowTheEnglishSourceByteForByte) {
    ASSERT_EQ(shell::InstallTranslations(), QString());
    const Windows english;
    for (const Sample& sample : kSamples) {
        EXPECT_EQ(sample.text(english).toUtf8(), sample.english.toUtf8()) << sample.what;
    }
}

}  // namespace
}  // namespace vellumo::app

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
