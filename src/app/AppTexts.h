#pragma once
// The window's own texts, kept together: captions, dialog titles, filters, messages and
// settings keys.

#include <string_view>

namespace vellumo::app::texts {

// Window and controls.
inline constexpr std::string_view kWindowTitle = "Vellumo";
inline constexpr std::string_view kAddPhotos = "Add Photos";
inline constexpr std::string_view kSearchPhotos = "Search photos";
inline constexpr std::string_view kOptions = "Options";
inline constexpr std::string_view kConvert = "Convert";
inline constexpr std::string_view kStop = "Stop";
inline constexpr std::string_view kHelp = "Help";
inline constexpr std::string_view kEdit = "Edit";
inline constexpr std::string_view kUp = "Up";
inline constexpr std::string_view kDown = "Down";
inline constexpr std::string_view kDelete = "Delete";
inline constexpr std::string_view kClear = "Clear";
inline constexpr std::string_view kOutputFileLabel = "Output file:";
inline constexpr std::string_view kBrowse = "Browse";
inline constexpr std::string_view kTotalPagesStart = "Total Pages:";
inline constexpr std::string_view kTotalPagesFormat = "Total pages: %1";
inline constexpr std::string_view kUpdate = "Update";
inline constexpr std::string_view kAbout = "About";
inline constexpr std::string_view kExit = "Exit";
inline constexpr std::string_view kAddTextLabel = "Add text to photo:";
inline constexpr std::string_view kPositionLabel = "Position x, y:";
inline constexpr std::string_view kFont = "Font";
inline constexpr std::string_view kRenamePrefixLabel = "Batch rename prefix:";
inline constexpr std::string_view kRenameSuffixLabel = "+Number+Time";
inline constexpr std::string_view kNotRename = "Not rename";
inline constexpr std::string_view kOutputFolderLabel = "Output Folder:";
inline constexpr std::string_view kViewLog = "View log";
inline constexpr std::string_view kSaveList = "Save list";
inline constexpr std::string_view kLoadList = "load list";

// List view headings.
inline constexpr std::string_view kColumnFileName = "File name";
inline constexpr std::string_view kColumnSize = "Width * Height";
inline constexpr std::string_view kColumnTotalFrames = "Total Frames";
inline constexpr std::string_view kColumnFrameSequence = "Frame sequence";
inline constexpr std::string_view kColumnOutputSize = "Output Width * Height";

// Dialogs.
inline constexpr std::string_view kSelectPhotoFiles = "Select Photo Files...";
inline constexpr std::string_view kPhotoFilesDescription =
    "Photo Files "
    "(*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.tiff;*.heic;*.heif;*."
    "hif;*."
    "avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*."
    "raf;*."
    "pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.raw;*.jp2;*.j2k;*.jpf;*.jpx;"
    "*.j2c;*.psd;*.psb;*.tga;*.svg;*.svgz;*."
    "pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur)";
inline constexpr std::string_view kPhotoFilesPattern =
    "*.bmp;*.gif;*.png;*.tif;*.jpg;*.jpeg;*.ico;*.exif;*.wmf;*.emf;*.dib;*.raw;*.tiff"
    ";*.heic;*.heif;*.hif;*.avif;*.avifs;*.jxl;*.webp;*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*."
    "srf;*."
    "sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;*.mrw;*.x3f;*.rwl;*.3fr;*.iiq;*.erf;*.kdc;*.dcr;*.mos;*.jp2;"
    "*.j2k;*.jpf;*.jpx;*.j2c;*.psd;*.psb;*.tga;"
    "*.svg;*.svgz;*.pnm;*.pbm;*.pgm;*.ppm;*.icns;*.cur";
inline constexpr std::string_view kAnyFilesDescription = "Any Files (*.*)";
inline constexpr std::string_view kSelectOutput = "Select Output";
inline constexpr std::string_view kTiffFilter = "Tif/Tiff file(*.tif)";
inline constexpr std::string_view kChooseFolder = "Choose a folder";

// Messages.
inline constexpr std::string_view kPleaseSelectItems = "Please select items!";
inline constexpr std::string_view kStopConvertingFirst = "Please stop converting first";
inline constexpr std::string_view kWarningCaption = "Warning";

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
