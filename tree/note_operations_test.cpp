// The cases the main window's tests cannot reach: records that are missing
// or cannot be written, and the shown note's pending edits across a rename.
// The commands themselves are driven through the window in
// shell/frm_main_notes_test.cpp.

#include "note_operations.h"

#include "database_state.h"
#include "node.h"
#include "node_key.h"
#include "nodes.h"
#include "note_selection.h"
#include "rich_text_box.h"
#include "scripted_user_dialogs.h"
#include "test_app.h"
#include "tree_host.h"
#include "tree_manager.h"
#include "tree_view.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamix {
namespace {

class ErrorHost : public TreeHost {
public:
    void UpdateCommandState() override {}
    void RefreshFormatState() override {}
    void ShowError(const QString& description) override { errors << description; }
    void SetBusy(bool) override {}
    void RecentFilesChanged() override {}
    void FocusTree() override {}
    void UnloadMainWindow() override {}
    QStringList errors;
};

class NoteOperationsTest : public ::testing::Test {
protected:
    NoteOperationsTest()
        : app_((testApp(), true)),
          dialogs_([](const QString& what) { ADD_FAILURE() << what.toStdString(); }),
          notes_(state_, tree_, editor_, dialogs_, host_),
          manager_(state_, notes_, tree_, editor_, dialogs_, host_),
          ops_(state_, notes_, tree_, editor_, dialogs_, host_) {
        QObject::connect(&editor_, &controls::RichTextBox::Change, [this] {
            if (!state_.EditorChangeGuard) state_.NoteChanged = true;
        });
        const QString file = dir_.filePath("n.TM2");
        cNode node;  // Alpha(2) and Beta(3) under the root
        node.CreateFile(QFile::encodeName(file).toStdString());
        for (int key : {2, 3}) {
            node.ClearNode();
            node.Key(NodeKey::Format(key));
            node.Parent(NodeKey::kRoot);
            node.NodeText(key == 2 ? "Alpha" : "Beta");
            node.SaveNewNode();
            node.RTFData(key == 2 ? "{\\rtf1 alpha\\par}" : "{\\rtf1 beta\\par}");
            node.SaveNode();
        }
        node.CloseFile();
        manager_.ClearTree();
        manager_.OpenPath(file);
    }
    ~NoteOperationsTest() override { EXPECT_EQ(dialogs_.pending(), 0u); }

    controls::Node* node(int key) { return tree_.Nodes().Find(QString::fromStdString(NodeKey::Format(key))); }
    controls::Node* ghost() {  // a node whose key has no record
        return tree_.Nodes().Add(tree_.Nodes().Item(1), controls::Relationship::Child, "k0000000099", "Ghost");
    }
    std::string stored(int key, bool body) {
        if (!state_.Node.FindKey(NodeKey::Format(key))) return "<missing>";
        return body ? state_.Node.RTFData() : state_.Node.NodeText();
    }
    void ok() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok)); }

    bool app_;
    QTemporaryDir dir_;
    ErrorHost host_;
    ScriptedUserDialogs dialogs_;
    DatabaseState state_;
    controls::TreeView tree_;
    controls::RichTextBox editor_;
    NoteSelection notes_;
    TreeManager manager_;
    NoteOperations ops_;
};

TEST_F(NoteOperationsTest, AnInsertTheFileRefusesLeavesNoNodeBehind) {
    tree_.setSelectedItem(node(2));
    const int count = tree_.Nodes().Count();
    state_.Node.CloseFile();  // every write now fails
    ops_.InsertCommand();
    EXPECT_EQ(host_.errors.size(), 1);
    EXPECT_EQ(tree_.Nodes().Count(), count);
    EXPECT_EQ(tree_.SelectedItem(), node(2));
}

TEST_F(NoteOperationsTest, RenamingAnotherNoteLeavesTheShownNotesEditsForItsOwnRecord) {
    tree_.setSelectedItem(node(2));
    notes_.tree_NodeClick(node(2));
    editor_.setSelStart(0);
    editor_.setSelText("pending ");
    tree_.setSelectedItem(node(3));  // chosen by a mouse down, not shown
    bool cancel = false;
    QString name = "Renamed";
    ops_.tree_AfterLabelEdit(cancel, name);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(state_.NoteChanged);
    notes_.tree_NodeClick(node(3));
    EXPECT_NE(stored(2, true).find("pending alpha"), std::string::npos);
    EXPECT_EQ(stored(3, true), "{\\rtf1 beta\\par}");
    EXPECT_EQ(stored(3, false), "Renamed");
}

TEST_F(NoteOperationsTest, ANodeWithoutARecordIsReportedAndNothingIsDeleted) {
    tree_.setSelectedItem(ghost());
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes));
    ok();  // the delete's report
    ok();  // the note click's, for the same node
    ops_.DeleteCommand();
    EXPECT_EQ(dialogs_.messages().count(NoteOperations::kNodeNotFound), 2);
    EXPECT_NE(node(99), nullptr);
    EXPECT_EQ(stored(2, false), "Alpha");

    ok();
    bool cancel = false;
    QString name = "Spirit";
    ops_.tree_AfterLabelEdit(cancel, name);
    EXPECT_FALSE(cancel);  // the tree keeps the new label
    EXPECT_EQ(node(99)->Text(), "Spirit");
    EXPECT_EQ(dialogs_.messages().last(), NoteOperations::kNodeNotFound);
}

}  // namespace
}  // namespace tamix
