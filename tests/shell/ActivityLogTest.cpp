#include "shell/ActivityLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace vellumo::shell {
namespace {

namespace fs = std::filesystem;

class ListRecorder : public LogSink {
  public:
    void LogLineAdded(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class ActivityLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() /
            ("vellumo-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

TEST(LogStamp, IsZeroPaddedLocalTimeWithTrailingBlank) {
    EXPECT_EQ(LogTimeStamp(LocalTime(2009, 3, 7, 9, 5, 3)), "2009/03/07 09:05:03 ");
    EXPECT_EQ(LogTimeStamp(LocalTime(1999, 12, 31, 23, 59, 58)), "1999/12/31 23:59:58 ");
}

TEST(LogStamp, CurrentTimeHasThePattern) {
    const std::regex pattern(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} )");
    EXPECT_TRUE(std::regex_match(LogTimeStamp(std::time(nullptr)), pattern));
}

TEST(LogFileName, JoinsTheOutputFolder) {
    EXPECT_EQ(LogFilePathIn("/home/u/Pictures/Vellumo/"), "/home/u/Pictures/Vellumo/Brindle.log");
}

TEST_F(ActivityLogTest, EveryLineIsShownAndKeptInTheFile) {
    ListRecorder list;
    ActivityLog log(list, folder_ / "Brindle.log");
    const std::time_t when = LocalTime(2009, 3, 7, 14, 5, 9);
    for (int i = 1; i <= 501; ++i) {
        ASSERT_TRUE(log.AppendLogLineAt("line " + std::to_string(i), when));
    }
    ASSERT_EQ(list.lines.size(), 501u);
    EXPECT_EQ(list.lines.front(), "2009/03/07 14:05:09 line 1");
    EXPECT_EQ(list.lines.back(), "2009/03/07 14:05:09 line 501");

    const auto fileLines = ReadLines(folder_ / "Brindle.log");
    ASSERT_EQ(fileLines.size(), 501u);
    EXPECT_EQ(fileLines.front(), "2009/03/07 14:05:09 line 1");
    EXPECT_EQ(fileLines.back(), "2009/03/07 14:05:09 line 501");
}

TEST_F(ActivityLogTest, FileGrowsAcrossRunsAndIsNeverEmptied) {
    const fs::path file = folder_ / "Brindle.log";
    {
        std::ofstream earlier(file);
        earlier << "from an earlier run\n";
    }
    ListRecorder list;
    ActivityLog log(list, file);
    EXPECT_TRUE(log.AppendLogLine("first"));
    ActivityLog again(list, file);
    EXPECT_TRUE(again.AppendLogLine("second"));

    const auto lines = ReadLines(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "from an earlier run");
    EXPECT_NE(lines[1].find("first"), std::string::npos);
    EXPECT_NE(lines[2].find("second"), std::string::npos);
}

TEST_F(ActivityLogTest, UnwritableFileKeepsTheLineInTheListOnly) {
    ListRecorder list;
    ActivityLog log(list, folder_ / "missing-folder" / "Brindle.log");
    EXPECT_FALSE(log.AppendLogLine("notice"));
    ASSERT_EQ(list.lines.size(), 1u);
    EXPECT_NE(list.lines[0].find("notice"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder_ / "missing-folder"));
}

TEST_F(ActivityLogTest, NoFileMeansListOnly) {
    ListRecorder list;
    ActivityLog log(list, {});
    EXPECT_FALSE(log.AppendLogLine("notice"));
    EXPECT_EQ(list.lines.size(), 1u);
}

}  // namespace
}  // namespace vellumo::shell
