#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;

namespace tamix {

class Clipboard;

// Buttons a message box offers; the answer is one of them.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The icon beside a message box's text.
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// What the user pressed in a message box. Closing the box by the window
// manager counts as Cancel (or No where there is no Cancel, Ok where there is
// only Ok).
enum class MsgAnswer { Ok, Cancel, Yes, No };

// A file-open or file-save dialog as a command sets it up.
struct FileDialogRequest {
    QString title;
    // Pairs "description|pattern|description|pattern...", e.g.
    // "Tamix Database (*.TM2)|*.TM2".
    QString filter;
    int filterIndex = 1;      // 1-based pair shown first
    QString fileName;         // initial file name ("" for none)
    bool cancelRaises = true; // cancelling throws TamixError kErrCancel
    bool mustExist = false;   // open: only an existing file can be chosen
    bool overwritePrompt = false;  // save: ask before choosing an existing file
};

// A print dialog: the page range the user may pick from and the range chosen.
struct PrintRequest {
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 0;         // 0 = all pages; set by the dialog when a range is chosen
    int toPage = 0;
    bool cancelRaises = true;
};

// The one interface through which commands ask the user anything: message
// boxes, the common file/font/colour/print dialogs, beeps, help and about,
// and the program's own modal forms; and the clipboard they share with the
// user's other programs.
// Every dialog runs with the main window's always-on-top state dropped and
// restores it afterwards (see setTopmostHooks). A cancelled dialog whose
// request says cancelRaises throws TamixError(kErrCancel); otherwise it
// answers an empty value.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A modal message box with the application's title.
    MsgAnswer message(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None);
    // The chosen path, or "" when cancelled without cancelRaises.
    QString openFile(const FileDialogRequest& request);
    QString saveFile(const FileDialogRequest& request);
    // The chosen font, or nothing when cancelled without cancelRaises.
    std::optional<QFont> chooseFont(const QFont& initial, bool cancelRaises = true);
    std::optional<QColor> chooseColour(const QColor& initial, bool cancelRaises = true);
    // The colour the colour dialog held last, for the run of the program:
    // the colour chosen in the last colour question, or its initial colour
    // when that one was cancelled; black before any. Every colour dialog of
    // the program shares it, so one opened "with its last colour" shows
    // whatever any of them left.
    QColor lastColour() const { return lastColour_; }
    // True when the user accepted; the printer and the request's page range
    // are set from the dialog.
    bool choosePrinter(QPrinter& printer, PrintRequest& request);
    // Shows the help file (an HTML page) without blocking.
    void showHelp(const QString& htmlFile);
    // The modal about window.
    void showAbout();
    // Runs a form of the program's own modally, as its exec() would, and
    // answers its result (QDialog::Accepted or Rejected).
    int runModal(QDialog& form);
    // The system beep.
    virtual void beep() = 0;
    // The desktop clipboard the commands read and write.
    virtual Clipboard& clipboard() = 0;
    // True while a dialog asked through this interface is open (its nested
    // event loop may be running other events meanwhile).
    bool isAsking() const { return openDialogs_ > 0; }

    // The always-on-top state of the window the dialogs belong to: while
    // isOn answers true, set(false) runs before each dialog and set(true)
    // after it (also when the dialog throws).
    void setTopmostHooks(std::function<bool()> isOn, std::function<void(bool)> set);

protected:
    virtual MsgAnswer doMessage(const QString& text, MsgButtons buttons, MsgIcon icon) = 0;
    virtual QString doOpenFile(const FileDialogRequest& request) = 0;
    virtual QString doSaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QFont> doChooseFont(const QFont& initial, bool cancelRaises) = 0;
    virtual std::optional<QColor> doChooseColour(const QColor& initial, bool cancelRaises) = 0;
    virtual bool doChoosePrinter(QPrinter& printer, PrintRequest& request) = 0;
    virtual void doShowHelp(const QString& htmlFile) = 0;
    virtual void doShowAbout() = 0;
    virtual int doRunModal(QDialog& form) = 0;

    // True while a dialog runs with the topmost state dropped by the hooks.
    bool topmostDropped() const { return topmostDropped_; }

    // Throws the cancel error when the request asks for it.
    static void cancelled(bool cancelRaises);

private:
    template <typename F> auto aroundDialog(F&& body);

    std::function<bool()> topmostIsOn_;       // empty: no topmost window
    std::function<void(bool)> setTopmost_;
    bool topmostDropped_ = false;             // true only inside aroundDialog
    int openDialogs_ = 0;                     // aroundDialog calls not yet returned
    QColor lastColour_ = Qt::black;           // what the colour dialog held when it last closed
};

// The text of the cancel error, as commands see it.
inline constexpr const char* kCancelDescription = "Cancel was selected.";

}  // namespace tamix
