#pragma once

#include <QDateTime>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tamix {

class Settings;
class TreeHost;
class UserDialogs;
struct AppOptions;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// The options dialog ("Options"): the database opened at start-up, the
// default font and size, the link colour and the Insert Date and Insert Time
// patterns. "OK" commits all six values to the options and the settings and
// rebuilds the empty-note RTF in the new default font; "Cancel" commits
// nothing. The open database's path is never changed by the dialog.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // The moment the preview shows; the system clock when empty.
    using Clock = std::function<QDateTime()>;

    // The presets of the date box (a fixed list) and of the time box (which
    // also takes a typed pattern), in the order shown.
    static const QStringList& DatePresets();
    static const QStringList& TimePresets();
    // The sample line drawn in the link colour.
    static constexpr const char* kColourSample = "http:  ftp:  mailto:  file:  note:";

    frmOptions(AppOptions& options, Settings& settings, DatabaseState& state, UserDialogs& dialogs, TreeHost& host,
               Clock clock = {}, QWidget* parent = nullptr);
    ~frmOptions() override;

    // The buttons' handlers.
    void btnGetFileName_Click();
    void btnGetFont_Click();
    void btnGetColour_Click();
    void btnOK_Click();

    // The link colour the sample is drawn in, 0x00BBGGRR.
    quint32 SampleColour() const;

    // The controls, by their names.
    QLineEdit* txtFileName() const { return txtFileName_; }
    QLineEdit* txtFont() const { return txtFont_; }
    QLineEdit* txtFontSize() const { return txtFontSize_; }
    QLineEdit* txtColour() const { return txtColour_; }
    QComboBox* cmbDate() const { return cmbDate_; }
    QComboBox* cmbTime() const { return cmbTime_; }
    QLabel* lblNow() const { return lblNow_; }
    QPushButton* btnGetFileName() const { return btnGetFileName_; }
    QPushButton* btnGetFont() const { return btnGetFont_; }
    QPushButton* btnGetColour() const { return btnGetColour_; }
    QPushButton* btnOK() const { return btnOK_; }
    QPushButton* btnCancel() const { return btnCancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fillFromOptions();
    void setSampleColour(const QColor& colour);
    // lblNow := "Now: " + now by the date pattern + " @ " + now by the time pattern.
    void updatePreview();
    // The size box as points, nothing when it does not hold a usable size.
    std::optional<double> fontSizeBox() const;

    AppOptions& options_;
    Settings& settings_;
    DatabaseState& state_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    Clock clock_;
    QColor sampleColour_;  // what txtColour is drawn in

    QLineEdit* txtFileName_ = nullptr;
    QPushButton* btnGetFileName_ = nullptr;
    QLineEdit* txtFont_ = nullptr;
    QLineEdit* txtFontSize_ = nullptr;
    QPushButton* btnGetFont_ = nullptr;
    QLineEdit* txtColour_ = nullptr;
    QPushButton* btnGetColour_ = nullptr;
    QComboBox* cmbDate_ = nullptr;
    QComboBox* cmbTime_ = nullptr;
    QLabel* lblNow_ = nullptr;
    controls::RichTextBox* rtfTemp_ = nullptr;  // never shown
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

}  // namespace tamix
