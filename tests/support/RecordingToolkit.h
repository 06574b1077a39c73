#pragma once
// A toolkit that records what the engine shows and answers questions from a script.
// Safe to call from the conversion worker.

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
        if (style == ui::MessageStyle::Ok) {
            return ui::Answer::Ok;
        }
        if (answers_.empty()) {
            return defaultAnswer;
        }
        const ui::Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    void SetConvertButtonText(std::string_view text) override {
        std::lock_guard lock(mutex_);
        buttonTexts_.emplace_back(text);
    }
    void SetProgressPosition(int position) override {
        std::lock_guard lock(mutex_);
        progress_.push_back(position);
    }
    std::string CaptionText() override {
        std::lock_guard lock(mutex_);
        return captionText;
    }
    std::string CaptionPositionX() override {
        std::lock_guard lock(mutex_);
        return captionX;
    }
    std::string CaptionPositionY() override {
        std::lock_guard lock(mutex_);
        return captionY;
    }
    void SetCaptionPositionX(std::string_view text) override {
        std::lock_guard lock(mutex_);
        captionX = text;
    }
    void SetCaptionPositionY(std::string_view text) override {
        std::lock_guard lock(mutex_);
        captionY = text;
    }
    void AppendLogListLine(std::string_view line) override {
        std::lock_guard lock(mutex_);
        logList_.emplace_back(line);
    }
    int LogListCount() override {
        std::lock_guard lock(mutex_);
        return static_cast<int>(logList_.size());
    }
    void DeleteLogListLine(int index) override {
        std::lock_guard lock(mutex_);
        if (index >= 0 && static_cast<size_t>(index) < logList_.size()) {
            logList_.erase(logList_.begin() + index);
        }
    }
    void ResetLogList() override {
        std::lock_guard lock(mutex_);
        logList_.clear();
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
    std::vector<std::string> buttonTexts() const {
        std::lock_guard lock(mutex_);
        return buttonTexts_;
    }
    std::vector<int> progress() const {
        std::lock_guard lock(mutex_);
        return progress_;
    }
    std::vector<std::string> logList() const {
        std::lock_guard lock(mutex_);
        return logList_;
    }

    // Caption boxes as the test sets them up.
    std::string captionText;
    std::string captionX;
    std::string captionY;

  private:
    mutable std::mutex mutex_;
    std::deque<ui::Answer> answers_;
    std::vector<RecordedMessage> messages_;
    std::vector<std::string> buttonTexts_;
    std::vector<int> progress_;
    std::vector<std::string> logList_;
};

}  // namespace vellumo::test
