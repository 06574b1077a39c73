// The Qt toolkit carries calls from a worker over to the window's thread and makes the
// worker wait for them.
#include "ui/qt/QtToolkit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "WindowTestSupport.h"

namespace vellumo::ui::qt {
namespace {

// Listed first among the bases so the application exists before the owner widget.
struct ApplicationFirst {
    ApplicationFirst() { test::EnsureApplication(); }
};

class QtToolkitTest : public ::testing::Test, private ApplicationFirst {
  protected:
    void SetUp() override {
        widgets_.owner = &owner_;
        widgets_.convertButton = new QPushButton(QStringLiteral("Convert"), &owner_);
        widgets_.progress = new QProgressBar(&owner_);
        widgets_.progress->setRange(0, 999);
        widgets_.captionText = new QLineEdit(&owner_);
        widgets_.captionX = new QLineEdit(&owner_);
        widgets_.captionY = new QLineEdit(&owner_);
        widgets_.logList = new QListWidget(&owner_);
    }
    // Runs `job` on a worker while this thread serves events; returns when it is done.
    void OnWorker(const std::function<void()>& job) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            job();
            done = true;
        });
        while (!done) {
            QTest::qWait(1);
        }
        worker.join();
    }

    QWidget owner_;
    ToolkitWidgets widgets_;
};

TEST_F(QtToolkitTest, WorkerMessagesAreShownOnTheWindowThreadAndWaitForTheAnswer) {
    std::vector<QThread*> threads;
    std::vector<QString> captions;
    QtToolkit toolkit(widgets_, [&](QWidget* owner, const QString& text, const QString& caption,
                                    MessageStyle style) {
        EXPECT_EQ(owner, &owner_);
        threads.push_back(QThread::currentThread());
        captions.push_back(caption);
        return style == MessageStyle::Ok                  ? Answer::Ok
               : text.contains(QStringLiteral("replace")) ? Answer::No
                                                          : Answer::Yes;
    });
    Answer replace = Answer::Ok;
    Answer question = Answer::Ok;
    OnWorker([&] {
        toolkit.Report("Failed to save the file!", "/out/a.tif");
        replace = toolkit.MessageBox("a.tif exists. Do you want to replace it?", "Warning",
                                     MessageStyle::YesNoExclamation);
        question = toolkit.MessageBox("Go on?", "Question", MessageStyle::YesNoQuestion);
    });
    EXPECT_EQ(replace, Answer::No);
    EXPECT_EQ(question, Answer::Yes);
    ASSERT_EQ(threads.size(), 3u);
    for (QThread* t : threads) {
        EXPECT_EQ(t, QThread::currentThread());
    }
    EXPECT_EQ(captions[0], QStringLiteral("/out/a.tif"));
}

TEST_F(QtToolkitTest, WorkerChangesTakeEffectBeforeTheCallReturns) {
    QtToolkit toolkit(widgets_);
    widgets_.captionX->setText(QStringLiteral("2000"));
    QString textSeenAfterCall;
    int progressSeenAfterCall = -1;
    std::string captionX;
    int count = -1;
    OnWorker([&] {
        toolkit.SetConvertButtonText("Stop");
        textSeenAfterCall = widgets_.convertButton->text();
        toolkit.SetProgressPosition(5000);  // above 999 shows as full
        progressSeenAfterCall = widgets_.progress->value();
        captionX = toolkit.CaptionPositionX();
        toolkit.SetCaptionPositionX("0");
        toolkit.AppendLogListLine("one");
        toolkit.AppendLogListLine("two");
        toolkit.DeleteLogListLine(0);
        toolkit.DeleteLogListLine(9);  // no such line: nothing happens
        count = toolkit.LogListCount();
    });
    EXPECT_EQ(textSeenAfterCall, QStringLiteral("Stop"));
    EXPECT_EQ(progressSeenAfterCall, 999);
    EXPECT_EQ(captionX, "2000");
    EXPECT_EQ(widgets_.captionX->text(), QStringLiteral("0"));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(widgets_.logList->item(0)->text(), QStringLiteral("two"));
    toolkit.ResetLogList();
    EXPECT_EQ(widgets_.logList->count(), 0);
}

TEST_F(QtToolkitTest, MissingWidgetsAreHarmless) {
    QtToolkit toolkit(ToolkitWidgets{});
    OnWorker([&] {
        toolkit.SetConvertButtonText("Stop");
        toolkit.SetProgressPosition(3);
        EXPECT_EQ(toolkit.CaptionText(), "");
        EXPECT_EQ(toolkit.LogListCount(), 0);
    });
    toolkit.SetMessageBoxFunction(nullptr);
    EXPECT_EQ(toolkit.MessageBox("x", "y", MessageStyle::YesNoQuestion), Answer::No);
}

}  // namespace
}  // namespace vellumo::ui::qt
