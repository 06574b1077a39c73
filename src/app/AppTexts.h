#pragma once
// The window's own texts, kept together: captions, dialog titles, filters, messages and
// settings keys.

#include <QtGlobal>
#include <string_view>

#include "base/Translate.h"

namespace vellumo::app::texts {

// Marked texts in the user's language, for widgets and for messages.
inline QString Tr(std::string_view source) {
    return base::Tr("vellumo-window", source);
}
inline std::string TrUtf8(std::string_view source) {
    return base::TrUtf8("vellumo-window", source);
}

// Window and controls.
inline constexpr std::string_view kWindowTitle = "Vellumo";
inline constexpr std::string_view kAddPhotos = QT_TRANSLATE_NOOP("vellumo-window", "Add Photos");
inline constexpr std::string_view kSearchPhotos =
    QT_TRANSLATE_NOOP("vellumo-window", "Search photos");
inline constexpr std::string_view kOptions = QT_TRANSLATE_NOOP("vellumo-window", "Options");
inline constexpr std::string_view kConvert = QT_TRANSLATE_NOOP("vellumo-window", "Convert");
inline constexpr std::string_view kStop = QT_TRANSLATE_NOOP("vellumo-window", "Stop");
inline constexpr std::string_view kHelp = QT_TRANSLATE_NOOP("vellumo-window", "Help");
inline constexpr std::string_view kEdit = QT_TRANSLATE_NOOP("vellumo-window", "Edit");
inline constexpr std::string_view kUp = QT_TRANSLATE_NOOP("vellumo-window", "Up");
inline constexpr std::string_view kDown = QT_TRANSLATE_NOOP("vellumo-window", "Down");
inline constexpr std::string_view kDelete = QT_TRANSLATE_NOOP("vellumo-window", "Delete");
inline constexpr std::string_view kClear = QT_TRANSLATE_NOOP("vellumo-window", "Clear");
inline constexpr std::string_view kOutputFileLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "Output file:");
inline constexpr std::string_view kBrowse = QT_TRANSLATE_NOOP("vellumo-window", "Browse");
inline constexpr std::string_view kTotalPagesStart =
    QT_TRANSLATE_NOOP("vellumo-window", "Total Pages:");
inline constexpr std::string_view kTotalPagesFormat =
    QT_TRANSLATE_NOOP("vellumo-window", "Total pages: %1");
inline constexpr std::string_view kUpdate = QT_TRANSLATE_NOOP("vellumo-window", "Update");
inline constexpr std::string_view kAbout = QT_TRANSLATE_NOOP("vellumo-window", "About");
inline constexpr std::string_view kExit = QT_TRANSLATE_NOOP("vellumo-window", "Exit");
inline constexpr std::string_view kAddTextLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "Add text to photo:");
inline constexpr std::string_view kPositionLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "Position x, y:");
inline constexpr std::string_view kFont = QT_TRANSLATE_NOOP("vellumo-window", "Font");
inline constexpr std::string_view kRenamePrefixLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "Batch rename prefix:");
inline constexpr std::string_view kRenameSuffixLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "+Number+Time");
inline constexpr std::string_view kNotRename = QT_TRANSLATE_NOOP("vellumo-window", "Not rename");
inline constexpr std::string_view kOutputFolderLabel =
    QT_TRANSLATE_NOOP("vellumo-window", "Output Folder:");
inline constexpr std::string_view kViewLog = QT_TRANSLATE_NOOP("vellumo-window", "View log");
inline constexpr std::string_view kSaveList = QT_TRANSLATE_NOOP("vellumo-window", "Save list");
inline constexpr std::string_view kLoadList = QT_TRANSLATE_NOOP("vellumo-window", "load list");

// List view headings.
inline constexpr std::string_view kColumnFileName =
    QT_TRANSLATE_NOOP("vellumo-window", "File name");
inline constexpr std::string_view kColumnSize =
    QT_TRANSLATE_NOOP("vellumo-window", "Width * Height");
inline constexpr std::string_view kColumnTotalFrames =
    QT_TRANSLATE_NOOP("vellumo-window", "Total Frames");
inline constexpr std::string_view kColumnFrameSequence =
    QT_TRANSLATE_NOOP("vellumo-window", "Frame sequence");
inline constexpr std::string_view kColumnOutputSize =
    QT_TRANSLATE_NOOP("vellumo-window", "Output Width * Height");

// Dialogs.
inline constexpr std::string_view kSelectPhotoFiles =
    QT_TRANSLATE_NOOP("vellumo-window", "Select Photo Files...");
inline constexpr std::string_view kPhotoFilesDescription = QT_TRANSLATE_NOOP(
    "vellumo-window",
    "Photo Files "
    "(*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.tiff;*.heic;*.heif;*."
    "hif;*."
    "avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*."
    "raf;*."
    "pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.raw;*.jp2;*.j2k;*.jpf;*.jpx;"
    "*.j2c;*.psd;*.psb;*.tga;*.svg;*.svgz;*."
    "pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur)");
inline constexpr std::string_view kPhotoFilesPattern =
    "*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.raw;*.tiff"
    ";*.heic;*.heif;*.hif;*.avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*."
    "srf;*."
    "sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.jp2;"
    "*.j2k;*.jpf;*.jpx;*.j2c;*.psd;*.psb;*.tga;"
    "*.svg;*.svgz;*.pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur";
inline constexpr std::string_view kAnyFilesDescription =
    QT_TRANSLATE_NOOP("vellumo-window", "Any Files (*.*)");
inline constexpr std::string_view kSelectOutput =
    QT_TRANSLATE_NOOP("vellumo-window", "Select Output");
inline constexpr std::string_view kTiffFilter =
    QT_TRANSLATE_NOOP("vellumo-window", "Tif/Tiff file(*.tif)");
inline constexpr std::string_view kChooseFolder =
    QT_TRANSLATE_NOOP("vellumo-window", "Choose a folder");

// Messages.
inline constexpr std::string_view kPleaseSelectItems =
    QT_TRANSLATE_NOOP("vellumo-window", "Please select items!");
inline constexpr std::string_view kStopConvertingFirst =
    QT_TRANSLATE_NOOP("vellumo-window", "Please stop converting first");
inline constexpr std::string_view kWarningCaption = QT_TRANSLATE_NOOP("vellumo-window", "Warning");

// File names.
inline constexpr std::string_view kProposedOutputName = "output.tif";
inline constexpr std::string_view kTifExtension = ".tif";

// Settings keys, section "Option".
inline constexpr std::string_view kKeyPhotoOutputFolder = "photo_output_folder";
inline constexpr std::string_view kKeyLastOutputFolder = "last_output_folder";
inline constexpr std::string_view kKeyBatchRenamer = "m_batch_renamer";
inline constexpr std::string_view kKeyLastPhotoFolder = "LastPhotoFolder";
inline constexpr std::string_view kKeyLastBrowseFolder = "m_last_browse_fold";
inline constexpr std::string_view kDefaultBatchRenamer = "output.photo";

// Settings keys, section "CurrentFont".
inline constexpr std::string_view kKeyCurrentColor = "nCurrentColor";

}  // namespace vellumo::app::texts
