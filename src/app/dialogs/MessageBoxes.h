#pragma once
// Message boxes of the dialogs module. They go through one replaceable function so
// tests can answer them; the default is the program's one message box
// (ui::qt::ShowMessageBox), whose icon follows the message's kind.

#include <QString>
#include <functional>
#include <string_view>

#include "options/Reporter.h"
#include "ui/Toolkit.h"

class QWidget;

namespace vellumo::app::dialogs {

using MessageFunction = std::function<ui::Answer(QWidget* owner, const QString& text,
                                                 const QString& caption, ui::MessageStyle)>;

// Shows a message through the current function and returns the answer.
ui::Answer ShowMessage(QWidget* owner, std::string_view text, std::string_view caption,
                       ui::MessageStyle style);

// Replaces the function; an empty function restores the QMessageBox one. Returns the
// function that was in place.
MessageFunction SetMessageFunction(MessageFunction function);

// Installs a function for one scope (tests) and restores the previous one after.
class ScopedMessageFunction {
  public:
    explicit ScopedMessageFunction(MessageFunction function)
        : previous_(SetMessageFunction(std::move(function))) {}
    ~ScopedMessageFunction() { SetMessageFunction(std::move(previous_)); }
    ScopedMessageFunction(const ScopedMessageFunction&) = delete;
    ScopedMessageFunction& operator=(const ScopedMessageFunction&) = delete;

  private:
    MessageFunction previous_;
};

// A reporter whose reports become message boxes owned by `owner` (for the size rule).
class MessageReporter : public options::Reporter {
  public:
    explicit MessageReporter(QWidget* owner) : owner_(owner) {}
    void Report(std::string_view text, std::string_view caption) override {
        ShowMessage(owner_, text, caption, ui::MessageStyle::Error);
    }

  private:
    QWidget* owner_;
};

}  // namespace vellumo::app::dialogs
