#pragma once
// Every text the dialogs, the preview pane and the launchers show, kept together so
// they can be found and translated. Spelling and punctuation are the program's own.

#include <string_view>

namespace vellumo::app::dialogs::texts {

// Captions of message boxes.
inline constexpr std::string_view kApplicationName = "Vellumo";
inline constexpr std::string_view kError = "Error";
inline constexpr std::string_view kLowerError = "error";
inline constexpr std::string_view kMessage = "Message";
inline constexpr std::string_view kQuestion = "Question";
inline constexpr std::string_view kUnknownError = "Unknown error";

// Photo output options dialog.
inline constexpr std::string_view kOptionsTitle = "Photo Output Options";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "Cancel";
inline constexpr std::string_view kOutputFormat = "Output Format:";
inline constexpr std::string_view kOutputSize = "Output Size";
inline constexpr std::string_view kOriginalSize = "Original size";
inline constexpr std::string_view kStretch = "Stretch:";
inline constexpr std::string_view kOutputWidth = "Output Width:";
inline constexpr std::string_view kOutputHeight = "Output Height:";
inline constexpr std::string_view kKeepWithWidth = "Keep aspect ratio with width";
inline constexpr std::string_view kKeepWithHeight = "Keep aspect ratio with Height";
inline constexpr std::string_view kHorizontal = "Horizontal:";
inline constexpr std::string_view kVertical = "Vertical:";
inline constexpr std::string_view kPixelFormat = "Pixel format:";
inline constexpr std::string_view kQualityControl = "Quality Control:";
inline constexpr std::string_view kQualityRange = "(Min 1, Max 100)";
inline constexpr std::string_view kRotateByAngle = "Rotate by angle";
inline constexpr std::string_view kFlip = "Flip";
inline constexpr std::string_view kNoFlip = "No flip";
inline constexpr std::string_view kFlipHorizontal = "Flip horizontal";
inline constexpr std::string_view kFlipVertical = "Flip vertical";

// Field validation on OK; %1 and %2 are the bounds.
inline constexpr std::string_view kEnterInteger = "Please enter an integer.";
inline constexpr std::string_view kEnterIntegerBetween =
    "Please enter an integer between %1 and %2.";
inline constexpr std::string_view kEnterNumber = "Please enter a number.";
inline constexpr std::string_view kEnterNumberBetween = "Please enter a number between %1 and %2.";

// Record values outside their codes, reported when the dialog opens.
inline constexpr std::string_view kUnknownSizeType = "Unknown nOuputSizeType type!";
inline constexpr std::string_view kUnknownKeepAspect = "Unknown nKeepAspectRatio type!";
inline constexpr std::string_view kUnknownRotateAngle = "Unknown rotate angle!";
inline constexpr std::string_view kUnknownFlipType = "Unknown flip type!";
inline constexpr std::string_view kUnknownFormat = "unknown error";

// Edit and Options commands.
inline constexpr std::string_view kSelectItems = "Please select items!";
inline constexpr std::string_view kChangeAllOutputSettings =
    "Do you want to change all output settings of photos?";

// Preview pane.
inline constexpr std::string_view kCanNotActiveFrame = "Can not Active a Frame";

// About box.
inline constexpr std::string_view kAboutTitle = "About";
inline constexpr std::string_view kProductName = "Vellumo";
inline constexpr std::string_view kMakerName = "Orlenwick";
inline constexpr std::string_view kLicence = "Free software: GNU GPL, version 3 or later";

// Update; the web page address goes between the two parts.
inline constexpr std::string_view kBrowserFailedBefore =
    "The Program does not launch your web browser to access ";
inline constexpr std::string_view kBrowserFailedAfter =
    " ,\nPlease launch your web browser and input the URL manually.";

// Help, when no program is set to open it; the page's path follows.
inline constexpr std::string_view kNoHelpViewer =
    "No program is set to open the help pages on this computer. The help is in:\n";
inline constexpr std::string_view kHelpCaption = "Help";

// Help.
inline constexpr std::string_view kHelpEntryPage = "Introduction.htm";
inline constexpr std::string_view kHelpNotFound =
    "The help pages were not found. Please reinstall the program.";

// View log.
inline constexpr std::string_view kNoLogFile = "There is not log file now!";

// Caption font picker.
inline constexpr std::string_view kFontTitle = "Font";
inline constexpr std::string_view kFontColour = "Color:";

// load list.
inline constexpr std::string_view kLoadListTitle = "Select an ini file...";
inline constexpr std::string_view kLoadListFilter = "brindle list file(*.ini)";

}  // namespace vellumo::app::dialogs::texts
