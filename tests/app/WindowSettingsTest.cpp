#include "app/WindowSettings.h"

#include <gtest/gtest.h>

#include "support/MemorySettingsStore.h"

namespace vellumo::app {
namespace {

using shell::kFontSection;
using shell::kOptionSection;

TEST(WindowSettings, CleanStoreGivesTheDefaults) {
    test::MemorySettingsStore store;
    const WindowSettings settings = LoadWindowSettings(store);
    EXPECT_EQ(settings.captionFont, options::CaptionFont{});
    EXPECT_EQ(settings.captionFont.lfHeight, -13);
    EXPECT_EQ(settings.captionFont.lfWeight, 400);
    EXPECT_EQ(settings.captionFont.lfFaceName, "");
    EXPECT_EQ(settings.captionColor, 0u);
    EXPECT_EQ(settings.batchRenamePrefix, "output.photo");
    EXPECT_TRUE(store.writes.empty());
}

TEST(WindowSettings, FontRoundTripsMemberByMemberWithoutQuality) {
    test::MemorySettingsStore store;
    options::CaptionFont font;
    font.lfHeight = -27;
    font.lfWidth = 11;
    font.lfEscapement = 900;
    font.lfOrientation = 450;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 204;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 5;
    font.lfPitchAndFamily = 34;
    font.lfFaceName = "DejaVu Serif";
    WriteCaptionFont(store, font);

    const std::vector<std::string> expectedOrder = {
        "lfHeight",        "lfWidth",          "lfEscapement", "lfOrientation", "lfWeight",
        "lfItalic",        "lfUnderline",      "lfStrikeOut",  "lfCharSet",     "lfOutPrecision",
        "lfClipPrecision", "lfPitchAndFamily", "lfFaceName"};
    ASSERT_EQ(store.writes.size(), expectedOrder.size());
    for (size_t i = 0; i < expectedOrder.size(); ++i) {
        EXPECT_EQ(store.writes[i], test::MemorySettingsStore::Name(kFontSection, expectedOrder[i]));
    }
    EXPECT_FALSE(store.Has(kFontSection, "lfQuality"));

    options::CaptionFont back = ReadCaptionFont(store);
    EXPECT_EQ(back.lfQuality, 0);  // not stored
    back.lfQuality = font.lfQuality;
    EXPECT_EQ(back, font);
}

TEST(WindowSettings, ByteMembersKeepTheirLowByteAndLongFaceNamesAreCut) {
    test::MemorySettingsStore store;
    store.WriteInt(kFontSection, "lfItalic", 0x1FF);
    store.WriteInt(kFontSection, "lfCharSet", -1);
    store.WriteString(kFontSection, "lfFaceName", std::string(40, 'F'));
    const options::CaptionFont font = ReadCaptionFont(store);
    EXPECT_EQ(font.lfItalic, 0xFF);
    EXPECT_EQ(font.lfCharSet, 0xFF);
    EXPECT_EQ(font.lfFaceName, std::string(kMaxFaceNameLength, 'F'));
}

TEST(WindowSettings, WrongTypedValuesFallBackSilently) {
    test::MemorySettingsStore store;
    store.WriteString(kFontSection, "lfHeight", "big");
    store.WriteString(kFontSection, "nCurrentColor", "red");
    store.WriteInt(kOptionSection, "m_batch_renamer", 12);
    store.WriteInt(kFontSection, "lfFaceName", 3);
    const WindowSettings settings = LoadWindowSettings(store);
    EXPECT_EQ(settings.captionFont.lfHeight, -13);
    EXPECT_EQ(settings.captionColor, 0u);
    EXPECT_EQ(settings.batchRenamePrefix, "output.photo");
    EXPECT_EQ(settings.captionFont.lfFaceName, "");
}

TEST(WindowSettings, ExitWritesFolderFontColourAndPrefixInOrder) {
    test::MemorySettingsStore store;
    WindowSettings settings;
    settings.captionColor = options::MakeColorRef(255, 0, 0);
    settings.batchRenamePrefix = "holiday";
    SaveExitSettings(store, "/srv/out/", settings);
    ASSERT_EQ(store.writes.size(), 16u);
    EXPECT_EQ(store.writes.front(), "Option/photo_output_folder");
    EXPECT_EQ(store.writes[1], "CurrentFont/lfHeight");
    EXPECT_EQ(store.writes[13], "CurrentFont/lfFaceName");
    EXPECT_EQ(store.writes[14], "CurrentFont/nCurrentColor");
    EXPECT_EQ(store.writes[15], "Option/m_batch_renamer");
    EXPECT_EQ(store.String(kOptionSection, "photo_output_folder"), "/srv/out/");
    EXPECT_EQ(store.Int(kFontSection, "nCurrentColor"), 0xFF);
    EXPECT_EQ(store.String(kOptionSection, "m_batch_renamer"), "holiday");
}

}  // namespace
}  // namespace vellumo::app
