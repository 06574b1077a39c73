#include "ui/qt/QtToolkit.h"

#include <QMessageBox>
#include <QThread>
#include <QWidget>

#include "base/QtText.h"

namespace vellumo::ui::qt {

using base::ToQString;

QMessageBox::Icon IconFor(MessageStyle style) {
    switch (style) {
        case MessageStyle::Information:
            return QMessageBox::Information;
        case MessageStyle::Error:
            return QMessageBox::Critical;
        case MessageStyle::YesNoQuestion:
            return QMessageBox::Question;
        case MessageStyle::Warning:
        case MessageStyle::YesNoExclamation:
            break;
    }
    return QMessageBox::Warning;
}

Answer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                      MessageStyle style) {
    QMessageBox box(owner);
    box.setWindowTitle(caption.isEmpty() ? ToQString(kApplicationName) : caption);
    box.setText(text);
    box.setIcon(IconFor(style));
    if (IsNotice(style)) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QtToolkit::QtToolkit(QWidget* owner, ToolkitHandlers handlers, MessageBoxFunction showMessage)
    : owner_(owner), handlers_(std::move(handlers)), showMessage_(std::move(showMessage)) {}

void QtToolkit::SetMessageBoxFunction(MessageBoxFunction showMessage) {
    showMessage_ = std::move(showMessage);
}

template <typename Job>
void QtToolkit::Post(Job&& job) {
    if (QThread::currentThread() == thread()) {
        job();
        return;
    }
    QMetaObject::invokeMethod(this, std::forward<Job>(job), Qt::QueuedConnection);
}

Answer QtToolkit::MessageBox(std::string_view text, std::string_view caption, MessageStyle style) {
    const QString qtext = ToQString(text);
    const QString qcaption = ToQString(caption);
    const auto show = [this, qtext, qcaption, style]() -> Answer {
        if (!showMessage_) {
            return IsNotice(style) ? Answer::Ok : Answer::No;
        }
        return showMessage_(owner_.data(), qtext, qcaption, style);
    };
    if (QThread::currentThread() == thread()) {
        return show();
    }
    // Queued like the events, so it is shown after every event reported before it.
    Answer answer = Answer::No;
    QMetaObject::invokeMethod(this, show, Qt::BlockingQueuedConnection, &answer);
    return answer;
}

void QtToolkit::ProgressChanged(int position) {
    Post([this, position] {
        if (handlers_.progressChanged) {
            handlers_.progressChanged(position);
        }
    });
}

void QtToolkit::LogCleared() {
    Post([this] {
        if (handlers_.logCleared) {
            handlers_.logCleared();
        }
    });
}

void QtToolkit::LogLineAdded(std::string_view line) {
    Post([this, qline = ToQString(line)] {
        if (handlers_.logLineAdded) {
            handlers_.logLineAdded(qline);
        }
    });
}

void QtToolkit::CaptionPositionReset(Axis axis) {
    Post([this, axis] {
        if (handlers_.captionPositionReset) {
            handlers_.captionPositionReset(axis);
        }
    });
}

void QtToolkit::RunFinished(const RunSummary& summary) {
    Post([this, summary] {
        if (handlers_.runFinished) {
            handlers_.runFinished(summary);
        }
    });
}

}  // namespace vellumo::ui::qt
