#pragma once
// The About box: the program's icon, name, version, maker, web page and contact page,
// and an OK button. The two addresses open in the browser when clicked.

#include <QDialog>

class QLabel;

namespace vellumo::app::dialogs {

class AboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The text lines, top to bottom (product, version, maker, web page, contact).
    QStringList lines() const;
    // The labels that show them, in the same order.
    const QList<QLabel*>& lineLabels() const { return lines_; }

  private:
    QList<QLabel*> lines_;
    QStringList lineTexts_;
};

// Shows the About box modally.
void ShowAboutBox(QWidget* parent);

}  // namespace vellumo::app::dialogs
