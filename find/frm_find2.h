#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tamix {

class FindState;

// The hit window "Search Results": shown modally at each hit, it answers
// whether to go on. "Find Next" sets SearchContinue, "Cancel" and closing
// the window any other way clear it.
class frmFind2 : public QDialog {
    Q_OBJECT
public:
    explicit frmFind2(FindState& state, QWidget* parent = nullptr);

    void reject() override;

private:
    void btnNext_Click();

    FindState& state_;

    // Owned by the dialog.
    QLabel* lblFind = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace tamix
