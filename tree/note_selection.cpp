#include "tree/note_selection.h"

#include "tree/database_state.h"
#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "tree/scale_words.h"
#include "storage/tamix_error.h"
#include "tree/tree_host.h"
#include "controls/tree_view.h"
#include "dialogs/user_dialogs.h"

namespace tamix {

namespace {

constexpr const char* kNodeNotFound = "Error in Database: Node not found";

}  // namespace

NoteSelection::NoteSelection(DatabaseState& state, controls::TreeView& tree,
                             controls::RichTextBox& editor, UserDialogs& dialogs, TreeHost& host)
    : state_(state), tree_(tree), editor_(editor), dialogs_(dialogs), host_(host) {
    changeRule_ = QObject::connect(&editor_, &controls::RichTextBox::Change, [this] {
        if (!state_.EditorChangeGuard) state_.NoteChanged = true;
    });
}

NoteSelection::~NoteSelection() { QObject::disconnect(changeRule_); }

void NoteSelection::setEditorRtf(const std::string& rtf) {
    const bool guard = state_.EditorChangeGuard;
    state_.EditorChangeGuard = true;
    editor_.setTextRTF(rtf);
    state_.EditorChangeGuard = guard;
}

void NoteSelection::ShowNoNote(const std::string& rtf) {
    state_.Links.Clear();
    setEditorRtf(rtf.empty() ? state_.EmptyNoteRTF : rtf);
    editor_.setEnabled(false);
    state_.ShownKey.clear();
}

void NoteSelection::tree_NodeClick(controls::Node* node) {
    RunCommand(host_, [&] {
        state_.TreeUntouched = false;
        if (state_.NoteChanged) SaveNote();
        state_.Links.Clear();
        if (node && node->Index() != 1 && state_.DatabaseOpen) {
            if (!state_.Node.FindKey(node->Key().toStdString())) {
                ShowNoNote();
                state_.NoteChanged = false;
                dialogs_.message(QString::fromLatin1(kNodeNotFound), MsgButtons::Ok);
                host_.RefreshFormatState();
                return;
            }
            LoadNote();
            editor_.setEnabled(true);
        } else {
            ShowNoNote();
        }
        state_.NoteChanged = false;
        host_.RefreshFormatState();
    });
    if (state_.ShownKey.isEmpty()) editor_.setEnabled(false);
}

void NoteSelection::RestoreHighlight() {
    controls::Nodes& nodes = tree_.Nodes();
    if (nodes.Count() == 0) return;
    controls::Node* shown = state_.ShownKey.isEmpty() ? nullptr : nodes.Find(state_.ShownKey);
    if (!shown) shown = nodes.Item(1);
    if (tree_.SelectedItem() != shown) tree_.setSelectedItem(shown);
}

void NoteSelection::SaveNote() {
    if (state_.ShownKey.isEmpty() || !state_.DatabaseOpen) {
        state_.NoteChanged = false;  // no note is shown: there is nothing to write
        return;
    }
    BusyScope busy(host_);
    cNode& node = state_.Node;
    const std::string key = state_.ShownKey.toStdString();
    // The body belongs to the shown note's record and nowhere else. Other
    // commands move the cursor (a search, a rename) or remove the record it
    // stands on (a delete), and the in-memory fields cannot tell, so the
    // record is found again by key; the key index makes that cheap.
    if (!node.FindKey(key)) throw TamixError(kErrCorrupt, kNodeNotFound);
    state_.Links.Save(node);
    node.RTFData(editor_.TextRTF());
    node.SaveNode();
    state_.NoteChanged = false;
}

void NoteSelection::LoadNote() {
    BusyScope busy(host_);
    cNode& node = state_.Node;
    state_.ShownKey.clear();  // until the body is in the editor
    const std::string body = ScaleWords::Remove(node.RTFData());
    state_.Links.Clear();
    setEditorRtf(body);
    editor_.Refresh();
    state_.Links.Load(node);  // after the body: the marking comes with it
    state_.ShownKey = QString::fromStdString(node.Key());
    state_.NoteChanged = false;
}

void NoteSelection::ShowEmptyNote() {
    state_.Links.Clear();
    state_.Node.RTFData(state_.EmptyNoteRTF);
    setEditorRtf(state_.EmptyNoteRTF);
    state_.ShownKey = QString::fromStdString(state_.Node.Key());
    // The record holds no body yet: the next transition writes this one.
    state_.NoteChanged = true;
    editor_.setEnabled(true);
}

void NoteSelection::SaveIfChanged() {
    RunCommand(host_, [&] {
        if (state_.NoteChanged) SaveNote();
    });
}

}  // namespace tamix
