#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tamix {

class UserDialogs;
class WindowScale;
namespace controls {
class RichTextBox;
}

// The "Paragraph" dialog over the paragraphs of the editor's selection: the
// alignment ("Left", "Right", "Center"; empty when they differ) and the
// left, right and first-line indents in the main window's current scale
// (empty when they differ). OK checks the boxes left, right, first line,
// reports the first that is not a number with "Invalid Indent" and leaves
// the focus there; when all are numbers it sets the alignment (only when
// the box names one exactly) and the three indents, and closes.
class frmParagraph : public QDialog {
    Q_OBJECT
public:
    frmParagraph(controls::RichTextBox& editor, const WindowScale& scale, UserDialogs& dialogs,
                 QWidget* parent = nullptr);

    QComboBox& cmbAlign() { return *cmbAlign_; }
    QLineEdit& txtLeft() { return *txtLeft_; }
    QLineEdit& txtRight() { return *txtRight_; }
    QLineEdit& txtFirst() { return *txtFirst_; }
    QPushButton& Command1() { return *ok_; }
    QPushButton& Command2() { return *cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ok();

    controls::RichTextBox& editor_;
    const WindowScale& scale_;
    UserDialogs& dialogs_;
    QComboBox* cmbAlign_;
    QLineEdit* txtLeft_;
    QLineEdit* txtRight_;
    QLineEdit* txtFirst_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace tamix
