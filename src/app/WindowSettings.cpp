#include "app/WindowSettings.h"

#include <QString>

#include "app/AppTexts.h"

namespace vellumo::app {
namespace {

using shell::kFontSection;
using shell::kOptionSection;

uint8_t ReadByte(shell::SettingsStore& store, std::string_view key, uint8_t defaultValue) {
    return static_cast<uint8_t>(store.ReadInt(kFontSection, key, defaultValue) & 0xFF);
}

std::string CutFaceName(const std::string& name) {
    const QString face = QString::fromStdString(name);
    if (face.size() <= kMaxFaceNameLength) {
        return name;
    }
    // Cut on a character, never inside a surrogate pair.
    qsizetype length = kMaxFaceNameLength;
    if (face.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return face.left(length).toStdString();
}

}  // namespace

options::CaptionFont ReadCaptionFont(shell::SettingsStore& store) {
    const options::CaptionFont defaults;
    options::CaptionFont font;
    font.lfHeight = store.ReadInt(kFontSection, "lfHeight", defaults.lfHeight);
    font.lfWidth = store.ReadInt(kFontSection, "lfWidth", defaults.lfWidth);
    font.lfEscapement = store.ReadInt(kFontSection, "lfEscapement", defaults.lfEscapement);
    font.lfOrientation = store.ReadInt(kFontSection, "lfOrientation", defaults.lfOrientation);
    font.lfWeight = store.ReadInt(kFontSection, "lfWeight", defaults.lfWeight);
    font.lfItalic = ReadByte(store, "lfItalic", defaults.lfItalic);
    font.lfUnderline = ReadByte(store, "lfUnderline", defaults.lfUnderline);
    font.lfStrikeOut = ReadByte(store, "lfStrikeOut", defaults.lfStrikeOut);
    font.lfCharSet = ReadByte(store, "lfCharSet", defaults.lfCharSet);
    font.lfOutPrecision = ReadByte(store, "lfOutPrecision", defaults.lfOutPrecision);
    font.lfClipPrecision = ReadByte(store, "lfClipPrecision", defaults.lfClipPrecision);
    font.lfPitchAndFamily = ReadByte(store, "lfPitchAndFamily", defaults.lfPitchAndFamily);
    font.lfFaceName = CutFaceName(store.ReadString(kFontSection, "lfFaceName", ""));
    return font;
}

void WriteCaptionFont(shell::SettingsStore& store, const options::CaptionFont& font) {
    store.WriteInt(kFontSection, "lfHeight", font.lfHeight);
    store.WriteInt(kFontSection, "lfWidth", font.lfWidth);
    store.WriteInt(kFontSection, "lfEscapement", font.lfEscapement);
    store.WriteInt(kFontSection, "lfOrientation", font.lfOrientation);
    store.WriteInt(kFontSection, "lfWeight", font.lfWeight);
    store.WriteInt(kFontSection, "lfItalic", font.lfItalic);
    store.WriteInt(kFontSection, "lfUnderline", font.lfUnderline);
    store.WriteInt(kFontSection, "lfStrikeOut", font.lfStrikeOut);
    store.WriteInt(kFontSection, "lfCharSet", font.lfCharSet);
    store.WriteInt(kFontSection, "lfOutPrecision", font.lfOutPrecision);
    store.WriteInt(kFontSection, "lfClipPrecision", font.lfClipPrecision);
    store.WriteInt(kFontSection, "lfPitchAndFamily", font.lfPitchAndFamily);
    store.WriteString(kFontSection, "lfFaceName", font.lfFaceName);
}

WindowSettings LoadWindowSettings(shell::SettingsStore& store) {
    WindowSettings settings;
    settings.captionFont = ReadCaptionFont(store);
    settings.captionColor =
        static_cast<options::ColorRef>(store.ReadInt(kFontSection, texts::kKeyCurrentColor, 0));
    settings.batchRenamePrefix =
        store.ReadString(kOptionSection, texts::kKeyBatchRenamer, texts::kDefaultBatchRenamer);
    return settings;
}

void SaveExitSettings(shell::SettingsStore& store, const std::string& outputFolder,
                      const WindowSettings& settings) {
    store.WriteString(kOptionSection, texts::kKeyPhotoOutputFolder, outputFolder);
    WriteCaptionFont(store, settings.captionFont);
    store.WriteInt(kFontSection, texts::kKeyCurrentColor,
                   static_cast<int32_t>(settings.captionColor));
    store.WriteString(kOptionSection, texts::kKeyBatchRenamer, settings.batchRenamePrefix);
}

}  // namespace vellumo::app
