#pragma once

#include "dialogs/scripted_clipboard.h"
#include "dialogs/user_dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class QDialog;

namespace tamix {

// Which dialog was asked for, or answered.
enum class DialogKind { Message, OpenFile, SaveFile, Font, Colour, Print, About, Form };

// One dialog the code asked for, as recorded by ScriptedUserDialogs.
struct AskedDialog {
    DialogKind kind;
    QString text;            // message text, the file dialog's or the form's title
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    FileDialogRequest file;  // for the file dialogs
    bool topmostDropped = false;  // the window was not on top while it ran
};

// One scripted answer. `cancel` answers any dialog kind by cancelling it.
struct ScriptedAnswer {
    DialogKind kind = DialogKind::Message;
    bool cancel = false;
    MsgAnswer message = MsgAnswer::Ok;
    QString path;            // the file chosen (file dialogs; the PDF file of a print dialog)
    QFont font;
    QColor colour;
    int fromPage = 0;
    int toPage = 0;
    // What the user does in a form while it is shown (see runModal).
    std::function<void(QDialog&)> form;

    static ScriptedAnswer Message(MsgAnswer answer);
    static ScriptedAnswer File(DialogKind openOrSave, QString path);
    static ScriptedAnswer Cancel(DialogKind kind);
    static ScriptedAnswer Font(QFont font);
    static ScriptedAnswer Colour(QColor colour);
    // A print dialog answered with a page range (0: all pages); a non-empty
    // `pdfFile` chooses printing to that PDF file.
    static ScriptedAnswer Print(int fromPage = 0, int toPage = 0, QString pdfFile = {});
    static ScriptedAnswer About();
    static ScriptedAnswer Form(std::function<void(QDialog&)> script);
};

// User dialogs for tests: answers come from a queue filled by the test, and
// everything asked is recorded. A dialog asked with no answer queued, or with
// an answer of another kind queued first, is reported through the failure
// hook (by default: a message on stderr and abort) and then treated as
// cancelled, so an unexpected question can never pass unnoticed.
//
// A form run modally is shown (modal, not blocking) and the answer's script
// acts on the real form; a form the script leaves open is then closed as
// the window manager would close it (reject). A cancelling answer closes it
// that way at once.
class ScriptedUserDialogs : public UserDialogs {
public:
    using FailureHook = std::function<void(const QString& what)>;

    explicit ScriptedUserDialogs(FailureHook onFailure = {});

    // Queues the answer to the next dialog.
    void answer(ScriptedAnswer answer);
    // Runs `events` once, inside the next dialog while it is open, as events
    // delivered by its nested event loop would run (a second start's
    // command, a timer).
    void whileNextIsOpen(std::function<void()> events) { whileOpen_ = std::move(events); }
    // Answers still queued (a test usually expects none at its end).
    std::size_t pending() const { return answers_.size(); }
    // Every dialog asked, oldest first.
    const std::vector<AskedDialog>& asked() const { return asked_; }
    // Texts of the message boxes shown, oldest first.
    QStringList messages() const;
    int beeps() const { return beeps_; }
    // Help files shown, oldest first.
    const QStringList& helpShown() const { return help_; }
    void clearRecord();

    void beep() override { ++beeps_; }
    // The scripted clipboard, unless useClipboard has named another.
    Clipboard& clipboard() override { return other_ ? *other_ : clipboard_; }
    ScriptedClipboard& scriptedClipboard() { return clipboard_; }
    // Makes `clipboard` (the desktop's, for a test of the real one) the
    // clipboard answered from now on; nullptr goes back to the scripted one.
    void useClipboard(Clipboard* clipboard) { other_ = clipboard; }

protected:
    MsgAnswer doMessage(const QString& text, MsgButtons buttons, MsgIcon icon) override;
    QString doOpenFile(const FileDialogRequest& request) override;
    QString doSaveFile(const FileDialogRequest& request) override;
    std::optional<QFont> doChooseFont(const QFont& initial, bool cancelRaises) override;
    std::optional<QColor> doChooseColour(const QColor& initial, bool cancelRaises) override;
    bool doChoosePrinter(QPrinter& printer, PrintRequest& request) override;
    void doShowHelp(const QString& htmlFile) override { help_ << htmlFile; }
    void doShowAbout() override;
    int doRunModal(QDialog& form) override;

private:
    // Records the question and takes the matching answer; nothing when the
    // script has none (the failure hook has then been called).
    std::optional<ScriptedAnswer> next(AskedDialog asked);
    QString fileAnswer(DialogKind kind, const FileDialogRequest& request);

    FailureHook onFailure_;
    std::deque<ScriptedAnswer> answers_;
    std::function<void()> whileOpen_;  // run by the next dialog, then cleared
    std::vector<AskedDialog> asked_;
    QStringList help_;
    int beeps_ = 0;
    ScriptedClipboard clipboard_;
    Clipboard* other_ = nullptr;  // answered by clipboard() when set
};

}  // namespace tamix
