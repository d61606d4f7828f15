#pragma once

#include <QMetaObject>
#include <QString>
#include <string>

namespace tamix {

struct DatabaseState;
class TreeHost;
class UserDialogs;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// Which note the editor shows, and moving its body between the editor and
// the node store. Keeps the invariant that the node store's current record
// is the record of the shown note (DatabaseState::ShownKey) whenever a body
// is saved, so a save never writes one note's text into another's record.
//
// It is also the one place that marks the shown note changed: every change
// of the editor's text does, except those made while the editor-change
// guard is set (the program's own edits).
class NoteSelection {
public:
    NoteSelection(DatabaseState& state, controls::TreeView& tree, controls::RichTextBox& editor,
                  UserDialogs& dialogs, TreeHost& host);
    ~NoteSelection();
    NoteSelection(const NoteSelection&) = delete;
    NoteSelection& operator=(const NoteSelection&) = delete;

    // A note was selected in the tree: saves the shown note if changed, then
    // shows the selected one (the root shows the empty body with the editor
    // disabled). A node whose key has no record shows "Error in Database:
    // Node not found" and leaves the editor empty and disabled. Errors go to
    // the shared error report; the window is enabled again afterwards. The
    // editor is enabled afterwards only when it shows a note.
    void tree_NodeClick(controls::Node* node);

    // Writes the editor's body into the shown note's record. Throws on
    // storage errors (the window is enabled again first).
    void SaveNote();
    // Loads the current record's body into the editor, without the picture
    // and object scale words, and makes it the shown note. Throws on
    // storage errors.
    void LoadNote();
    // Gives the current (new) record the empty body in memory and shows it
    // in the enabled editor; the note counts as changed, so its next save
    // writes the body.
    void ShowEmptyNote();
    // File Save: SaveNote when the note changed; errors are reported.
    void SaveIfChanged();

    // Puts the tree's highlight back on the shown note (the root when none
    // is shown), after a gesture that moved it without showing a note: a
    // click on an expand sign, a drag, a refused drop. Commands act on the
    // highlighted note, so it never differs from the one being edited.
    void RestoreHighlight();

    // Shows nothing: the editor gets `rtf` (the empty body when "") and is
    // disabled; no note is shown afterwards.
    void ShowNoNote(const std::string& rtf = std::string());

private:
    // Puts RTF into the editor as the program's own change.
    void setEditorRtf(const std::string& rtf);

    DatabaseState& state_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    QMetaObject::Connection changeRule_;  // the editor's Change to NoteChanged; cut in the destructor
};

}  // namespace tamix
