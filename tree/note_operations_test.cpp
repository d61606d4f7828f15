#include "note_operations.h"

#include "note_test_fixture.h"

#include <QLineEdit>
#include <QTest>

namespace tamix {
namespace {

using testing::NoteFixture;
using testing::Record;
using testing::makeDatabase;
using testing::rtfOf;

class NoteOperationsTest : public NoteFixture {
protected:
    // Root "My Tamix (n)" with Alpha(2){Child(5){Grandchild(6)}}, Beta(3),
    // and the highest key 57 (Gamma).
    void openSample() {
        makeDatabase(path("n.TM2"), {{2, 1, "Alpha", rtfOf("alpha")},
                                     {3, 1, "Beta", rtfOf("beta")},
                                     {5, 2, "Child", rtfOf("child")},
                                     {6, 5, "Grandchild", rtfOf("grandchild")},
                                     {57, 3, "Gamma", rtfOf("gamma")}});
        open("n.TM2");
    }
    // Ends the label editing that an insert starts, keeping "New Note".
    void closeLabelEditor() {
        if (QLineEdit* line = labelEditor()) QTest::keyClick(line, Qt::Key_Escape);
        QApplication::processEvents();
    }
    void rename(int key, const QString& text, bool expectCancel) {
        tree_.setSelectedItem(node(key));
        bool cancel = false;
        QString newText = text;
        operations_.tree_AfterLabelEdit(cancel, newText);
        EXPECT_EQ(cancel, expectCancel) << text.left(20).toStdString();
    }
};

TEST_F(NoteOperationsTest, InsertUnderTheRootStoresTheRootAsParentAndContinuesTheKeys) {
    openSample();
    click(1);
    operations_.InsertCommand();
    closeLabelEditor();
    click(1);
    operations_.InsertCommand();
    closeLabelEditor();
    EXPECT_EQ(record(58).key, "k0000000058");
    EXPECT_EQ(record(58).parent, "k0000000001");
    EXPECT_EQ(record(59).parent, "k0000000001");
    EXPECT_EQ(record(59).name, "New Note");
    EXPECT_EQ(node(58)->Parent(), root());
    EXPECT_EQ(node(59)->Parent(), root());
    EXPECT_EQ(state_.MaxKeyNumber, 59);
    EXPECT_TRUE(host_.errors.isEmpty()) << host_.errors.join('\n').toStdString();
}

TEST_F(NoteOperationsTest, InsertUnderANoteSelectsTheNewNoteShowsAnEmptyBodyAndOpensTheLabelEditor) {
    openSample();
    click(5);
    operations_.InsertCommand();
    controls::Node* added = node(58);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Parent(), node(5));
    EXPECT_EQ(record(58).parent, "k0000000005");
    EXPECT_EQ(tree_.SelectedItem(), added);
    EXPECT_TRUE(node(5)->Expanded());
    EXPECT_NE(labelEditor(), nullptr);
    EXPECT_EQ(state_.ShownKey, "k0000000058");
    EXPECT_TRUE(editor_.isEnabled());
    EXPECT_TRUE(editor_.Text().trimmed().isEmpty());
    // The empty body is pending and reaches the file with the next save.
    EXPECT_TRUE(state_.NoteChanged);
    closeLabelEditor();
    click(2);
    EXPECT_EQ(record(58).body.rfind("{\\rtf", 0), 0u) << record(58).body;
}

TEST_F(NoteOperationsTest, InsertSavesTheChangedShownNoteFirst) {
    openSample();
    click(3);
    type("edited ");
    click(1);  // the root: shows nothing, saves Beta
    click(2);
    type("more ");
    tree_.setSelectedItem(root());  // chosen by a mouse down, not shown
    operations_.InsertCommand();
    closeLabelEditor();
    EXPECT_NE(record(2).body.find("more alpha"), std::string::npos);
    EXPECT_NE(record(3).body.find("edited beta"), std::string::npos);
    EXPECT_EQ(record(58).parent, "k0000000001");
}

TEST_F(NoteOperationsTest, AnInsertTheFileRefusesLeavesNoNodeBehind) {
    openSample();
    click(2);
    const int count = tree_.Nodes().Count();
    state_.Node.CloseFile();  // every write now fails
    operations_.InsertCommand();
    EXPECT_EQ(host_.errors.size(), 1);
    EXPECT_EQ(tree_.Nodes().Count(), count);
    EXPECT_EQ(node(58), nullptr);
    EXPECT_EQ(tree_.SelectedItem(), node(2));
}

TEST_F(NoteOperationsTest, DeletingTheRootOnlyBeeps) {
    openSample();
    click(1);
    operations_.DeleteCommand();
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(records().size(), 5u);
}

TEST_F(NoteOperationsTest, DeletingANoteWithSubNotesIsRefused) {
    openSample();
    click(2);
    ok();
    operations_.DeleteCommand();
    EXPECT_EQ(dialogs_.messages(), QStringList{NoteOperations::kHasSubNotes});
    EXPECT_NE(node(2), nullptr);
    EXPECT_EQ(records().size(), 5u);
}

TEST_F(NoteOperationsTest, AnsweringNoKeepsTheNoteAndStillRunsTheNoteClick) {
    openSample();
    click(57);
    tree_.setSelectedItem(node(6));  // chosen, not shown
    no();
    operations_.DeleteCommand();
    EXPECT_EQ(dialogs_.messages(), QStringList{NoteOperations::kDeleteQuestion});
    EXPECT_EQ(dialogs_.asked().back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(records().size(), 5u);
    EXPECT_EQ(state_.ShownKey, "k0000000006");
    EXPECT_TRUE(editor_.Text().startsWith("grandchild"));
}

TEST_F(NoteOperationsTest, AnsweringYesDeletesTheRecordAndShowsTheNextSelectedNote) {
    openSample();
    click(6);
    type("lost? ");
    yes();
    operations_.DeleteCommand();
    EXPECT_EQ(node(6), nullptr);
    EXPECT_EQ(record(6).key, "<missing>");
    EXPECT_EQ(records().size(), 4u);
    // Its parent is selected now and shown; no other record got the text.
    EXPECT_EQ(tree_.SelectedItem(), node(5));
    EXPECT_EQ(state_.ShownKey, "k0000000005");
    for (const Record& r : records()) EXPECT_EQ(r.body.find("lost?"), std::string::npos) << r.key;
    EXPECT_FALSE(state_.NoteChanged);
}

TEST_F(NoteOperationsTest, DeletingANodeWithoutARecordReportsItAndDeletesNothing) {
    openSample();
    controls::Node* ghost = tree_.Nodes().Add(root(), controls::Relationship::Child, "k0000000099", "Ghost");
    tree_.setSelectedItem(ghost);
    yes();
    ok();  // the delete's report
    ok();  // the note click's report for the same node
    operations_.DeleteCommand();
    EXPECT_EQ(dialogs_.messages().count(NoteOperations::kNodeNotFound), 2);
    EXPECT_NE(node(99), nullptr);
    EXPECT_EQ(records().size(), 5u);
}

TEST_F(NoteOperationsTest, ATitleOfExactlyOneHundredCharactersIsStored) {
    openSample();
    const QString title(NoteOperations::kMaxNameLength, QChar(0xE9));  // é, two bytes in UTF-8
    rename(3, title, false);
    EXPECT_EQ(node(3)->Text(), title);
    EXPECT_EQ(QString::fromStdString(record(3).name), title);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
}

TEST_F(NoteOperationsTest, ATitleOfOneHundredAndOneCharactersIsRefusedAndTheOldOneStays) {
    openSample();
    ok();
    rename(3, QString(NoteOperations::kMaxNameLength + 1, QChar('x')), true);
    EXPECT_EQ(dialogs_.messages(), QStringList{NoteOperations::kNameTooLong});
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    EXPECT_EQ(node(3)->Text(), "Beta");
    EXPECT_EQ(record(3).name, "Beta");
}

TEST_F(NoteOperationsTest, AnEmptyTitleBeepsAndKeepsTheOldOne) {
    openSample();
    rename(3, QString(), true);
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(record(3).name, "Beta");
}

TEST_F(NoteOperationsTest, ATitleTheCodePageCannotHoldIsRefusedNamingTheCharacter) {
    openSample();
    rename(3, QStringLiteral("Omega \u03A9"), true);
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_TRUE(host_.errors.front().contains(QStringLiteral("\u03A9"))) << host_.errors.front().toStdString();
    EXPECT_TRUE(host_.errors.front().contains("U+03A9"));
    EXPECT_EQ(node(3)->Text(), "Beta");
    EXPECT_EQ(record(3).name, "Beta");
}

TEST_F(NoteOperationsTest, TheRootsLabelIsNeverRenamed) {
    openSample();
    const QString label = root()->Text();
    rename(1, "Renamed", true);
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(root()->Text(), label);
}

TEST_F(NoteOperationsTest, RenameKeepsKeysAndResortsTheSiblings) {
    openSample();
    rename(2, "Zulu", false);
    EXPECT_EQ(childLabels(root()), (QStringList{"Beta", "Zulu"}));
    EXPECT_EQ(node(2)->Text(), "Zulu");
    EXPECT_EQ(record(2).name, "Zulu");
    EXPECT_EQ(record(2).body, rtfOf("alpha"));
    EXPECT_EQ(state_.MaxKeyNumber, 57);
}

TEST_F(NoteOperationsTest, RenamingAnotherNoteLeavesTheShownNotesEditsForItsOwnRecord) {
    openSample();
    click(2);
    type("pending ");
    rename(3, "Renamed", false);
    EXPECT_TRUE(state_.NoteChanged);
    click(57);
    EXPECT_NE(record(2).body.find("pending alpha"), std::string::npos);
    EXPECT_EQ(record(3).body, rtfOf("beta"));
    EXPECT_EQ(record(3).name, "Renamed");
}

TEST_F(NoteOperationsTest, RenamingANodeWithoutARecordKeepsTheNewLabelAndSaysSo) {
    openSample();
    tree_.Nodes().Add(root(), controls::Relationship::Child, "k0000000099", "Ghost");
    ok();
    rename(99, "Spirit", false);
    EXPECT_EQ(dialogs_.messages(), QStringList{NoteOperations::kNodeNotFound});
    EXPECT_EQ(node(99)->Text(), "Spirit");
    EXPECT_EQ(records().size(), 5u);
}

TEST_F(NoteOperationsTest, ExpandAndCollapseReachTheWholeSubtree) {
    openSample();
    tree_.setSelectedItem(root());
    operations_.ExpandCommand();
    for (int key : {2, 3, 5, 6, 57}) EXPECT_TRUE(node(key)->Expanded()) << key;
    tree_.setSelectedItem(node(2));
    operations_.CollapseCommand();
    for (int key : {2, 5, 6}) EXPECT_FALSE(node(key)->Expanded()) << key;
    EXPECT_TRUE(node(3)->Expanded());
    EXPECT_TRUE(root()->Expanded());
}

TEST_F(NoteOperationsTest, ExpandOnALeafSetsOnlyItsOwnState) {
    openSample();
    tree_.setSelectedItem(node(57));
    operations_.ExpandCommand();
    EXPECT_TRUE(node(57)->Expanded());
    EXPECT_FALSE(node(2)->Expanded());
    EXPECT_FALSE(node(5)->Expanded());
}

TEST_F(NoteOperationsTest, MoveChangesTheParentInTreeAndFileAndShowsTheMovedNote) {
    openSample();
    click(3);
    operations_.MoveCommand(*node(2), *node(57));
    EXPECT_EQ(node(2)->Parent(), node(57));
    EXPECT_EQ(node(5)->Parent(), node(2));  // the subtree goes along
    EXPECT_EQ(record(2).parent, "k0000000057");
    EXPECT_EQ(record(5).parent, "k0000000002");
    EXPECT_EQ(tree_.SelectedItem(), node(2));
    EXPECT_EQ(state_.ShownKey, "k0000000002");
    EXPECT_TRUE(editor_.Text().startsWith("alpha"));
    EXPECT_TRUE(editor_.isEnabled());
}

TEST_F(NoteOperationsTest, MovingOntoADescendantIsRefusedAndChangesNothing) {
    openSample();
    click(3);
    const std::vector<Record> before = records();
    operations_.MoveCommand(*node(2), *node(6));
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_TRUE(host_.errors.front().contains("descendants"));
    EXPECT_EQ(node(2)->Parent(), root());
    EXPECT_EQ(records(), before);
}

TEST_F(NoteOperationsTest, MovingTheRootFindsNoRecord) {
    openSample();
    ok();
    operations_.MoveCommand(*root(), *node(3));
    EXPECT_EQ(dialogs_.messages(), QStringList{NoteOperations::kMoveNotFound});
    EXPECT_EQ(root()->Parent(), nullptr);
}

TEST_F(NoteOperationsTest, AMoveSavesTheChangedShownNoteBeforeTheStoreMoves) {
    openSample();
    click(57);
    type("unsaved ");
    operations_.MoveCommand(*node(6), *root());
    EXPECT_NE(record(57).body.find("unsaved gamma"), std::string::npos);
    EXPECT_EQ(record(6).body, rtfOf("grandchild"));
    EXPECT_EQ(record(6).parent, "k0000000001");
    EXPECT_EQ(state_.ShownKey, "k0000000006");
}

TEST_F(NoteOperationsTest, EditNameBeepsForTheRootAndOpensTheEditorOtherwise) {
    openSample();
    tree_.setSelectedItem(root());
    operations_.EditName();
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(labelEditor(), nullptr);
    tree_.setSelectedItem(node(3));
    operations_.EditName();
    EXPECT_NE(labelEditor(), nullptr);
    closeLabelEditor();
}

TEST_F(NoteOperationsTest, CommandsDoNothingWithoutADatabase) {
    operations_.InsertCommand();
    operations_.DeleteCommand();
    operations_.EditName();
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(dialogs_.beeps(), 0);
    EXPECT_TRUE(host_.errors.isEmpty());
}

}  // namespace
}  // namespace tamix
