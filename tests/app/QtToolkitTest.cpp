// The Qt toolkit carries events and messages from a worker over to the window's thread,
// in order; only messages make the worker wait.
#include "ui/qt/QtToolkit.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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
};

TEST_F(QtToolkitTest, WorkerMessagesAreShownOnTheWindowThreadAndWaitForTheAnswer) {
    std::vector<QThread*> threads;
    std::vector<QString> captions;
    QtToolkit toolkit(
        &owner_, {},
        [&](QWidget* owner, const QString& text, const QString& caption, MessageStyle style) {
            EXPECT_EQ(owner, &owner_);
            threads.push_back(QThread::currentThread());
            captions.push_back(caption);
            return IsNotice(style)                            ? Answer::Ok
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

// Events reach the handlers on the window's thread, in the order they were reported,
// messages included; the worker does not wait for them.
TEST_F(QtToolkitTest, WorkerEventsKeepTheirOrderWithMessagesOnTheWindowThread) {
    QStringList seen;
    std::vector<QThread*> threads;
    ToolkitHandlers handlers;
    const auto note = [&](const QString& what) {
        seen << what;
        threads.push_back(QThread::currentThread());
    };
    handlers.progressChanged = [&](int p) { note(QString::number(p)); };
    handlers.logCleared = [&] { note(QStringLiteral("cleared")); };
    handlers.logLineAdded = [&](const QString& line) { note(line); };
    handlers.captionPositionReset = [&](Axis a) { note(a == Axis::X ? "X" : "Y"); };
    handlers.runFinished = [&](const RunSummary& s) {
        note("end " + QString::number(s.pagesWritten));
    };
    QtToolkit toolkit(&owner_, handlers,
                      [&](QWidget*, const QString& text, const QString&, MessageStyle) {
                          note(text);
                          return Answer::Ok;
                      });
    OnWorker([&] {
        toolkit.LogCleared();
        toolkit.ProgressChanged(0);
        toolkit.CaptionPositionReset(Axis::Y);
        toolkit.LogLineAdded("a line");
        toolkit.Report("a message", "Error");
        toolkit.ProgressChanged(999);
        RunSummary summary;
        summary.pagesWritten = 2;
        toolkit.RunFinished(summary);
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, (QStringList{"cleared", "0", "Y", "a line", "a message", "999", "end 2"}));
    for (QThread* t : threads) {
        EXPECT_EQ(t, QThread::currentThread());
    }
}

TEST_F(QtToolkitTest, MissingHandlersAndMessageFunctionAreHarmless) {
    QtToolkit toolkit(nullptr);
    OnWorker([&] {
        toolkit.ProgressChanged(3);
        toolkit.LogLineAdded("x");
        toolkit.RunFinished({});
    });
    QCoreApplication::processEvents();
    toolkit.SetMessageBoxFunction(nullptr);
    EXPECT_EQ(toolkit.MessageBox("x", "y", MessageStyle::YesNoQuestion), Answer::No);
}

// The icon says what kind of message it is, whatever the caption (often a file's path).
TEST(MessageIcons, FollowTheKindOfMessage) {
    EXPECT_EQ(IconFor(MessageStyle::Error), QMessageBox::Critical);
    EXPECT_EQ(IconFor(MessageStyle::Warning), QMessageBox::Warning);
    EXPECT_EQ(IconFor(MessageStyle::Information), QMessageBox::Information);
    EXPECT_EQ(IconFor(MessageStyle::YesNoExclamation), QMessageBox::Warning);
    EXPECT_EQ(IconFor(MessageStyle::YesNoQuestion), QMessageBox::Question);
}

}  // namespace
}  // namespace vellumo::ui::qt
