#pragma once
// Every text the conversion engine shows the user, kept together so they can be found
// and translated. The spelling is the program's own and stays as it is.

#include <QtGlobal>
#include <string_view>

#include "base/Translate.h"

namespace vellumo::convert::text {

// A marked text in the user's language.
inline std::string TrUtf8(std::string_view source) {
    return base::TrUtf8("vellumo-engine", source);
}

// Captions.
inline constexpr std::string_view kError = QT_TRANSLATE_NOOP("vellumo-engine", "Error");
inline constexpr std::string_view kWarning = QT_TRANSLATE_NOOP("vellumo-engine", "Warning");

// Convert command.
inline constexpr std::string_view kCaptionXTooBig = QT_TRANSLATE_NOOP(
    "vellumo-engine",
    "The text position X is bigger than the photo width!, The program set it to 0 now.");
inline constexpr std::string_view kCaptionYTooBig = QT_TRANSLATE_NOOP(
    "vellumo-engine",
    "The text position Y is bigger than the photo height!, The program set it to 0 now.");
inline constexpr std::string_view kReplaceQuestion =
    QT_TRANSLATE_NOOP("vellumo-engine", "%s exists. Do you want to replace it?");
inline constexpr std::string_view kCannotBeginThread =
    QT_TRANSLATE_NOOP("vellumo-engine", "can not begin thread!");

// Per-photo pipeline.
inline constexpr std::string_view kCannotActivateFrame =
    QT_TRANSLATE_NOOP("vellumo-engine", "Can not Active a Frame");
inline constexpr std::string_view kInvalidWidth =
    QT_TRANSLATE_NOOP("vellumo-engine", "The output width is invalid!");
inline constexpr std::string_view kInvalidHeight =
    QT_TRANSLATE_NOOP("vellumo-engine", "The output hight is invalid!");
inline constexpr std::string_view kFailedSetResolution =
    QT_TRANSLATE_NOOP("vellumo-engine", "Failed to SetResolution!");
inline constexpr std::string_view kFailedConvert =
    QT_TRANSLATE_NOOP("vellumo-engine", "Failed to convert photo!");
inline constexpr std::string_view kUnknownRotateAngle =
    QT_TRANSLATE_NOOP("vellumo-engine", "Unknown rotate angle!");
inline constexpr std::string_view kFailedRotateFlip =
    QT_TRANSLATE_NOOP("vellumo-engine", "Failed to rotate and flip photo!");
inline constexpr std::string_view kCaptionXOutOfRange = QT_TRANSLATE_NOOP(
    "vellumo-engine", "The text position X is out of range! The program set it to 0 now.");
inline constexpr std::string_view kCaptionYOutOfRange = QT_TRANSLATE_NOOP(
    "vellumo-engine", "The text position Y is out of range! The program set it to 0 now.");

// Saving (caption: the output file path).
inline constexpr std::string_view kFailedToSave =
    QT_TRANSLATE_NOOP("vellumo-engine", "Failed to save the file!");

// Indexed BMP output.
inline constexpr std::string_view kCannotGetTempName =
    QT_TRANSLATE_NOOP("vellumo-engine", "Can not get the temporary bitmap filename!");

}  // namespace vellumo::convert::text
