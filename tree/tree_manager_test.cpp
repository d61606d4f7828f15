#include "tree/tree_manager.h"

#include "storage/tamix_error.h"
#include "tree/tree_test_fixture.h"

#include <QDir>

namespace tamix {
namespace {

using tree_testing::FakeHost;

class TreeManagerTest : public tree_testing::TreeFixture {
protected:
    TreeManagerTest() {
        state_.EmptyNoteRTF = TestDatabase::rtfOf("");
        manager_.ClearTree();
    }

    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    // The stored body of a note, read through the manager's own node store
    // while the file is open there (it is locked against other openers).
    std::string stored(const char* file, int key) {
        if (!state_.Node.FileIsOpen()) return TestDatabase::storedBody(path(file), key);
        if (!state_.Node.FindKey(NodeKey::Format(key))) return "<missing>";
        return state_.Node.RTFData();
    }
    void click(int key) {
        controls::Node* n = key == 1 ? root() : node(key);
        tree_.setSelectedItem(n);
        notes_.tree_NodeClick(n);
    }
    void open(const QString& file) {
        dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, file));
        manager_.OpenDatabase();
    }
    // Writes `notes` to `file` in the test's folder and opens it.
    void openWith(const char* file, const std::vector<TestDatabase::Note>& notes) {
        TestDatabase::write(path(file), notes);
        open(path(file));
    }
    // Notes 2 "one" and 3 "two", each its name for body.
    void openOneTwo(const char* file) { openWith(file, {{2, 1, "one"}, {3, 1, "two"}}); }
    controls::Node* root() { return tree_.Nodes().Item(1); }
    void expectNoErrors() { EXPECT_TRUE(host_.errors.isEmpty()) << host_.errors.join('\n').toStdString(); }
    void type(const QString& text) {
        editor_.setSelStart(0);
        editor_.setSelText(text);
    }
    static QStringList childLabels(controls::Node* parent) {
        QStringList labels;
        for (controls::Node* c = parent->Child(); c; c = c->Next()) labels << c->Text();
        return labels;
    }
};

TEST_F(TreeManagerTest, ClearTreeLeavesTheBareRoot) {
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(root()->Text(), "My Notes");
    EXPECT_EQ(root()->Key(), "k0000000001");
    EXPECT_EQ(tree_.SelectedItem(), root());
    EXPECT_EQ(state_.MaxKeyNumber, 1);
}

TEST_F(TreeManagerTest, RootLabelIsTheFileTitle) {
    EXPECT_EQ(TreeManager::RootLabel("/home/me/Work Notes.TM2"), "My Tamix (Work Notes)");
    EXPECT_EQ(TreeManager::RootLabel("/x.y/abc"), "My Tamix ()");
    EXPECT_EQ(TreeManager::RootLabel("/a/b.TM2"), "My Tamix (b)");
}

TEST_F(TreeManagerTest, OpenShowsSiblingsInLabelOrderAndTakesTheHighestKey) {
    openWith("a.TM2", {{2, 1, "Zebra", ""}, {57, 1, "apple", ""}, {9, 2, "Mango", ""}, {4, 2, "banana", ""},
                       {30, 99, "Orphan", ""}});
    expectNoErrors();
    EXPECT_EQ(root()->Text(), "My Tamix (a)");
    EXPECT_TRUE(root()->Expanded());
    EXPECT_EQ(childLabels(root()), (QStringList{"apple", "Zebra"}));
    EXPECT_EQ(childLabels(node(2)), (QStringList{"banana", "Mango"}));
    EXPECT_EQ(node(30), nullptr);  // its parent is not in the tree
    EXPECT_EQ(state_.MaxKeyNumber, 57);
    EXPECT_EQ(manager_.FindTreeIndex("k0000000009"), node(9)->Index());
    EXPECT_EQ(manager_.FindTreeIndex("k0000000030"), 0);
    EXPECT_EQ(manager_.FindTreeIndex("k0000000001"), 1);
    EXPECT_TRUE(state_.TreeUntouched);
    EXPECT_FALSE(editor_.isEnabled());
    EXPECT_EQ(tree_.SelectedItem(), root());
    EXPECT_EQ(host_.maxDepth, 1);
    EXPECT_EQ(host_.depth, 0);
}

TEST_F(TreeManagerTest, ClickingANoteShowsItsBodyWithoutScaleWords) {
    openWith("b.TM2", {{2, 1, "First", "{\\rtf1\\ansi Hello\\picscalex50\\picscaley50 world\\par}"}});
    click(2);
    EXPECT_EQ(editor_.Text().trimmed(), "Hello world");
    EXPECT_TRUE(editor_.isEnabled());
    EXPECT_FALSE(state_.NoteChanged);
    EXPECT_FALSE(state_.TreeUntouched);
    EXPECT_EQ(state_.ShownKey, "k0000000002");
    // Only what is shown changes; the stored body keeps its scale words.
    EXPECT_NE(stored("b.TM2", 2).find("\\picscalex50"), std::string::npos);
}

TEST_F(TreeManagerTest, ReclickingTheShownNoteSavesAndReloadsIt) {
    openOneTwo("e.TM2");
    click(2);
    type("again ");
    click(2);
    EXPECT_TRUE(editor_.Text().startsWith("again one"));
    EXPECT_FALSE(state_.NoteChanged);
    EXPECT_NE(stored("e.TM2", 2).find("again one"), std::string::npos);
}

TEST_F(TreeManagerTest, FileSaveClearsTheFlagSoTheNextClickDoesNotWrite) {
    openOneTwo("f.TM2");
    click(2);
    type("saved ");
    notes_.SaveIfChanged();
    EXPECT_FALSE(state_.NoteChanged);
    const std::string afterSave = stored("f.TM2", 2);
    EXPECT_NE(afterSave.find("saved one"), std::string::npos);
    // Change the record behind the editor's back: a second write would undo it.
    ASSERT_TRUE(state_.Node.FindKey("k0000000002"));
    state_.Node.RTFData("untouched");
    state_.Node.SaveNode();
    click(3);
    EXPECT_EQ(stored("f.TM2", 2), "untouched");
}

TEST_F(TreeManagerTest, ANodeWithoutARecordIsReportedAndNeverSavedIntoAnother) {
    openOneTwo("g.TM2");
    click(2);
    controls::Node* gone = ghost();
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    tree_.setSelectedItem(gone);
    notes_.tree_NodeClick(gone);
    EXPECT_EQ(dialogs_.messages().last(), "Error in Database: Node not found");
    EXPECT_FALSE(editor_.isEnabled());
    EXPECT_TRUE(state_.ShownKey.isEmpty());
    // Even if something marks the editor changed now, no record is written.
    state_.NoteChanged = true;
    click(3);
    EXPECT_EQ(stored("g.TM2", 2), TestDatabase::rtfOf("one"));
    EXPECT_EQ(stored("g.TM2", 3), TestDatabase::rtfOf("two"));
}

TEST_F(TreeManagerTest, PathsDifferingInCaseAreDifferentRecentEntries) {
    TestDatabase::write(path("case.TM2"), {});
    state_.RecentFiles[0] = path("CASE.TM2");
    open(path("case.TM2"));
    EXPECT_EQ(state_.RecentFiles[0], path("case.TM2"));
    EXPECT_EQ(state_.RecentFiles[1], path("CASE.TM2"));
}

TEST_F(TreeManagerTest, NewDatabaseAppendsTheExtensionAndShowsOnlyTheRoot) {
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("fresh")));
    manager_.NewDatabase();
    expectNoErrors();
    EXPECT_EQ(state_.CurrentFileName, path("fresh.TM2"));
    EXPECT_TRUE(QFile::exists(path("fresh.TM2")));
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(root()->Text(), "My Tamix (fresh)");
    EXPECT_EQ(state_.MaxKeyNumber, 1);  // the first note gets k0000000002
    EXPECT_TRUE(state_.TreeUntouched);
    EXPECT_FALSE(editor_.isEnabled());
    EXPECT_EQ(state_.RecentFiles[0], QString());  // enters the list when first opened
    const AskedDialog& asked = dialogs_.asked().front();
    EXPECT_EQ(asked.text, "Select New Tamix Database to create");
    EXPECT_EQ(asked.file.filter, "Tamix Database (*.TM2)|*.TM2");
    EXPECT_TRUE(asked.file.overwritePrompt);
    EXPECT_TRUE(asked.file.cancelRaises);
}

TEST_F(TreeManagerTest, NewDatabaseOverAnExistingFileStartsEmpty) {
    TestDatabase::write(path("old.TM2"), {{2, 1, "Old", ""}});
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("old.TM2")));
    manager_.NewDatabase();
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(stored("old.TM2", 2), "<missing>");
}

TEST_F(TreeManagerTest, NewDatabaseRefusesAFileAnotherProgramHoldsOpen) {
    TestDatabase::write(path("held.TM2"), {{2, 1, "Held", "kept"}});
    cNode holder;
    holder.OpenFile(QFile::encodeName(path("held.TM2")).toStdString());
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("held.TM2")));
    manager_.NewDatabase();
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_EQ(host_.errors[0], "The database " + path("held.TM2") + " is in use by another program");
    EXPECT_FALSE(state_.DatabaseOpen);
    holder.CloseFile();
    EXPECT_EQ(TestDatabase::storedBody(path("held.TM2"), 2), "kept");
}

TEST_F(TreeManagerTest, NewDatabaseRefusesTheFileOpenHere) {
    openWith("mine.TM2", {{2, 1, "Mine", ""}});
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("mine")));  // ".TM2" is added
    manager_.NewDatabase();
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_EQ(host_.errors[0], "The database " + path("mine.TM2") + " is open; a new database cannot replace it.");
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_EQ(tree_.Nodes().Count(), 2);
    EXPECT_EQ(stored("mine.TM2", 2), "");
}

TEST_F(TreeManagerTest, NewDatabaseAsksBeforeReplacingAFileTheDialogDidNotAskAbout) {
    TestDatabase::write(path("kept.TM2"), {{2, 1, "Kept", "body"}});
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("kept")));
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::No));
    manager_.NewDatabase();
    EXPECT_EQ(dialogs_.messages().value(0), path("kept.TM2") + " already exists. Do you want to replace it?");
    EXPECT_FALSE(state_.DatabaseOpen);
    EXPECT_EQ(stored("kept.TM2", 2), "body");

    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("kept")));
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes));
    manager_.NewDatabase();
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_EQ(stored("kept.TM2", 2), "<missing>");
}

TEST_F(TreeManagerTest, ADamagedFileIsReportedAndLeavesTheDatabaseOpenBeforeIt) {
    QFile junk(path("junk.TM2"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(3000, 'x')) == 3000);
    junk.close();
    open(path("junk.TM2"));
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_FALSE(state_.DatabaseOpen);
    EXPECT_EQ(root()->Text(), "My Notes");
    EXPECT_EQ(host_.depth, 0);
    openWith("work.TM2", {{2, 1, "Work"}});
    open(path("junk.TM2"));  // reported before the open database is closed
    ASSERT_EQ(host_.errors.size(), 2);
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_EQ(state_.CurrentFileName, path("work.TM2"));
    EXPECT_NE(node(2), nullptr);
}

TEST_F(TreeManagerTest, PathsAreMadeAbsoluteBeforeTheyAreUsedOrListed) {
    TestDatabase::write(path("rel.TM2"), {});
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    manager_.OpenPath("./rel.TM2");
    QDir::setCurrent(before);
    EXPECT_EQ(state_.CurrentFileName, path("rel.TM2"));
    EXPECT_EQ(state_.RecentFiles[0], path("rel.TM2"));
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    manager_.OpenPath(path("absent.TM2"));
    EXPECT_EQ(dialogs_.messages().value(0), path("absent.TM2") + " was not found");
    EXPECT_EQ(state_.CurrentFileName, path("rel.TM2"));
}

TEST_F(TreeManagerTest, ANameWithADotAnywhereIsTakenAsItIs) {
    QDir(dir_.path()).mkdir("v1.2");
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("v1.2/notes")));
    manager_.NewDatabase();
    EXPECT_EQ(state_.CurrentFileName, path("v1.2/notes"));
}

TEST_F(TreeManagerTest, CancellingTheOpenDialogKeepsTheOpenDatabase) {
    openWith("keep.TM2", {{2, 1, "Kept", ""}});
    dialogs_.answer(ScriptedAnswer::Cancel(DialogKind::OpenFile));
    manager_.OpenDatabase();
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_NE(node(2), nullptr);
    EXPECT_TRUE(host_.errors.isEmpty());
}

TEST_F(TreeManagerTest, AMissingRecentFileOpensAsANewEmptyDatabase) {
    manager_.OpenRecentFile(path("gone.TM2"));
    expectNoErrors();
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(root()->Text(), "My Tamix (gone)");
}

TEST_F(TreeManagerTest, ATreeTooDeepToLoadIsReportedAndKeepsWhatWasShown) {
    std::vector<TestDatabase::Note> chain;  // each note under the one before
    for (int key = 2; key < 2 + 2100; ++key) chain.push_back({key, key - 1, "level", ""});
    openWith("deep.TM2", chain);
    ASSERT_EQ(host_.errors.size(), 1);
    EXPECT_TRUE(state_.DatabaseOpen);
    EXPECT_EQ(host_.depth, 0);  // the window is enabled again
    EXPECT_EQ(root()->Text(), "My Tamix (deep)");
    EXPECT_GE(tree_.Nodes().Count(), 1);
    EXPECT_LE(tree_.Nodes().Count(), 2101);
    // No key shown may be handed out again by a later insert.
    for (int i = 2; i <= tree_.Nodes().Count(); ++i)
        EXPECT_LE(NodeKey::Number(tree_.Nodes().Item(i)->Key().toStdString()), state_.MaxKeyNumber);
}

TEST_F(TreeManagerTest, CloseSavesAChangedNoteAndResetsTheRoot) {
    openOneTwo("close.TM2");
    click(2);
    type("closing ");
    manager_.CloseCommand();
    EXPECT_FALSE(state_.DatabaseOpen);
    EXPECT_EQ(tree_.Nodes().Count(), 1);
    EXPECT_EQ(root()->Text(), "My Notes");
    EXPECT_NE(stored("close.TM2", 2).find("closing one"), std::string::npos);
}

TEST_F(TreeManagerTest, ShowEmptyNoteWritesTheEmptyBodyOnTheNextSave) {
    openWith("new.TM2", {});
    state_.Node.ClearNode();
    state_.Node.Key(NodeKey::Format(2));
    state_.Node.Parent(NodeKey::kRoot);
    state_.Node.NodeText("New Note");
    state_.Node.SaveNewNode();
    notes_.ShowEmptyNote();
    EXPECT_TRUE(editor_.isEnabled());
    notes_.SaveIfChanged();
    EXPECT_NE(stored("new.TM2", 2).find("{\\rtf"), std::string::npos);  // was stored empty
}

}  // namespace
}  // namespace tamix
