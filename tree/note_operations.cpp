#include "tree/note_operations.h"

#include "storage/code_page_1252.h"
#include "tree/database_state.h"
#include "controls/node.h"
#include "storage/node_key.h"
#include "controls/nodes.h"
#include "tree/note_selection.h"
#include "controls/rich_text_box.h"
#include "storage/tamix_error.h"
#include "tree/tree_host.h"
#include "controls/tree_view.h"
#include "dialogs/user_dialogs.h"

#include <vector>

namespace tamix {

namespace {

constexpr int kRootIndex = 1;

QString text(const char* latin1) { return QString::fromLatin1(latin1); }

}  // namespace

NoteOperations::NoteOperations(DatabaseState& state, NoteSelection& notes, controls::TreeView& tree,
                               controls::RichTextBox& editor, UserDialogs& dialogs, TreeHost& host)
    : state_(state), notes_(notes), tree_(tree), editor_(editor), dialogs_(dialogs), host_(host) {}

void NoteOperations::saveChanged() {
    if (state_.NoteChanged) notes_.SaveNote();
}

// ---------------------------------------------------------------- commands

void NoteOperations::InsertCommand() {
    if (!state_.DatabaseOpen) return;
    RunCommand(host_, [&] {
        saveChanged();
        InsertNote();
    });
}

void NoteOperations::DeleteCommand() {
    if (!state_.DatabaseOpen) return;
    bool saved = false;
    RunCommand(host_, [&] {
        saveChanged();
        saved = true;
        DeleteNote();
    });
    // A note that could not be saved stays shown, so nothing of it is lost.
    if (saved) notes_.tree_NodeClick(tree_.SelectedItem());
}

void NoteOperations::EditName() {
    if (!state_.DatabaseOpen) return;
    controls::Node* node = tree_.SelectedItem();
    if (!node || node->Index() == kRootIndex) {
        dialogs_.beep();
        return;
    }
    tree_.StartLabelEdit();
}

void NoteOperations::ExpandCommand() {
    if (controls::Node* node = tree_.SelectedItem())
        RunCommand(host_, [&] { SetExpandedRecursive(node->Index(), true); });
}

void NoteOperations::CollapseCommand() {
    if (controls::Node* node = tree_.SelectedItem())
        RunCommand(host_, [&] { SetExpandedRecursive(node->Index(), false); });
}

void NoteOperations::tree_AfterLabelEdit(bool& cancel, QString& newText) {
    controls::Node* node = tree_.SelectedItem();
    if (!node || !state_.DatabaseOpen) {
        cancel = true;
        return;
    }
    if (newText.isEmpty() || node->Index() == kRootIndex) {
        cancel = true;
        dialogs_.beep();
        return;
    }
    if (newText.toUcs4().size() > kMaxNameLength) {
        dialogs_.message(text(kNameTooLong), MsgButtons::Ok, MsgIcon::Critical);
        cancel = true;
        return;
    }
    bool renamed = false;
    RunCommand(host_, [&] {
        RenameNote(*node, newText);
        renamed = true;
    });
    if (!renamed) cancel = true;
}

void NoteOperations::MoveCommand(controls::Node& dragged, controls::Node& target) {
    if (!state_.DatabaseOpen) return;
    RunCommand(host_, [&] {
        saveChanged();
        MoveNote(dragged, target);
    });
}

// ---------------------------------------------------------------- operations

void NoteOperations::InsertNote() {
    controls::Node* parent = tree_.SelectedItem();
    if (!parent) parent = tree_.Nodes().Item(kRootIndex);
    state_.MaxKeyNumber += 1;
    const QString key = QString::fromStdString(NodeKey::Format(state_.MaxKeyNumber));
    const QString parentKey =
        parent->Key().isEmpty() ? QString::fromLatin1(NodeKey::kRoot) : parent->Key();

    controls::Node* added =
        tree_.Nodes().Add(parent, controls::Relationship::Child, key, text(kNewNoteName));
    added->setSorted(true);
    try {
        cNode& store = state_.Node;
        store.ClearNode();
        store.Key(key.toStdString());
        store.Parent(parentKey.toStdString());
        store.NodeText(kNewNoteName);
        store.SaveNewNode();
    } catch (...) {
        // A node without a record would be lost at the next open; the tree
        // shows only what the file holds.
        tree_.Nodes().Remove(added->Index());
        throw;
    }

    added->EnsureVisible();
    tree_.setSelectedItem(added);
    notes_.ShowEmptyNote();
    host_.RefreshFormatState();
    tree_.StartLabelEdit();
}

void NoteOperations::DeleteNote() {
    controls::Node* node = tree_.SelectedItem();
    if (!node || node->Index() == kRootIndex) {
        dialogs_.beep();
        return;
    }
    if (node->Children() > 0) {
        dialogs_.message(text(kHasSubNotes), MsgButtons::Ok);
        return;
    }
    const QString key = node->Key();
    const QString file = state_.CurrentFileName;
    if (dialogs_.message(text(kDeleteQuestion), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    // The question ran a nested event loop: the tree may have been rebuilt
    // or another database opened meanwhile. Act only on the same note of the
    // same database, found again by its key.
    node = state_.DatabaseOpen && state_.CurrentFileName == file ? tree_.Nodes().Find(key) : nullptr;
    if (!node || node->Children() > 0) return;
    if (!state_.Node.FindKey(key.toStdString())) {
        dialogs_.message(text(kNodeNotFound), MsgButtons::Ok);
        return;
    }
    state_.Node.DeleteNode();
    // The shown note's record is gone: nothing may be saved for it any more.
    if (state_.ShownKey == key) state_.ShownKey.clear();
    tree_.Nodes().Remove(node->Index());
}

void NoteOperations::RenameNote(controls::Node& node, const QString& title) {
    const std::string utf8 = title.toStdString();
    CodePage1252::fromUtf8(utf8);  // refuses a character the record cannot hold
    cNode& store = state_.Node;
    const bool found = store.FindKey(node.Key().toStdString());
    if (found) {
        store.NodeText(utf8);
        store.SaveNode();
    }
    node.setText(title);
    if (controls::Node* parent = node.Parent()) parent->setSorted(true);
    if (!found) dialogs_.message(text(kNodeNotFound), MsgButtons::Ok);
}

void NoteOperations::SetExpandedRecursive(int index, bool expanded) {
    std::vector<controls::Node*> pending{tree_.Nodes().Item(index)};
    while (!pending.empty()) {
        controls::Node* node = pending.back();
        pending.pop_back();
        node->setExpanded(expanded);
        for (controls::Node* child = node->Child(); child; child = child->Next()) pending.push_back(child);
    }
}

void NoteOperations::MoveNote(controls::Node& dragged, controls::Node& target) {
    cNode& store = state_.Node;
    if (!store.FindKey(dragged.Key().toStdString())) {
        dialogs_.message(text(kMoveNotFound), MsgButtons::Ok);
        return;
    }
    controls::Node* oldParent = dragged.Parent();
    dragged.setParent(&target);  // throws for the node itself or a descendant
    try {
        store.Parent(target.Key().toStdString());
        store.SaveNode();
    } catch (...) {
        dragged.setParent(oldParent);  // the tree shows what the file holds
        throw;
    }
    target.setSorted(true);
    tree_.Refresh();

    tree_.setSelectedItem(&dragged);
    notes_.LoadNote();
    editor_.setEnabled(true);
    host_.RefreshFormatState();
}

}  // namespace tamix
