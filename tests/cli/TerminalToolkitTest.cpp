#include "cli/TerminalToolkit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vellumo::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A temporary file standing in for a stream, read back whole.
class Stream {
  public:
    Stream() : file_(std::tmpfile()) {}
    ~Stream() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    std::FILE* get() const { return file_; }
    std::string Text() const {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        int c;
        while ((c = std::fgetc(file_)) != EOF) {
            text.push_back(static_cast<char>(c));
        }
        return text;
    }
    // Writes `text` and rewinds, so that it can be read as standard input.
    void Prepare(const std::string& text) {
        std::fputs(text.c_str(), file_);
        std::rewind(file_);
    }

  private:
    std::FILE* file_;
};

TEST(TerminalToolkit, MessagesArePrintedAsCaptionAndText) {
    Stream err;
    TerminalToolkit toolkit(err.get(), nullptr, TerminalSettings{});
    EXPECT_EQ(toolkit.MessageBox("Can not Active a Frame", "Error", ui::MessageStyle::Error),
              ui::Answer::Ok);
    toolkit.Report("Failed to save the file!", "/out/album.tif");
    EXPECT_EQ(err.Text(),
              "Error: Can not Active a Frame\n/out/album.tif: Failed to save the file!\n");
    EXPECT_EQ(toolkit.messageCount(), 2);
}

TEST(TerminalToolkit, QuestionsAreAnsweredByOverwriteByTheUserOrRefused) {
    const std::string question = "/o.tif exists. Do you want to replace it?";
    {
        Stream err;
        TerminalSettings s;
        s.assumeYes = true;
        TerminalToolkit toolkit(err.get(), nullptr, s);
        EXPECT_EQ(toolkit.MessageBox(question, "Warning", ui::MessageStyle::YesNoExclamation),
                  ui::Answer::Yes);
    }
    {
        Stream err;
        TerminalToolkit toolkit(err.get(), nullptr, TerminalSettings{});
        EXPECT_EQ(toolkit.MessageBox(question, "Warning", ui::MessageStyle::YesNoExclamation),
                  ui::Answer::No);
        // Nobody can answer: the question is not put; the caller says what was left alone.
        EXPECT_EQ(err.Text(), "");
    }
    for (const auto& [reply, answer] :
         std::initializer_list<std::pair<const char*, ui::Answer>>{{"y\n", ui::Answer::Yes},
                                                                   {"YES\n", ui::Answer::Yes},
                                                                   {"n\n", ui::Answer::No},
                                                                   {"\n", ui::Answer::No},
                                                                   {"maybe\n", ui::Answer::No},
                                                                   {"", ui::Answer::No}}) {
        SCOPED_TRACE(reply);
        Stream err;
        Stream in;
        in.Prepare(reply);
        TerminalSettings s;
        s.askQuestions = true;
        TerminalToolkit toolkit(err.get(), in.get(), s);
        EXPECT_EQ(toolkit.MessageBox(question, "Warning", ui::MessageStyle::YesNoQuestion), answer);
        EXPECT_THAT(err.Text(), HasSubstr(question + " [y/N] "));
    }
}

TEST(TerminalToolkit, ProgressIsPlainLinesOffTerminalAndNothingWhenQuiet) {
    Stream err;
    TerminalToolkit toolkit(err.get(), nullptr, TerminalSettings{});
    toolkit.PageStarted(0, 3, "/photos/a.jpg");
    toolkit.ProgressChanged(333);
    toolkit.PageStarted(1, 3, "/photos/b.jpg");
    toolkit.FinishProgress();
    EXPECT_EQ(err.Text(), "page 1 of 3: /photos/a.jpg\npage 2 of 3: /photos/b.jpg\n");

    Stream quietErr;
    TerminalSettings quiet;
    quiet.quiet = true;
    quiet.progressBar = true;
    TerminalToolkit quietToolkit(quietErr.get(), nullptr, quiet);
    quietToolkit.PageStarted(0, 3, "/photos/a.jpg");
    quietToolkit.ProgressChanged(500);
    quietToolkit.LogLineAdded("2009/03/07 09:05:03 note");
    quietToolkit.MessageBox("Failed to convert photo!", "Error", ui::MessageStyle::Error);
    EXPECT_EQ(quietErr.Text(), "Error: Failed to convert photo!\n");
}

TEST(TerminalToolkit, ProgressBarIsOneRedrawnLineThatMessagesDoNotMangle) {
    Stream err;
    TerminalSettings s;
    s.progressBar = true;
    s.columns = 60;
    TerminalToolkit toolkit(err.get(), nullptr, s);
    toolkit.PageStarted(1, 4, "/photos/" + std::string(100, 'n') + ".jpg");
    toolkit.ProgressChanged(500);
    toolkit.MessageBox("Failed to convert photo!", "Error", ui::MessageStyle::Error);
    toolkit.ProgressChanged(999);
    toolkit.FinishProgress();
    const std::string text = err.Text();
    EXPECT_THAT(text, HasSubstr("[########################] page 2 of 4"));

    EXPECT_THAT(text, HasSubstr("[############------------] page 2 of 4"));
    EXPECT_THAT(text, Not(HasSubstr("/photos/")));
    // The message starts on a cleared line and ends with a newline; the bar is redrawn.
    EXPECT_THAT(text, HasSubstr("\r\x1b[KError: Failed to convert photo!\n\r\x1b[K["));
    // No drawn line is wider than the terminal.
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (line.rfind("\x1b[K", 0) == 0) {
            line = line.substr(3);
        }
        EXPECT_LT(line.size(), 60u) << line;
        start = end + 1;
    }
    EXPECT_EQ(text.back(), 'K');  // FinishProgress leaves a cleared line
}

TEST(TerminalToolkit, LogLinesArePrintedAsTheyCome) {
    Stream err;
    TerminalToolkit toolkit(err.get(), nullptr, TerminalSettings{});
    toolkit.LogCleared();
    toolkit.LogLineAdded("first");
    toolkit.LogLineAdded("second");
    EXPECT_EQ(err.Text(), "first\nsecond\n");
}

}  // namespace
}  // namespace vellumo::cli
