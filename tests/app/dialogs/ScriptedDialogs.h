#pragma once
// Works the real options dialog from a script: every time a command opens it, the next
// step sees the opened dialog, changes what it likes and names the button to press.

#include <QAbstractButton>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

#include "app/dialogs/CDialogPhotoOptions.h"
#include "app/dialogs/OptionsDialogIds.h"
#include "app/dialogs/PhotoOptionsCommands.h"

namespace vellumo::test {

// Each showing of the dialog runs the next step of the script, which sees the opened
// dialog and returns the button to press.
class ScriptedDialogs {
  public:
    using Step = std::function<int(app::dialogs::CDialogPhotoOptions&)>;
    explicit ScriptedDialogs(std::vector<Step> steps) : steps_(std::move(steps)) {
        previous_ =
            app::dialogs::SetOptionsDialogRunner([this](app::dialogs::CDialogPhotoOptions& dialog) {
                dialog.show();
                shownWidths.push_back(
                    static_cast<QLineEdit*>(dialog.Control(app::dialogs::ids::kWidthEdit))
                        ->text()
                        .toStdString());
                const int button =
                    next_ < steps_.size() ? steps_[next_](dialog) : app::dialogs::ids::kCancel;
                ++next_;
                static_cast<QAbstractButton*>(dialog.Control(button))->click();
                return dialog.result();
            });
    }
    ~ScriptedDialogs() { app::dialogs::SetOptionsDialogRunner(std::move(previous_)); }
    size_t shown() const { return next_; }

    std::vector<std::string> shownWidths;

  private:
    std::vector<Step> steps_;
    size_t next_ = 0;
    app::dialogs::OptionsDialogRunner previous_;
};

// Picks the custom size with the width kept, at `width`, then OK.
inline ScriptedDialogs::Step CustomWidth(int width) {
    return [width](app::dialogs::CDialogPhotoOptions& d) {
        static_cast<QAbstractButton*>(d.Control(app::dialogs::ids::kCustomSize))->click();
        static_cast<QLineEdit*>(d.Control(app::dialogs::ids::kWidthEdit))
            ->setText(QString::number(width));
        return app::dialogs::ids::kOk;
    };
}

inline ScriptedDialogs::Step Cancel() {
    return [](app::dialogs::CDialogPhotoOptions&) { return app::dialogs::ids::kCancel; };
}

}  // namespace vellumo::test
