#pragma once
// Every text the dialogs, the preview pane and the launchers show, kept together so
// they can be found and translated. Spelling and punctuation are the program's own.

#include <QtGlobal>
#include <string_view>

#include "base/Translate.h"

namespace vellumo::app::dialogs::texts {

// Marked texts in the user's language, for widgets and for messages.
inline QString Tr(std::string_view source) {
    return base::Tr("vellumo-dialogs", source);
}
inline std::string TrUtf8(std::string_view source) {
    return base::TrUtf8("vellumo-dialogs", source);
}

// Captions of message boxes.
inline constexpr std::string_view kApplicationName = "Vellumo";
inline constexpr std::string_view kError = QT_TRANSLATE_NOOP("vellumo-dialogs", "Error");
inline constexpr std::string_view kLowerError = QT_TRANSLATE_NOOP("vellumo-dialogs", "error");
inline constexpr std::string_view kMessage = QT_TRANSLATE_NOOP("vellumo-dialogs", "Message");
inline constexpr std::string_view kQuestion = QT_TRANSLATE_NOOP("vellumo-dialogs", "Question");
inline constexpr std::string_view kUnknownError =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Unknown error");

// Photo output options dialog.
inline constexpr std::string_view kOptionsTitle =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Photo Output Options");
inline constexpr std::string_view kOk = QT_TRANSLATE_NOOP("vellumo-dialogs", "OK");
inline constexpr std::string_view kCancel = QT_TRANSLATE_NOOP("vellumo-dialogs", "Cancel");
inline constexpr std::string_view kOutputFormat =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Output Format:");
inline constexpr std::string_view kOutputSize = QT_TRANSLATE_NOOP("vellumo-dialogs", "Output Size");
// The size button without a caption, for screen readers.
inline constexpr std::string_view kCustomSize = QT_TRANSLATE_NOOP("vellumo-dialogs", "Custom size");
inline constexpr std::string_view kOriginalSize =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Original size");
inline constexpr std::string_view kStretch = QT_TRANSLATE_NOOP("vellumo-dialogs", "Stretch:");
inline constexpr std::string_view kOutputWidth =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Output Width:");
inline constexpr std::string_view kOutputHeight =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Output Height:");
inline constexpr std::string_view kKeepWithWidth =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Keep aspect ratio with width");
inline constexpr std::string_view kKeepWithHeight =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Keep aspect ratio with Height");
inline constexpr std::string_view kHorizontal = QT_TRANSLATE_NOOP("vellumo-dialogs", "Horizontal:");
inline constexpr std::string_view kVertical = QT_TRANSLATE_NOOP("vellumo-dialogs", "Vertical:");
inline constexpr std::string_view kPixelFormat =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Pixel format:");
inline constexpr std::string_view kQualityControl =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Quality Control:");
inline constexpr std::string_view kQualityRange =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "(Min 1, Max 100)");
inline constexpr std::string_view kRotateByAngle =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Rotate by angle");
inline constexpr std::string_view kFlip = QT_TRANSLATE_NOOP("vellumo-dialogs", "Flip");
inline constexpr std::string_view kNoFlip = QT_TRANSLATE_NOOP("vellumo-dialogs", "No flip");
inline constexpr std::string_view kFlipHorizontal =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Flip horizontal");
inline constexpr std::string_view kFlipVertical =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Flip vertical");

// Field validation on OK; %1 and %2 are the bounds.
inline constexpr std::string_view kEnterInteger =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Please enter an integer.");
inline constexpr std::string_view kEnterIntegerBetween =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Please enter an integer between %1 and %2.");
inline constexpr std::string_view kEnterNumber =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Please enter a number.");
inline constexpr std::string_view kEnterNumberBetween =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Please enter a number between %1 and %2.");

// Record values outside their codes, reported when the dialog opens.
inline constexpr std::string_view kUnknownSizeType =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Unknown nOuputSizeType type!");
inline constexpr std::string_view kUnknownKeepAspect =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Unknown nKeepAspectRatio type!");
inline constexpr std::string_view kUnknownRotateAngle =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Unknown rotate angle!");
inline constexpr std::string_view kUnknownFlipType =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Unknown flip type!");
inline constexpr std::string_view kUnknownFormat =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "unknown error");

// Edit and Options commands.
inline constexpr std::string_view kSelectItems =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Please select items!");
inline constexpr std::string_view kChangeAllOutputSettings =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Do you want to change all output settings of photos?");

// Preview pane.
inline constexpr std::string_view kCanNotActiveFrame =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Can not Active a Frame");

// About box.
inline constexpr std::string_view kAboutTitle = QT_TRANSLATE_NOOP("vellumo-dialogs", "About");
inline constexpr std::string_view kProductName = "Vellumo";
inline constexpr std::string_view kMakerName = "Orlenwick";
// %1 is the version number.
inline constexpr std::string_view kVersion = QT_TRANSLATE_NOOP("vellumo-dialogs", "Version %1");
inline constexpr std::string_view kLicence =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Free software: GNU GPL, version 3 or later");

// Update; the web page address goes between the two parts.
inline constexpr std::string_view kBrowserFailedBefore =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "The Program does not launch your web browser to access ");
inline constexpr std::string_view kBrowserFailedAfter = QT_TRANSLATE_NOOP(
    "vellumo-dialogs", " ,\nPlease launch your web browser and input the URL manually.");

// Help, when no program is set to open it; the page's path follows.
inline constexpr std::string_view kNoHelpViewer = QT_TRANSLATE_NOOP(
    "vellumo-dialogs",
    "No program is set to open the help pages on this computer. The help is in:\n");
inline constexpr std::string_view kHelpCaption = QT_TRANSLATE_NOOP("vellumo-dialogs", "Help");

// Help.
inline constexpr std::string_view kHelpEntryPage = "Introduction.htm";
inline constexpr std::string_view kHelpNotFound = QT_TRANSLATE_NOOP(
    "vellumo-dialogs", "The help pages were not found. Please reinstall the program.");

// View log.
inline constexpr std::string_view kNoLogFile =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "There is not log file now!");

// Caption font picker.
inline constexpr std::string_view kFontTitle = QT_TRANSLATE_NOOP("vellumo-dialogs", "Font");
inline constexpr std::string_view kFontColour = QT_TRANSLATE_NOOP("vellumo-dialogs", "Color:");

// load list.
inline constexpr std::string_view kLoadListTitle =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "Select an ini file...");
inline constexpr std::string_view kLoadListFilter =
    QT_TRANSLATE_NOOP("vellumo-dialogs", "brindle list file(*.ini)");

}  // namespace vellumo::app::dialogs::texts
