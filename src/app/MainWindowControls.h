#pragma once
// The controls of the main window, placed by their dialog-unit positions. Hidden
// controls exist (the engine and the settings still use some of them) but are never
// shown.

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/PhotoListView.h"
#include "app/dialogs/DialogUnits.h"

namespace vellumo::app {

// The window's size in dialog units.
inline constexpr int kWindowWidthUnits = 531;
inline constexpr int kWindowHeightUnits = 303;
// The output file edit takes at most this many typed characters.
inline constexpr int kOutputFileMaxTyped = 256;
// The progress bar's range.
inline constexpr int kProgressMaximum = 999;

struct MainWindowControls {
    // Visible.
    QPushButton* addPhotos = nullptr;     // 1008
    QPushButton* searchPhotos = nullptr;  // 1094
    QPushButton* options = nullptr;       // 1024
    QPushButton* convert = nullptr;       // 1000
    QPushButton* help = nullptr;          // 1103
    PhotoListView* photoList = nullptr;   // 1002
    QPushButton* edit = nullptr;          // 1009
    QPushButton* up = nullptr;            // 1003
    QPushButton* down = nullptr;          // 1004
    QPushButton* remove = nullptr;        // 1005 "Delete"
    QPushButton* clear = nullptr;         // 1006
    QLabel* outputFileLabel = nullptr;    // 1101
    QLineEdit* outputFile = nullptr;      // 1010
    QPushButton* browseOutput = nullptr;  // 1102
    QLabel* totalPages = nullptr;         // 1041
    QFrame* preview = nullptr;            // 1080, the preview area
    QProgressBar* progress = nullptr;     // 1095
    QPushButton* update = nullptr;        // 1034
    QPushButton* about = nullptr;         // 1100
    QPushButton* exit = nullptr;          // 1037

    // Hidden.
    QLabel* captionTextLabel = nullptr;      // 1081
    QLineEdit* captionText = nullptr;        // 1083
    QLabel* captionPositionLabel = nullptr;  // 1082
    QLineEdit* captionX = nullptr;           // 1039
    QLineEdit* captionY = nullptr;           // 1084
    QPushButton* font = nullptr;             // 1085
    QLabel* fontFace = nullptr;              // 1092
    QLabel* renamePrefixLabel = nullptr;     // 1089
    QLineEdit* renamePrefix = nullptr;       // 1090
    QLabel* renameSuffixLabel = nullptr;     // 1091
    QCheckBox* notRename = nullptr;          // 1027
    QLabel* outputFolderLabel = nullptr;     // 1086
    QLineEdit* outputFolder = nullptr;       // 1087
    QPushButton* browseFolder = nullptr;     // 1026
    QListWidget* logList = nullptr;          // 1030
    QPushButton* viewLog = nullptr;          // 1031
    QPushButton* saveList = nullptr;         // 1028
    QPushButton* loadList = nullptr;         // 1029
};

// Creates every control as a child of `window` at its place, with its caption and start
// state (all visible here; the window's initialisation hides the dormant ones), in tab
// order; sizes the window to its fixed size.
MainWindowControls BuildMainWindowControls(QWidget* window, const DialogUnits& units);

}  // namespace vellumo::app
