#pragma once

#include <QString>

namespace tamix {

struct DatabaseState;
class NoteSelection;
class TreeHost;
class UserDialogs;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// The commands that change the tree of notes: insert, delete, rename by
// label editing, move, and expanding or collapsing a subtree. Each keeps the
// tree view and the node store in step: a node and its record share the
// key, the record's parent key is the key of the node's parent, and the
// record's title is the node's label.
//
// A changed shown note is saved before an insert, a delete or a move moves
// the node store's cursor; a rename leaves a changed body pending, which
// NoteSelection::SaveNote writes into the shown note's own record later.
//
// The commands (the *Command members, EditName and tree_AfterLabelEdit)
// report errors through the host's error report and never throw; the
// operations they are built of throw TamixError.
class NoteOperations {
public:
    // The longest note title, in characters.
    static constexpr int kMaxNameLength = 100;
    static constexpr const char* kNewNoteName = "New Note";
    static constexpr const char* kNodeNotFound = "Error in Database: Node not found";
    static constexpr const char* kMoveNotFound = "database error";
    static constexpr const char* kHasSubNotes = "This Note has Sub-Notes; Delete Sub-Notes first";
    static constexpr const char* kDeleteQuestion = "Delete this Note?";
    static constexpr const char* kNameTooLong = "Name is too long";

    NoteOperations(DatabaseState& state, NoteSelection& notes, controls::TreeView& tree,
                   controls::RichTextBox& editor, UserDialogs& dialogs, TreeHost& host);

    // Insert Note: saves a changed note, then InsertNote.
    void InsertCommand();
    // Delete Note: saves a changed note, DeleteNote, then the note click for
    // whatever node the tree has selected afterwards (also after a refusal
    // or a No).
    void DeleteCommand();
    // Edit Name: beeps for the root, else opens the label editor on the
    // selected node.
    void EditName();
    // Expand and Collapse: the selected node's whole subtree.
    void ExpandCommand();
    void CollapseCommand();
    // The tree's after-label-edit event for the selected node. An empty
    // name beeps, a name over kMaxNameLength characters gets "Name is too
    // long", a character the database cannot store gets a message naming
    // it; each of these sets `cancel` so the old label stays. The root has
    // no record: its label is never changed (a beep).
    void tree_AfterLabelEdit(bool& cancel, QString& newText);
    // A confirmed drop: saves a changed note, then MoveNote.
    void MoveCommand(controls::Node& dragged, controls::Node& target);

    // Adds "New Note" with key MaxKeyNumber + 1 as the last child of the
    // selected node (in label order), stores its record, selects it, shows
    // the empty body (pending until the next save) and opens the label
    // editor. When the record cannot be stored the node is removed again.
    void InsertNote();
    // Deletes the selected note after the refusals (root: beep; children:
    // the sub-notes message) and a Yes to "Delete this Note?"; a missing
    // record gives "Error in Database: Node not found" and deletes nothing.
    void DeleteNote();
    // Gives `node` the title `text` in its record and its label, and keeps
    // its siblings in label order. The title must already be 1 to 100
    // characters; a character outside the database's code page throws
    // before anything changes. A missing record gives "Error in Database:
    // Node not found" and the node keeps the new label.
    void RenameNote(controls::Node& node, const QString& text);
    // Sets the expanded state of the node with that index and of its whole
    // subtree, walking it with its own stack rather than the call stack.
    void SetExpandedRecursive(int index, bool expanded);
    // Makes `target` the parent of `dragged` in the tree and in the record,
    // then selects and shows the moved note. A dragged node without a record
    // (the root) gives "database error"; a target that is the dragged node
    // or lies below it throws (the tree refuses) and nothing changes.
    void MoveNote(controls::Node& dragged, controls::Node& target);

private:
    // Saves the shown note when it changed (throws like SaveNote).
    void saveChanged();

    DatabaseState& state_;
    NoteSelection& notes_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    UserDialogs& dialogs_;
    TreeHost& host_;
};

}  // namespace tamix
