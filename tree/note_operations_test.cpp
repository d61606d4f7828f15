// The cases the main window's tests cannot reach: records that are missing
// or cannot be written, and the shown note's pending edits across a rename.
// The commands themselves are driven through the window in
// shell/frm_main_notes_test.cpp.

#include "tree/note_operations.h"

#include "tree/tree_test_fixture.h"

namespace tamix {
namespace {

class NoteOperationsTest : public tree_testing::TreeFixture {
protected:
    NoteOperationsTest() : ops_(state_, notes_, tree_, editor_, dialogs_, host_) {
        const QString file = dir_.filePath("n.TM2");
        TestDatabase::write(file, {{2, 1, "Alpha", "{\\rtf1 alpha\\par}"},
                                          {3, 1, "Beta", "{\\rtf1 beta\\par}"}});
        manager_.ClearTree();
        manager_.OpenPath(file);
    }

    std::string stored(int key, bool body) {
        if (!state_.Node.FindKey(NodeKey::Format(key))) return "<missing>";
        return body ? state_.Node.RTFData() : state_.Node.NodeText();
    }
    void ok() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok)); }

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

TEST_F(NoteOperationsTest, DeleteActsOnlyOnTheNoteAskedAboutAfterItsQuestion) {
    const QString other = dir_.filePath("other.TM2");
    TestDatabase::write(other, {{3, 1, "Other"}});
    tree_.setSelectedItem(node(3));
    dialogs_.whileNextIsOpen([&] { manager_.OpenPath(other); });  // rebuilds the tree
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes));
    ops_.DeleteCommand();
    EXPECT_EQ(state_.CurrentFileName, other);
    EXPECT_EQ(stored(3, false), "Other");  // the other database's note of the same key stays
    ASSERT_NE(node(3), nullptr);
}

}  // namespace
}  // namespace tamix
