#pragma once
// What the engine asks of a front end: messages and questions, the Convert/Stop button
// text, the progress position, the caption boxes and the activity log list. The window
// implements it with widgets, the command line with a terminal, the tests by recording.
// Every call may come from the conversion worker; it takes effect before it returns.

#include <string>
#include <string_view>

#include "options/Reporter.h"

namespace vellumo::ui {

// The application name: the caption of messages that name none.
inline constexpr std::string_view kApplicationName = "Vellumo";

enum class MessageStyle {
    Ok,                // information or error, OK button
    YesNoExclamation,  // a warning question (replace a file?)
    YesNoQuestion,     // a question
};

enum class Answer { Ok, Yes, No };

class Toolkit : public options::Reporter {
  public:
    // A modal message; the calling thread waits until it is answered.
    virtual Answer MessageBox(std::string_view text, std::string_view caption,
                              MessageStyle style) = 0;

    // Convert button ("Convert" / "Stop").
    virtual void SetConvertButtonText(std::string_view text) = 0;
    // Progress bar, range 0 to 999; positions above 999 show as full.
    virtual void SetProgressPosition(int position) = 0;

    // The caption text box and the two caption position boxes, read when needed.
    virtual std::string CaptionText() = 0;
    virtual std::string CaptionPositionX() = 0;
    virtual std::string CaptionPositionY() = 0;
    virtual void SetCaptionPositionX(std::string_view text) = 0;
    virtual void SetCaptionPositionY(std::string_view text) = 0;

    // The on-screen activity log list; lines stay in the order added.
    virtual void AppendLogListLine(std::string_view line) = 0;
    virtual int LogListCount() = 0;
    virtual void DeleteLogListLine(int index) = 0;
    virtual void ResetLogList() = 0;

    // Told when the run starts work on a page (0-based), for front ends that show the
    // current file; the window ignores it.
    virtual void PageStarted(int /*index*/, int /*total*/, std::string_view /*path*/) {}

    void Report(std::string_view text, std::string_view caption) override {
        MessageBox(text, caption, MessageStyle::Ok);
    }
};

}  // namespace vellumo::ui
