#include "ui/qt/QtToolkit.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>
#include <algorithm>
#include <type_traits>

namespace vellumo::ui::qt {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kProgressMaximum = 999;

}  // namespace

Answer ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                      MessageStyle style) {
    QMessageBox box(owner);
    box.setWindowTitle(caption.isEmpty() ? ToQString(kApplicationName) : caption);
    box.setText(text);
    if (style == MessageStyle::Ok) {
        const QString lower = caption.toLower();
        box.setIcon(lower == QLatin1String("error")     ? QMessageBox::Critical
                    : lower == QLatin1String("warning") ? QMessageBox::Warning
                                                        : QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setIcon(style == MessageStyle::YesNoExclamation ? QMessageBox::Warning
                                                        : QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QtToolkit::QtToolkit(ToolkitWidgets widgets, MessageBoxFunction showMessage)
    : owner_(widgets.owner),
      convertButton_(widgets.convertButton),
      progress_(widgets.progress),
      captionText_(widgets.captionText),
      captionX_(widgets.captionX),
      captionY_(widgets.captionY),
      logList_(widgets.logList),
      showMessage_(std::move(showMessage)) {}

void QtToolkit::SetMessageBoxFunction(MessageBoxFunction showMessage) {
    showMessage_ = std::move(showMessage);
}

template <typename Job>
auto QtToolkit::OnWindowThread(Job&& job) -> decltype(job()) {
    using Result = decltype(job());
    if (QThread::currentThread() == thread()) {
        return job();
    }
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(this, std::forward<Job>(job), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(this, std::forward<Job>(job), Qt::BlockingQueuedConnection,
                                  &result);
        return result;
    }
}

Answer QtToolkit::MessageBox(std::string_view text, std::string_view caption, MessageStyle style) {
    const QString qtext = ToQString(text);
    const QString qcaption = ToQString(caption);
    return OnWindowThread([this, qtext, qcaption, style]() -> Answer {
        if (!showMessage_) {
            return style == MessageStyle::Ok ? Answer::Ok : Answer::No;
        }
        return showMessage_(owner_.data(), qtext, qcaption, style);
    });
}

void QtToolkit::SetConvertButtonText(std::string_view text) {
    const QString qtext = ToQString(text);
    OnWindowThread([this, qtext] {
        if (convertButton_) {
            convertButton_->setText(qtext);
        }
        if (onConvertButtonText) {
            onConvertButtonText(qtext);
        }
    });
}

void QtToolkit::SetProgressPosition(int position) {
    OnWindowThread([this, position] {
        if (progress_) {
            progress_->setValue(std::clamp(position, 0, kProgressMaximum));
        }
    });
}

std::string QtToolkit::TextOf(const QPointer<QLineEdit>& edit) {
    return edit ? edit->text().toStdString() : std::string();
}

std::string QtToolkit::CaptionText() {
    return OnWindowThread([this] { return TextOf(captionText_); });
}

std::string QtToolkit::CaptionPositionX() {
    return OnWindowThread([this] { return TextOf(captionX_); });
}

std::string QtToolkit::CaptionPositionY() {
    return OnWindowThread([this] { return TextOf(captionY_); });
}

void QtToolkit::SetCaptionPositionX(std::string_view text) {
    const QString qtext = ToQString(text);
    OnWindowThread([this, qtext] {
        if (captionX_) {
            captionX_->setText(qtext);
        }
    });
}

void QtToolkit::SetCaptionPositionY(std::string_view text) {
    const QString qtext = ToQString(text);
    OnWindowThread([this, qtext] {
        if (captionY_) {
            captionY_->setText(qtext);
        }
    });
}

void QtToolkit::AppendLogListLine(std::string_view line) {
    const QString qline = ToQString(line);
    OnWindowThread([this, qline] {
        if (logList_) {
            logList_->addItem(qline);
        }
    });
}

int QtToolkit::LogListCount() {
    return OnWindowThread([this] { return logList_ ? logList_->count() : 0; });
}

void QtToolkit::DeleteLogListLine(int index) {
    OnWindowThread([this, index] {
        if (logList_ && index >= 0 && index < logList_->count()) {
            delete logList_->takeItem(index);
        }
    });
}

void QtToolkit::ResetLogList() {
    OnWindowThread([this] {
        if (logList_) {
            logList_->clear();
        }
    });
}

}  // namespace vellumo::ui::qt
