#include "shell/QtSettingsStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

namespace vellumo::shell {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
  protected:
    std::filesystem::path IniPath() const { return dir_.filePath("Vellumo.ini").toStdString(); }
    void WriteIni(const std::string& text) const {
        std::ofstream out(IniPath());
        out << text;
    }
    QTemporaryDir dir_;
};

TEST_F(QtSettingsStoreTest, ValuesSurviveANewStoreOnTheSameFile) {
    {
        QtSettingsStore store(IniPath());
        store.WriteInt(kFontSection, "lfHeight", -13);
        store.WriteInt(kFontSection, "lfWeight", 700);
        store.WriteInt(kFontSection, "nCurrentColor", 0x00FF8040);
        store.WriteString(kOptionSection, "last_output_folder", "/home/ann/My, \"odd\" Bilder/");
        store.WriteString(kOptionSection, "m_batch_renamer", "Fotos \xC3\xA4\xC3\xB6");
        store.WriteString(kOptionSection, "LastPhotoFolder", "");
        ASSERT_TRUE(store.Sync());
    }
    QtSettingsStore again(IniPath());
    EXPECT_EQ(again.ReadInt(kFontSection, "lfHeight", 0), -13);
    EXPECT_EQ(again.ReadInt(kFontSection, "lfWeight", 0), 700);
    EXPECT_EQ(again.ReadInt(kFontSection, "nCurrentColor", 0), 0x00FF8040);
    EXPECT_EQ(again.ReadString(kOptionSection, "last_output_folder", "x"),
              "/home/ann/My, \"odd\" Bilder/");
    EXPECT_EQ(again.ReadString(kOptionSection, "m_batch_renamer", "x"), "Fotos \xC3\xA4\xC3\xB6");
    // An empty stored string is a value, not a missing key.
    EXPECT_EQ(again.ReadString(kOptionSection, "LastPhotoFolder", "x"), "");
}

TEST_F(QtSettingsStoreTest, IntegersAndStringsKeepTheirSections) {
    QtSettingsStore store(IniPath());
    store.WriteInt(kOptionSection, "nCurrentJpegQuality", 55);
    EXPECT_EQ(store.ReadInt(kFontSection, "nCurrentJpegQuality", 80), 80);
    EXPECT_EQ(store.ReadInt(kOptionSection, "nCurrentJpegQuality", 80), 55);
    EXPECT_EQ(store.ReadString(kOptionSection, "missing", "fallback"), "fallback");
}

TEST_F(QtSettingsStoreTest, GarbageAndWrongTypesReadAsTheDefault) {
    WriteIni(
        "[CurrentFont]\n"
        "lfHeight=abc\n"
        "lfWidth=12abc\n"
        "lfEscapement=\n"
        "lfOrientation=99999999999\n"
        "lfWeight=1.5\n"
        "lfItalic=0x10\n"
        "lfUnderline=\" 7 \"\n"
        "lfFaceName=a, b\n"
        "nCurrentColor=@ByteArray(\\x1\\x2)\n"
        "[Option]\n"
        "m_batch_renamer=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5QSize)\n"
        "photo_output_folder=/fine/\n"
        "garbage line without equals\n");
    QtSettingsStore store(IniPath());
    EXPECT_EQ(store.ReadInt(kFontSection, "lfHeight", -13), -13);
    EXPECT_EQ(store.ReadInt(kFontSection, "lfWidth", 0), 0);
    EXPECT_EQ(store.ReadInt(kFontSection, "lfEscapement", 3), 3);
    EXPECT_EQ(store.ReadInt(kFontSection, "lfOrientation", 0), 0);
    EXPECT_EQ(store.ReadInt(kFontSection, "lfWeight", 400), 400);
    EXPECT_EQ(store.ReadInt(kFontSection, "lfItalic", 0), 0);
    // Blanks around a number are tolerated; the number is used.
    EXPECT_EQ(store.ReadInt(kFontSection, "lfUnderline", 0), 7);
    EXPECT_EQ(store.ReadString(kFontSection, "lfFaceName", ""), "");
    EXPECT_EQ(store.ReadInt(kFontSection, "nCurrentColor", 0), 0);
    EXPECT_EQ(store.ReadString(kOptionSection, "m_batch_renamer", "output.photo"), "output.photo");
    EXPECT_EQ(store.ReadString(kOptionSection, "photo_output_folder", ""), "/fine/");
}

TEST(ParseStoredInt, AcceptsOnlyWholeThirtyTwoBitNumbers) {
    EXPECT_EQ(ParseStoredInt("0"), 0);
    EXPECT_EQ(ParseStoredInt("+5"), 5);
    EXPECT_EQ(ParseStoredInt(" -13\t"), -13);
    EXPECT_EQ(ParseStoredInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseStoredInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseStoredInt("2147483648"), std::nullopt);
    EXPECT_EQ(ParseStoredInt("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseStoredInt(""), std::nullopt);
    EXPECT_EQ(ParseStoredInt("+"), std::nullopt);
    EXPECT_EQ(ParseStoredInt("--1"), std::nullopt);
    EXPECT_EQ(ParseStoredInt("1 2"), std::nullopt);
    EXPECT_EQ(ParseStoredInt("0x10"), std::nullopt);
}

TEST_F(QtSettingsStoreTest, SyncReportsAStoreThatCannotBeWritten) {
    WriteIni("");
    // A file where a folder would have to be: the store's file cannot be made.
    QtSettingsStore store(IniPath() / "sub" / "Vellumo.ini");
    store.WriteInt(kOptionSection, "nCurrentJpegQuality", 80);
    EXPECT_FALSE(store.Sync());
}

}  // namespace
}  // namespace vellumo::shell
