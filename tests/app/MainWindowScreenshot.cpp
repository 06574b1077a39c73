// Saves a picture of the main window with the sample photos in the list, for the
// documentation; with --preview the first row is clicked and its frame shown, with
// --options the options dialog is pictured instead, and with --dark both are drawn by
// the Fusion style in dark colours:
//   app_window_screenshot SAMPLES_FOLDER OUTPUT.png [--preview] [--options] [--dark]
// Texts are in the locale's language. Run it on a real display server (for example
// under xvfb-run). Settings and working folder are kept in a temporary folder, so the
// user's own are not touched.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "app/MainWindow.h"
#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "app/dialogs/PreviewPane.h"
#include "shell/Translations.h"
#include "support/MemorySettingsStore.h"

namespace {

QPalette DarkPalette() {
    QPalette p;
    const auto set = [&p](QPalette::ColorRole role, const char* colour, const char* disabled) {
        p.setColor(QPalette::All, role, QColor(colour));
        p.setColor(QPalette::Disabled, role, QColor(disabled));
    };
    set(QPalette::Window, "#2b2d30", "#2b2d30");
    set(QPalette::WindowText, "#e8e8e8", "#8d9094");
    set(QPalette::Base, "#1e1f22", "#26282b");
    set(QPalette::AlternateBase, "#26282b", "#26282b");
    set(QPalette::Text, "#e8e8e8", "#8d9094");
    set(QPalette::PlaceholderText, "#9da0a4", "#8d9094");
    set(QPalette::Button, "#3a3d41", "#313336");
    set(QPalette::ButtonText, "#e8e8e8", "#8d9094");
    set(QPalette::BrightText, "#ff8080", "#ff8080");
    set(QPalette::Highlight, "#2f5fa8", "#3a3d41");
    set(QPalette::HighlightedText, "#ffffff", "#a0a3a7");
    set(QPalette::Link, "#7ab4ff", "#8d9094");
    set(QPalette::LinkVisited, "#c09cff", "#8d9094");
    set(QPalette::ToolTipBase, "#3a3d41", "#3a3d41");
    set(QPalette::ToolTipText, "#e8e8e8", "#e8e8e8");
    set(QPalette::Light, "#54575c", "#54575c");
    set(QPalette::Midlight, "#45484c", "#45484c");
    set(QPalette::Mid, "#2f3134", "#2f3134");
    set(QPalette::Dark, "#1b1c1e", "#1b1c1e");
    set(QPalette::Shadow, "#000000", "#000000");
    return p;
}

double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// WCAG contrast of every text role over the background it is drawn on: at least 4.5
// for text, 3 for disabled text. Prints them; false when one falls short.
bool ReadableEverywhere(const QPalette& p) {
    struct Pair {
        const char* name;
        QPalette::ColorRole text;
        QPalette::ColorRole background;
    };
    const Pair pairs[] = {{"window text", QPalette::WindowText, QPalette::Window},
                          {"text", QPalette::Text, QPalette::Base},
                          {"text on alternate rows", QPalette::Text, QPalette::AlternateBase},
                          {"button text", QPalette::ButtonText, QPalette::Button},
                          {"selected text", QPalette::HighlightedText, QPalette::Highlight},
                          {"link", QPalette::Link, QPalette::Window},
                          {"placeholder", QPalette::PlaceholderText, QPalette::Base},
                          {"tool tip", QPalette::ToolTipText, QPalette::ToolTipBase}};
    bool readable = true;
    for (const auto group : {QPalette::Active, QPalette::Disabled}) {
        const double least = group == QPalette::Active ? 4.5 : 3.0;
        for (const Pair& pair : pairs) {
            const double a = Luminance(p.color(group, pair.text));
            const double b = Luminance(p.color(group, pair.background));
            const double ratio = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
            std::printf("%s%s: %.1f\n", group == QPalette::Active ? "" : "disabled ", pair.name,
                        ratio);
            readable = readable && ratio >= least;
        }
    }
    return readable;
}

bool SaveOptionsDialog(const QString& path) {
    vellumo::test::MemorySettingsStore store;
    vellumo::options::OutputPhotoFormat record;
    record.nOuputSizeType = vellumo::options::kSizeCustom;
    record.nOutputWidth = 1600;
    record.nOutputHeight = 1200;
    record.nKeepAspectRatio = vellumo::options::kKeepNone;
    vellumo::app::dialogs::CDialogPhotoOptions dialog(store);
    dialog.SetRecord(record);
    dialog.show();
    QApplication::processEvents();
    dialog.Control(vellumo::app::dialogs::ids::kOk)->setFocus();
    QApplication::processEvents();
    return dialog.grab().save(path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    vellumo::shell::InstallTranslations();  // pictures in the locale's language
    const std::set<std::string> known = {"--preview", "--options", "--dark"};
    std::set<std::string> flags;
    for (int i = 3; i < argc; ++i) {
        flags.insert(argv[i]);
    }
    const bool usable = argc >= 3 && std::all_of(flags.begin(), flags.end(), [&](const auto& f) {
                            return known.count(f) == 1;
                        });
    if (!usable) {
        std::fprintf(stderr,
                     "usage: app_window_screenshot SAMPLES_FOLDER OUTPUT.png [--preview] "
                     "[--options] [--dark]\n");
        return 2;
    }
    const bool preview = flags.count("--preview") == 1;
    if (flags.count("--dark") == 1) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
        if (!ReadableEverywhere(QApplication::palette())) {
            std::fprintf(stderr, "the dark palette has text that is hard to read\n");
            return 1;
        }
    }
    if (flags.count("--options") == 1) {
        if (!SaveOptionsDialog(QString::fromLocal8Bit(argv[2]))) {
            return 1;
        }
        std::printf("%s\n", argv[2]);
        return 0;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        return 1;
    }
    vellumo::test::MemorySettingsStore store;
    vellumo::app::MainWindowServices services;
    const std::string pictures = QDir(home.path()).filePath("Pictures").toStdString();
    QDir().mkpath(QString::fromStdString(pictures));
    services.picturesFolder = [pictures] { return std::optional<std::string>(pictures); };
    vellumo::app::MainWindow window(store, services);
    vellumo::app::dialogs::PreviewPane* pane = window.previewPane();
    window.show();

    const QDir samples(QString::fromLocal8Bit(argv[1]));
    std::vector<std::string> photos;
    for (const QString& name :
         samples.entryList({"*.jpg", "*.tif", "*.gif", "*.png"}, QDir::Files, QDir::Name)) {
        photos.push_back(samples.filePath(name).toStdString());
    }
    window.AddDroppedPaths(photos);
    window.WaitUntilIdle();
    if (window.photoList().empty()) {
        std::fprintf(stderr, "no photos in %s\n", argv[1]);
        return 1;
    }

    auto* view = window.controls().photoList;
    if (preview) {
        // Click the first row as a user would, and wait for its frame.
        QSignalSpy shown(pane, &vellumo::app::dialogs::PreviewPane::previewShown);
        const QPoint row = view->visualItemRect(view->item(0, 1)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
        if (!shown.wait(20000)) {
            std::fprintf(stderr, "the preview did not arrive\n");
            return 1;
        }
    } else {
        view->SelectRows({1});
        view->setFocus();
    }
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[2]))) {
        return 1;
    }
    std::printf("%s\n", argv[2]);
    return 0;
}
