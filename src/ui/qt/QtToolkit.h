#pragma once
// The window's implementation of the toolkit interface. Every call may come from the
// conversion worker. Events are handed to the window's thread without waiting and reach
// the window's handlers in the order they were reported; a message box is shown on the
// window's thread and the caller waits until the user has answered it.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "ui/Toolkit.h"

class QWidget;

namespace vellumo::ui::qt {

// Shows one modal message box owned by `owner` and returns the answer. The window's
// thread only. Replaceable so that tests can answer.
using MessageBoxFunction = std::function<Answer(QWidget* owner, const QString& text,
                                                const QString& caption, MessageStyle style)>;

// The real thing: a QMessageBox with the caption as title (the application name when
// the caption is empty), OK or Yes/No buttons and the icon of the message's kind. Every
// message box of the program is shown by this function.
Answer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                      MessageStyle style);
// The icon of each kind of message, in one place.
QMessageBox::Icon IconFor(MessageStyle style);

// What the window does with each event, called on the window's thread. An empty
// handler ignores its event.
struct ToolkitHandlers {
    std::function<void(int position)> progressChanged;
    std::function<void()> logCleared;
    std::function<void(const QString& line)> logLineAdded;
    std::function<void(Axis axis)> captionPositionReset;
    std::function<void(const RunSummary& summary)> runFinished;
};

class QtToolkit : public QObject, public Toolkit {
  public:
    // Lives on the thread that creates it, which must be the window's thread.
    explicit QtToolkit(QWidget* owner, ToolkitHandlers handlers = {},
                       MessageBoxFunction showMessage = ShowMessageBox);

    void SetMessageBoxFunction(MessageBoxFunction showMessage);

    Answer MessageBox(std::string_view text, std::string_view caption, MessageStyle style) override;
    void ProgressChanged(int position) override;
    void LogCleared() override;
    void LogLineAdded(std::string_view line) override;
    void CaptionPositionReset(Axis axis) override;
    void RunFinished(const RunSummary& summary) override;

  private:
    // Runs `job` on the window's thread: at once when called there, otherwise queued
    // behind the events reported before it.
    template <typename Job>
    void Post(Job&& job);

    QPointer<QWidget> owner_;
    ToolkitHandlers handlers_;
    MessageBoxFunction showMessage_;
};

}  // namespace vellumo::ui::qt
