#include "app/MainWindowControls.h"

#include "app/AppTexts.h"
#include "app/dialogs/FitText.h"
#include "base/QtText.h"

namespace vellumo::app {
namespace {

using base::ToQString;

class Placer {
  public:
    Placer(QWidget* window, const DialogUnits& units) : window_(window), units_(units) {}

    template <typename Widget>
    Widget* Place(Widget* widget, int x, int y, int width, int height) {
        widget->setGeometry(units_.ToPixels(x, y, width, height));
        return widget;
    }

    QPushButton* Button(std::string_view caption, int x, int y, int width, int height) {
        auto* button = new QPushButton(texts::Tr(caption), window_);
        // No default button: Enter must never press one behind the user's back.
        button->setAutoDefault(false);
        button->setDefault(false);
        return Place(button, x, y, width, height);
    }

    QLabel* Label(std::string_view caption, int x, int y, int width, int height) {
        auto* label = new QLabel(texts::Tr(caption), window_);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The dialog-unit heights were made for a tighter font: let the text breathe.
        return Place(label, x, y - 2, width, height + 4);
    }

    QLineEdit* Edit(int x, int y, int width, int height) {
        return Place(new QLineEdit(window_), x, y, width, height);
    }

  private:
    QWidget* window_;
    const DialogUnits& units_;
};

}  // namespace

MainWindowControls BuildMainWindowControls(QWidget* window, const DialogUnits& units) {
    Placer at(window, units);
    MainWindowControls c;

    // Creation order is the tab order.
    c.addPhotos = at.Button(texts::kAddPhotos, 7, 6, 66, 14);
    c.searchPhotos = at.Button(texts::kSearchPhotos, 117, 6, 66, 14);
    c.options = at.Button(texts::kOptions, 227, 6, 66, 14);
    c.convert = at.Button(texts::kConvert, 337, 6, 66, 14);
    c.help = at.Button(texts::kHelp, 447, 6, 66, 14);

    // Column widths follow the font as the control sizes do (6 is the classic base width).
    c.photoList = new PhotoListView(window, units.baseWidth() / 6.0);
    at.Place(c.photoList, 7, 35, 463, 138);

    c.edit = at.Button(texts::kEdit, 474, 35, 50, 14);
    c.up = at.Button(texts::kUp, 474, 65, 50, 14);
    c.down = at.Button(texts::kDown, 474, 96, 50, 14);
    c.remove = at.Button(texts::kDelete, 474, 127, 50, 14);
    c.clear = at.Button(texts::kClear, 474, 158, 50, 14);

    c.outputFileLabel = at.Label(texts::kOutputFileLabel, 7, 186, 60, 8);
    c.outputFile = at.Edit(70, 184, 383, 14);
    c.outputFile->setMaxLength(kOutputFileMaxTyped);
    c.outputFileLabel->setBuddy(c.outputFile);
    c.browseOutput = at.Button(texts::kBrowse, 455, 184, 68, 14);

    c.totalPages = at.Label(texts::kTotalPagesStart, 7, 207, 94, 8);

    c.preview = new QFrame(window);
    c.preview->setObjectName(QStringLiteral("previewArea"));
    c.preview->setFrameShape(QFrame::Box);
    // The empty area has the colour of the theme's views, light or dark.
    c.preview->setAutoFillBackground(true);
    c.preview->setBackgroundRole(QPalette::Base);
    at.Place(c.preview, 363, 208, 161, 85);

    c.progress = new QProgressBar(window);
    c.progress->setRange(0, kProgressMaximum);
    c.progress->setValue(0);
    c.progress->setTextVisible(false);
    at.Place(c.progress, 7, 229, 327, 14);

    c.update = at.Button(texts::kUpdate, 11, 278, 66, 14);
    c.about = at.Button(texts::kAbout, 183, 278, 66, 14);
    c.exit = at.Button(texts::kExit, 269, 278, 66, 14);

    // Dormant controls: caption, batch rename, output folder, activity log, list files.
    c.captionTextLabel = at.Label(texts::kAddTextLabel, 152, 205, 118, 8);
    c.captionText = at.Edit(157, 203, 105, 14);
    c.captionPositionLabel = at.Label(texts::kPositionLabel, 282, 203, 51, 8);
    c.captionX = at.Edit(367, 217, 40, 14);
    c.captionY = at.Edit(413, 217, 40, 14);
    c.font = at.Button(texts::kFont, 458, 217, 66, 14);
    c.fontFace = at.Label("", 459, 204, 62, 8);
    c.renamePrefixLabel = at.Label(texts::kRenamePrefixLabel, 7, 242, 83, 8);
    c.renamePrefix = at.Edit(97, 240, 86, 14);
    c.renameSuffixLabel = at.Label(texts::kRenameSuffixLabel, 185, 242, 77, 8);
    c.notRename = at.Place(new QCheckBox(texts::Tr(texts::kNotRename), window), 273, 242, 72, 10);
    c.outputFolderLabel = at.Label(texts::kOutputFolderLabel, 7, 285, 61, 8);
    c.outputFolder = at.Edit(67, 281, 127, 14);
    c.browseFolder = at.Button(texts::kBrowse, 213, 281, 66, 14);
    c.logList = at.Place(new QListWidget(window), 38, 255, 31, 10);
    c.viewLog = at.Button(texts::kViewLog, 18, 266, 50, 14);
    c.saveList = at.Button(texts::kSaveList, 104, 257, 50, 14);
    c.loadList = at.Button(texts::kLoadList, 94, 255, 50, 14);

    window->setFixedSize(units.ToPixelsX(kWindowWidthUnits), units.ToPixelsY(kWindowHeightUnits));
    FitTextControls(window);
    return c;
}

}  // namespace vellumo::app
