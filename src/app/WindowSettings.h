#pragma once
// The window's own settings: the caption font (member by member, section
// "CurrentFont"), the caption colour and the batch rename prefix, read when the window
// is made and written by the exit routine together with the output folder.

#include <string>

#include "options/CaptionFont.h"
#include "shell/SettingsStore.h"

namespace vellumo::app {

// The longest face name a font record holds; longer stored names are cut there.
inline constexpr int kMaxFaceNameLength = 31;

struct WindowSettings {
    options::CaptionFont captionFont;
    options::ColorRef captionColor = 0;
    std::string batchRenamePrefix;
};

// Reads the caption font; each member falls back to its default when missing or not
// a number, and the byte members keep only their low byte.
options::CaptionFont ReadCaptionFont(shell::SettingsStore& store);
// Writes the twelve integer members from "lfHeight" to "lfPitchAndFamily", then
// "lfFaceName" (lfQuality has no key).
void WriteCaptionFont(shell::SettingsStore& store, const options::CaptionFont& font);

// What the window reads when it is made.
WindowSettings LoadWindowSettings(shell::SettingsStore& store);

// Exit steps: "photo_output_folder", the caption font, "nCurrentColor" and
// "m_batch_renamer", in that order.
void SaveExitSettings(shell::SettingsStore& store, const std::string& outputFolder,
                      const WindowSettings& settings);

}  // namespace vellumo::app
