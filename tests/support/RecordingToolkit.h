#pragma once
// A toolkit that records the engine's events and messages and answers questions from a
// script. Safe to call from the conversion worker.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Toolkit.h"

namespace vellumo::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    ui::MessageStyle style;
};

class RecordingToolkit : public ui::Toolkit {
  public:
    // Answers for the next questions, in order; when the script runs out, `defaultAnswer`.
    void ScriptAnswers(std::initializer_list<ui::Answer> answers) {
        std::lock_guard lock(mutex_);
        answers_.insert(answers_.end(), answers);
    }
    ui::Answer defaultAnswer = ui::Answer::Yes;

    ui::Answer MessageBox(std::string_view text, std::string_view caption,
                          ui::MessageStyle style) override {
        std::lock_guard lock(mutex_);
        messages_.push_back({std::string(text), std::string(caption), style});
        if (ui::IsNotice(style)) {
            return ui::Answer::Ok;
        }
        if (answers_.empty()) {
            return defaultAnswer;
        }
        const ui::Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void ProgressChanged(int position) override {
        std::lock_guard lock(mutex_);
        progress_.push_back(position);
    }
    void LogCleared() override {
        std::lock_guard lock(mutex_);
        logLines_.clear();
    }
    void LogLineAdded(std::string_view line) override {
        std::lock_guard lock(mutex_);
        logLines_.emplace_back(line);
    }
    void CaptionPositionReset(ui::Axis axis) override {
        std::lock_guard lock(mutex_);
        resets_.push_back(axis);
    }
    void RunFinished(const ui::RunSummary& summary) override {
        std::lock_guard lock(mutex_);
        finished_.push_back(summary);
    }

    std::vector<RecordedMessage> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    std::vector<std::string> messageTexts() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> out;
        for (const auto& m : messages_) {
            out.push_back(m.text);
        }
        return out;
    }
    std::vector<int> progress() const {
        std::lock_guard lock(mutex_);
        return progress_;
    }
    // The log lines since the last LogCleared.
    std::vector<std::string> logList() const {
        std::lock_guard lock(mutex_);
        return logLines_;
    }
    std::vector<ui::Axis> captionResets() const {
        std::lock_guard lock(mutex_);
        return resets_;
    }
    std::vector<ui::RunSummary> finishedRuns() const {
        std::lock_guard lock(mutex_);
        return finished_;
    }

  private:
    mutable std::mutex mutex_;
    std::deque<ui::Answer> answers_;
    std::vector<RecordedMessage> messages_;
    std::vector<int> progress_;
    std::vector<std::string> logLines_;
    std::vector<ui::Axis> resets_;
    std::vector<ui::RunSummary> finished_;
};

}  // namespace vellumo::test
