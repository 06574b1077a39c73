// Help, Update and View log: what is handed to the desktop, and what the user is told
// when that is impossible.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "DialogTestSupport.h"
#include "app/dialogs/HelpLocation.h"
#include "app/dialogs/Launchers.h"
#include "app/dialogs/ProductInfo.h"

namespace vellumo::app::dialogs {
namespace {

namespace fs = std::filesystem;

// Records what would be opened and answers with `succeed`.
class OpenerRecorder {
  public:
    explicit OpenerRecorder(bool succeed) {
        previous_ = SetUrlOpener([this, succeed](const QUrl& url) {
            opened.push_back(url);
            return succeed;
        });
    }
    ~OpenerRecorder() { SetUrlOpener(std::move(previous_)); }
    std::vector<QUrl> opened;

  private:
    UrlOpener previous_;
};

TEST(HelpLocationTest, InstalledDataFolderComesBeforeTheFolderBesideTheProgram) {
    const auto folders = HelpFolderCandidates(fs::path("/opt/vellumo/bin"));
    ASSERT_GE(folders.size(), 3u);
    EXPECT_EQ(folders[0], fs::path("/opt/vellumo/share/vellumo/help"));
    EXPECT_EQ(folders[1], fs::path("/opt/vellumo/bin/help"));
}

TEST(HelpLocationTest, FindsTheEntryPageInTheFirstFolderThatHasIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path root(dir.path().toStdString());
    fs::create_directories(root / "empty");
    fs::create_directories(root / "second");
    fs::create_directories(root / "third");
    std::ofstream(root / "second" / "Introduction.htm") << "<html></html>";
    std::ofstream(root / "third" / "Introduction.htm") << "<html></html>";
    // A folder with that name is not a page.
    fs::create_directories(root / "empty" / "Introduction.htm");

    const auto page =
        FindHelpEntryPage({root / "missing", root / "empty", root / "second", root / "third"});
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, root / "second" / "Introduction.htm");
    EXPECT_FALSE(FindHelpEntryPage({root / "missing", root / "empty"}));
}

TEST(LaunchersTest, HelpOpensTheIntroductionPageOfTheHelp) {
    test::MessageRecorder messages;
    OpenerRecorder opener(true);
    EXPECT_TRUE(OpenHelp(nullptr));
    ASSERT_EQ(opener.opened.size(), 1u);
    const QUrl url = opener.opened[0];
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_TRUE(url.toLocalFile().endsWith("/help/Introduction.htm"))
        << url.toString().toStdString();
    EXPECT_TRUE(QFile::exists(url.toLocalFile()));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(LaunchersTest, HelpWithoutAViewerSaysSoAndGivesThePagesPath) {
    test::MessageRecorder messages;
    OpenerRecorder opener(false);
    EXPECT_FALSE(OpenHelp(nullptr));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Help");
    const std::string& text = messages.shown[0].text;
    EXPECT_EQ(text.rfind("No program is set to open the help pages", 0), 0u) << text;
    const std::string path = text.substr(text.find('\n') + 1);
    EXPECT_TRUE(path.size() > 16 && path.substr(path.size() - 16) == "Introduction.htm") << path;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path))) << path;
}

TEST(LaunchersTest, UpdateOpensTheProductPage) {
    test::MessageRecorder messages;
    OpenerRecorder opener(true);
    EXPECT_TRUE(OpenProductPage(nullptr));
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl(ProductHomepage()));
    EXPECT_TRUE(opener.opened[0].isValid());
    EXPECT_FALSE(opener.opened[0].isLocalFile());
    EXPECT_TRUE(messages.shown.empty());
}

TEST(LaunchersTest, UpdateWithoutABrowserShowsTheAddressToTypeIn) {
    test::MessageRecorder messages;
    OpenerRecorder opener(false);
    EXPECT_FALSE(OpenProductPage(nullptr));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Unknown error");
    EXPECT_EQ(messages.shown[0].text,
              "The Program does not launch your web browser to access " +
                  ProductHomepage().toStdString() +
                  " ,\nPlease launch your web browser and input the URL manually.");
}

TEST(LaunchersTest, ViewLogOpensAnExistingLogEvenWithBlanksInItsPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path folder = fs::path(dir.path().toStdString()) / "my photos";
    fs::create_directories(folder);
    const fs::path log = folder / "Brindle.log";
    std::ofstream(log) << "2009/03/07 09:05:03 a line\n";

    test::MessageRecorder messages;
    OpenerRecorder opener(true);
    EXPECT_TRUE(ViewLog(nullptr, log));
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0].toLocalFile().toStdString(), log.string());
    EXPECT_TRUE(messages.shown.empty());
}

TEST(LaunchersTest, ViewLogWithoutALogFileSaysThereIsNone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path folder(dir.path().toStdString());
    test::MessageRecorder messages;
    OpenerRecorder opener(true);

    EXPECT_FALSE(ViewLog(nullptr, folder / "Brindle.log"));
    fs::create_directories(folder / "dir.log");
    EXPECT_FALSE(ViewLog(nullptr, folder / "dir.log"));

    EXPECT_TRUE(opener.opened.empty());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "There is not log file now!");
    EXPECT_EQ(messages.shown[0].caption, "Message");
}

}  // namespace
}  // namespace vellumo::app::dialogs
