#pragma once
// Every text the conversion engine shows the user, kept together so they can be found
// and translated. The spelling is the program's own and stays as it is.

#include <string_view>

namespace vellumo::convert::text {

// Captions.
inline constexpr std::string_view kError = "Error";
inline constexpr std::string_view kWarning = "Warning";

// Convert command.
inline constexpr std::string_view kCaptionXTooBig =
    "The text position X is bigger than the photo width!, The program set it to 0 now.";
inline constexpr std::string_view kCaptionYTooBig =
    "The text position Y is bigger than the photo height!, The program set it to 0 now.";
inline constexpr std::string_view kReplaceQuestion = "%s exists. Do you want to replace it?";
inline constexpr std::string_view kCannotBeginThread = "can not begin thread!";

// Per-photo pipeline.
inline constexpr std::string_view kCannotActivateFrame = "Can not Active a Frame";
inline constexpr std::string_view kInvalidWidth = "The output width is invalid!";
inline constexpr std::string_view kInvalidHeight = "The output hight is invalid!";
inline constexpr std::string_view kFailedSetResolution = "Failed to SetResolution!";
inline constexpr std::string_view kFailedConvert = "Failed to convert photo!";
inline constexpr std::string_view kUnknownRotateAngle = "Unknown rotate angle!";
inline constexpr std::string_view kFailedRotateFlip = "Failed to rotate and flip photo!";
inline constexpr std::string_view kCaptionXOutOfRange =
    "The text position X is out of range! The program set it to 0 now.";
inline constexpr std::string_view kCaptionYOutOfRange =
    "The text position Y is out of range! The program set it to 0 now.";

// Saving (caption: the output file path).
inline constexpr std::string_view kFailedToSave = "Failed to save the file!";

// Indexed BMP output.
inline constexpr std::string_view kCannotGetTempName = "Can not get the temporary bitmap filename!";

}  // namespace vellumo::convert::text
