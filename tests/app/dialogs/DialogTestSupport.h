#pragma once
// What the dialogs' tests share: a settings store that remembers the order of its
// writes, and a recorder for message boxes that answers questions from a script.

#include <QString>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/MessageBoxes.h"
#include "shell/SettingsStore.h"

namespace vellumo::test {

class OrderedSettingsStore : public shell::SettingsStore {
  public:
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) override {
        const auto it = ints.find(Key(section, key));
        return it == ints.end() ? defaultValue : it->second;
    }
    void WriteInt(std::string_view section, std::string_view key, int32_t value) override {
        ints[Key(section, key)] = value;
        writes.push_back(Key(section, key));
    }
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
        const auto it = strings.find(Key(section, key));
        return it == strings.end() ? std::string(defaultValue) : it->second;
    }
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override {
        strings[Key(section, key)] = std::string(value);
        writes.push_back(Key(section, key));
    }

    static std::string Key(std::string_view section, std::string_view key) {
        return std::string(section) + "/" + std::string(key);
    }

    std::map<std::string, int32_t> ints;
    std::map<std::string, std::string> strings;
    std::vector<std::string> writes;  // "section/key", in the order written
};

struct DialogMessage {
    std::string text;
    std::string caption;
    ui::MessageStyle style;
};

// Installs itself as the dialogs' message function for its lifetime.
class MessageRecorder {
  public:
    MessageRecorder()
        : scope_([this](QWidget*, const QString& text, const QString& caption,
                        ui::MessageStyle style) {
              shown.push_back({text.toStdString(), caption.toStdString(), style});
              if (ui::IsNotice(style)) {
                  return ui::Answer::Ok;
              }
              if (answers.empty()) {
                  return ui::Answer::No;
              }
              const ui::Answer answer = answers.front();
              answers.pop_front();
              return answer;
          }) {}

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : shown) {
            out.push_back(m.text);
        }
        return out;
    }

    std::vector<DialogMessage> shown;
    std::deque<ui::Answer> answers;

  private:
    app::dialogs::ScopedMessageFunction scope_;
};

}  // namespace vellumo::test
