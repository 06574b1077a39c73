#pragma once
// "Photo Output Options": edits one output options record. Opening shows the record
// (with the last confirmed JPEG quality from the settings store in place of the
// record's own), the size, keep-aspect and format rules decide which fields are
// shown and enabled, and OK validates every field before anything is kept.
//
// Use: construct, SetRecord(), exec(); on Accepted read record().

#include <QDialog>
#include <map>

#include "options/OutputPhotoFormat.h"
#include "options/PixelFormats.h"
#include "shell/SettingsStore.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vellumo::app::dialogs {

class CDialogPhotoOptions : public QDialog {
    Q_OBJECT

  public:
    explicit CDialogPhotoOptions(shell::SettingsStore& store, QWidget* parent = nullptr);

    // The record the dialog edits: set before showing, read after OK.
    void SetRecord(const options::OutputPhotoFormat& record) { record_ = record; }
    const options::OutputPhotoFormat& record() const { return record_; }

    // Runs the opening steps (once); showing the dialog runs them if not done yet.
    void InitDialog();

    // The control with a dialog identifier (see OptionsDialogIds.h); null if unknown.
    QWidget* Control(int id) const;

    // Identifier of the field that refused the last OK (0 when none has).
    int failedControlId() const { return failedControlId_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    QWidget* Add(int id, QWidget* widget, int x, int y, int width, int height);

    // Members to controls: the five edit boxes and both list selections.
    void TransferToControls();
    void ApplySizeRule();
    void ApplyKeepAspectRule();
    void ApplyFormatRule();
    void ShowPixelFormatDescription();

    void OnSizeClicked(int id);
    void OnKeepWithWidthClicked();
    void OnKeepWithHeightClicked();
    void OnOk();
    bool Refuse(std::string_view message, int fieldId);

    void SetShown(std::initializer_list<int> controls, bool shown);
    void SetEnabled(std::initializer_list<int> controls, bool enabled);

    shell::SettingsStore& store_;
    options::OutputPhotoFormat record_;
    // The pixel format the list selection stands for (chooses the description).
    const options::PixelFormatEntry* pixelFormat_ = nullptr;
    bool initialised_ = false;
    int failedControlId_ = 0;

    std::map<int, QWidget*> controls_;
    QButtonGroup* sizeGroup_ = nullptr;
    QButtonGroup* rotateGroup_ = nullptr;
    QButtonGroup* flipGroup_ = nullptr;
    QComboBox* formatList_ = nullptr;
    QComboBox* pixelFormatList_ = nullptr;
    QLabel* pixelDescription_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QLineEdit* qualityEdit_ = nullptr;
    QLineEdit* horizontalEdit_ = nullptr;
    QLineEdit* verticalEdit_ = nullptr;
    QCheckBox* keepWithWidth_ = nullptr;
    QCheckBox* keepWithHeight_ = nullptr;
};

}  // namespace vellumo::app::dialogs
