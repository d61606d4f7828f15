#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tamix {

class FindState;

// The find dialog: the text to find, where to search and the two options.
// It opens with the state's last values; OK stores the choices and starts a
// search from position 0, Cancel marks the search cancelled. Closed any
// other way it leaves the state as it was (still cancelled).
class frmFind : public QDialog {
    Q_OBJECT
public:
    explicit frmFind(FindState& state, QWidget* parent = nullptr);

private:
    void buildControls();
    void Form_Load();
    void btnOK_Click();
    void btnCancel_Click();

    FindState& state_;

    // Owned by the dialog.
    QLineEdit* txtSearchString = nullptr;
    QRadioButton* optDB = nullptr;
    QRadioButton* optTree = nullptr;
    QRadioButton* optDoc = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkWhole = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace tamix
