#pragma once
// The window's implementation of the toolkit interface. Every call may come from the
// conversion worker: it is carried out on the window's thread, and the worker waits
// until it has taken effect (for a message box: until the user has answered).

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "ui/Toolkit.h"

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QWidget;

namespace vellumo::ui::qt {

// Shows one modal message box owned by `owner` and returns the answer. The window's
// thread only. Replaceable so that tests can answer.
using MessageBoxFunction = std::function<Answer(QWidget* owner, const QString& text,
                                                const QString& caption, MessageStyle style)>;

// The real thing: a QMessageBox with the caption as title (the application name when
// the caption is empty), OK or Yes/No buttons and an icon that fits the caption.
Answer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                      MessageStyle style);

// The widgets the toolkit drives. A missing one makes its calls do nothing (reads give
// empty text).
struct ToolkitWidgets {
    QWidget* owner = nullptr;
    QAbstractButton* convertButton = nullptr;
    QProgressBar* progress = nullptr;
    QLineEdit* captionText = nullptr;
    QLineEdit* captionX = nullptr;
    QLineEdit* captionY = nullptr;
    QListWidget* logList = nullptr;
};

class QtToolkit : public QObject, public Toolkit {
  public:
    // Lives on the thread that creates it, which must be the widgets' thread.
    explicit QtToolkit(ToolkitWidgets widgets, MessageBoxFunction showMessage = ShowMessageBox);

    void SetMessageBoxFunction(MessageBoxFunction showMessage);

    Answer MessageBox(std::string_view text, std::string_view caption, MessageStyle style) override;
    void SetConvertButtonText(std::string_view text) override;
    void SetProgressPosition(int position) override;
    std::string CaptionText() override;
    std::string CaptionPositionX() override;
    std::string CaptionPositionY() override;
    void SetCaptionPositionX(std::string_view text) override;
    void SetCaptionPositionY(std::string_view text) override;
    void AppendLogListLine(std::string_view line) override;
    int LogListCount() override;
    void DeleteLogListLine(int index) override;
    void ResetLogList() override;

    // Called on the window's thread after each Convert button text change, so that the
    // window can follow the run (the worker sets "Stop" when it starts, "Convert" when it
    // is done with the photos).
    std::function<void(const QString& text)> onConvertButtonText;

  private:
    // Runs `job` on the window's thread and returns its result; from another thread the
    // caller blocks until it has run.
    template <typename Job>
    auto OnWindowThread(Job&& job) -> decltype(job());

    static std::string TextOf(const QPointer<QLineEdit>& edit);

    QPointer<QWidget> owner_;
    QPointer<QAbstractButton> convertButton_;
    QPointer<QProgressBar> progress_;
    QPointer<QLineEdit> captionText_;
    QPointer<QLineEdit> captionX_;
    QPointer<QLineEdit> captionY_;
    QPointer<QListWidget> logList_;
    MessageBoxFunction showMessage_;
};

}  // namespace vellumo::ui::qt
