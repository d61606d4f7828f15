#pragma once

#include "dialogs/user_dialogs.h"

#include <QIcon>
#include <QPointer>
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

    // The window that owns the dialogs (may be null before it exists).
    void setParentWindow(QWidget* window) { parent_ = window; }

    void beep() override;

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

private:
    QString runFileDialog(const FileDialogRequest& request, bool save);

    QString title_;
    QIcon icon_;
    QPointer<QWidget> parent_;
    std::unique_ptr<QWidget> helpWindow_;   // created on first help, then reused
    QTextBrowser* helpBrowser_ = nullptr;   // owned by helpWindow_
};

}  // namespace tamix
