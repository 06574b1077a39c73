#pragma once
// What the engine tells a front end, and the one thing it asks.
//
// The engine reports what happens as events: a run's progress, each activity log line,
// a caption position reset to 0 on one axis, the run's end with its summary. Events are
// reported in the order they happen and never wait for the front end; each front end
// draws them its own way (the window: its button text, its 500-line log list, its
// caption boxes; the command line: its progress line). The only blocking call is
// MessageBox: a message or question the calling thread waits on until it is answered.
// Events and messages keep one order between them. Any call may come from the
// conversion worker.
//
// A run reads nothing back from the front end: its settings (the caption text and
// position included) are one snapshot taken when Convert is pressed.

#include <string_view>

#include "options/Reporter.h"
#include "ui/RunSummary.h"

namespace vellumo::ui {

// The application name: the caption of messages that name none.
inline constexpr std::string_view kApplicationName = "Vellumo";

// The kind of a message: it decides the buttons and the icon, whatever the caption.
enum class MessageStyle {
    Information,       // OK button: something the user may want to know
    Warning,           // OK button: something the user should correct or mind
    Error,             // OK button: something failed
    YesNoExclamation,  // a warning question (replace a file?)
    YesNoQuestion,     // a question
};

// A message answered with OK alone.
constexpr bool IsNotice(MessageStyle style) {
    return style == MessageStyle::Information || style == MessageStyle::Warning ||
           style == MessageStyle::Error;
}

enum class Answer { Ok, Yes, No };

// The caption position's axes.
enum class Axis { X, Y };

class Toolkit : public options::Reporter {
  public:
    // A modal message; the calling thread waits until it is answered.
    virtual Answer MessageBox(std::string_view text, std::string_view caption,
                              MessageStyle style) = 0;

    // Progress of the run, 0 to 999; positions above 999 show as full.
    virtual void ProgressChanged(int position) = 0;
    // The run starts work on entry `index` (0-based) of `total`.
    virtual void PageStarted(int /*index*/, int /*total*/, std::string_view /*path*/) {}

    // The on-screen activity log starts afresh (at every Convert).
    virtual void LogCleared() = 0;
    // A time-stamped activity log line.
    virtual void LogLineAdded(std::string_view line) = 0;

    // A photo or an output file failed, with the reason (the decoder's, the system's);
    // told besides the message the user sees, for front ends that name files.
    virtual void Problem(std::string_view /*file*/, std::string_view /*reason*/) {}

    // The caption position on `axis` was out of range and is 0 from now on.
    virtual void CaptionPositionReset(Axis axis) = 0;

    // The run has ended and its output is closed; a new run may start.
    virtual void RunFinished(const RunSummary& summary) = 0;

    // What the lower layers report is always something that failed.
    void Report(std::string_view text, std::string_view caption) override {
        MessageBox(text, caption, MessageStyle::Error);
    }
};

}  // namespace vellumo::ui
