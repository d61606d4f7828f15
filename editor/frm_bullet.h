#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tamix {

class UserDialogs;
class WindowScale;
namespace controls {
class RichTextBox;
}

// The "Bullet Format" dialog: the distance between a bullet and its text,
// in the main window's current scale. OK sets the editor's BulletIndent
// and closes; a box that is not a number is reported and keeps the dialog
// open with the focus in the box.
class frmBullet : public QDialog {
    Q_OBJECT
public:
    frmBullet(controls::RichTextBox& editor, const WindowScale& scale, UserDialogs& dialogs,
              QWidget* parent = nullptr);

    QLineEdit& txtIndent() { return *txtIndent_; }
    QPushButton& btnOK() { return *btnOK_; }
    QPushButton& btnCancel() { return *btnCancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ok();

    controls::RichTextBox& editor_;
    const WindowScale& scale_;
    UserDialogs& dialogs_;
    QLineEdit* txtIndent_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace tamix
