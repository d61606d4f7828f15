#pragma once

#include "editor/clipboard_content.h"

#include <QObject>
#include <QString>
#include <functional>

namespace tamix {

class CommandTable;
class LinkHandler;
class TreeHost;
class UserDialogs;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// Cut, Copy, Paste and Paste Text Only on the note editor and the desktop
// clipboard, keeping the link table in step with the text: entries of link
// text that leaves the note are dropped, links after the place of the edit
// move with their text, and no protection reaches the clipboard or comes
// from it. The Edit menu, its toolbar buttons, the editor's pop-up menu
// (the Edit menu) and the keys Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+Insert all
// run these same commands from the command table.
//
// After every command the link table matches the text, also when the
// clipboard's content cannot be read (a message says so and nothing
// changes) or the editor refuses the edit.
class ClipboardCommands {
public:
    // The editor's whole RTF past this many characters makes a paste of
    // anything but plain text warn.
    static constexpr std::size_t kLargeDocument = 65536;
    static const QString kLargeDocumentMessage;

    // Binds mnuEditCut, mnuEditCopy, mnuEditPaste and mnuEditPasteText
    // with their enable rules. `editorActive` answers whether the editor
    // side is active (the tree has lost the focus).
    ClipboardCommands(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links, UserDialogs& dialogs,
                      TreeHost& host, CommandTable& commands, std::function<bool()> editorActive);
    ~ClipboardCommands();
    ClipboardCommands(const ClipboardCommands&) = delete;
    ClipboardCommands& operator=(const ClipboardCommands&) = delete;

    // The selection goes to the clipboard (whole links, unprotected) and
    // leaves the note with the entries of its links.
    void CutCommand();
    // The selection, snapped to whole links, goes to the clipboard without
    // its protection; the links stay links. Marks the note changed.
    void CopyCommand();
    // With an empty selection: inserts the clipboard's richest content at
    // the caret, the links after it moving forward by its length. With a
    // selection: posts Delete then Ctrl+V to the editor, so that the key
    // handling removes the selection (and its links) and this command runs
    // again. Then warns when the note's RTF is over 64 kB and the clipboard
    // holds no plain text.
    void PasteCommand();
    // Replaces the selection with the clipboard's plain text in the format
    // of the insertion point; the selection's links leave the table.
    void PasteTextCommand();

    // Inserts `content` at the caret (the selection must be empty), the
    // links after it moving forward by its length; content that could not
    // be read gets its message and changes nothing.
    void InsertAtCaret(const ClipboardContent::Paste& content);
    // Removes the selection as a cut does, without the clipboard: the
    // whole links it touches leave the table, later links move back.
    void RemoveSelection();

    // The enable rules: a selection of at least one character; the editor
    // enabled and active with something (or text) to paste.
    bool CanCutOrCopy() const;
    bool CanPaste() const;
    bool CanPasteText() const;

private:
    // Runs `shift` (moves the links for the edit to come), then `edit`;
    // when the editor refuses the edit, the table goes back to what it was
    // before `shift`.
    void shiftThenEdit(const std::function<void()>& shift, const std::function<void()>& edit);
    void removeSelection(bool linksRemoved);
    void postDeleteThenPaste();
    void warnIfLarge();
    void copySelection();

    DatabaseState& state_;
    controls::RichTextBox& editor_;
    LinkHandler& links_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    CommandTable& commands_;
    std::function<bool()> editorActive_;
    int changes_ = 0;            // Change events the editor has raised so far
    bool pastePosted_ = false;   // Delete and Ctrl+V are posted and not yet all processed
    // Receives the editor's signals and the call queued after the posted
    // keys; destroyed with this object, which ends both.
    QObject queue_;
};

}  // namespace tamix
