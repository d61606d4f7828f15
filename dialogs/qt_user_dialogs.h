#pragma once

#include "dialogs/qt_clipboard.h"
#include "dialogs/user_dialogs.h"

#include <QIcon>
#include <QPointer>
#include <QSize>
#include <memory>

class QWidget;
class QTextBrowser;

namespace tamix {

// The user dialogs as Qt windows: modal, centred on the screen, titled with
// the application's name.
class QtUserDialogs : public UserDialogs {
public:
    // title: the caption of every message box; icon: the application's icon.
    QtUserDialogs(QString title, QIcon icon);
    ~QtUserDialogs() override;

    // The window that owns the dialogs (may be null before it exists). The
    // help window belongs to it and goes away with it.
    void setParentWindow(QWidget* window) { parent_ = window; }
    // The help window once help has been shown, else nullptr.
    QWidget* helpWindow() const { return helpWindow_; }
    // The help window's size when help is first shown: the size last given,
    // else two thirds of the screen's available area (at least 720 × 560).
    void setHelpSize(const QSize& size) { helpSize_ = size; }
    QSize helpSize() const;

    void beep() override;
    Clipboard& clipboard() override { return clipboard_; }

    // "desc|pattern|desc|pattern" as Qt name filters ("desc (pattern)" each).
    static QStringList nameFilters(const QString& pairs);

protected:
    MsgAnswer doMessage(const QString& text, MsgButtons buttons, MsgIcon icon) override;
    QString doOpenFile(const FileDialogRequest& request) override;
    QString doSaveFile(const FileDialogRequest& request) override;
    std::optional<QFont> doChooseFont(const QFont& initial, bool cancelRaises) override;
    std::optional<QColor> doChooseColour(const QColor& initial, bool cancelRaises) override;
    bool doChoosePrinter(QPrinter& printer, PrintRequest& request) override;
    void doShowHelp(const QString& htmlFile) override;
    void doShowAbout() override;
    int doRunModal(QDialog& form) override;

private:
    QString runFileDialog(const FileDialogRequest& request, bool save);

    QString title_;
    QIcon icon_;
    QPointer<QWidget> parent_;
    QPointer<QWidget> helpWindow_;          // created on first help, then reused; owned by parent_ or this
    QTextBrowser* helpBrowser_ = nullptr;   // owned by helpWindow_
    QtClipboard clipboard_;
    QSize helpSize_;                        // invalid until set or the help window was resized
};

}  // namespace tamix
