// The note commands driven through the real main window: keys, mouse and
// menus, with scripted answers, and the file read back with tamix-tool.

#include "shell/main_menus.h"
#include "testing/shell_fixture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>

namespace tamix {
namespace {

class FrmMainNotesTest : public ShellFixture {
protected:
    // Alpha(2){Child(5){Grandchild(6)}}, Beta(3), Gamma(57) at the top.
    void writeSample() {
        TestDatabase::write(file, {{2, 1, "Alpha"}, {3, 1, "Beta"}, {5, 2, "Child"}, {6, 5, "Grandchild"}, {57, 1, "Gamma"}});
    }
    frmMain& startSample() {
        writeSample();
        return start(file);
    }
    void SetUp() override {
        if (!QFileInfo::exists(TAMIX_TOOL_PATH)) GTEST_SKIP() << "tamix-tool is not built";
    }
    // `tamix-tool <command> <file>`: its output.
    QString tool(const char* command, int* exitCode = nullptr) {
        QProcess p;
        p.start(TAMIX_TOOL_PATH, {command, file});
        EXPECT_TRUE(p.waitForFinished(60000));
        if (exitCode) *exitCode = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // The live record of `key` from `tamix-tool records`: key, parent,
    // deleted, name, body size, link count; empty when there is none.
    QStringList record(int key) {
        const QString prefix = keyOf(key) + '\t';
        for (const QString& line : tool("records").split('\n'))
            if (line.startsWith(prefix) && line.section('\t', 2, 2) == "0") return line.split('\t');
        return {};
    }
    void expectCheckPasses() {
        int code = -1;
        const QString out = tool("check", &code);
        EXPECT_EQ(code, 0) << out.toStdString();
    }

    const QString file = path("notes.TM2");
};

TEST_F(FrmMainNotesTest, InsertsGetConsecutiveKeysUnderTheSelectedNote) {
    frmMain& w = startSample();
    click(3);
    w.rtfMain().setFocus();  // the keys work from the editor too, which saves first
    QTest::keyClicks(&w.rtfMain(), "kept ");
    key(Qt::Key_Insert, Qt::ShiftModifier);
    typeLabel("Groceries");
    click(1);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    typeLabel("Top");
    w.toolbarButton("insert")->trigger();  // under "Top", the note just made
    typeLabel("Under top");
    EXPECT_EQ(node(60)->Parent(), node(59));
    trigger("mnuFileClose");
    EXPECT_EQ(record(58).mid(1, 3), (QStringList{"k0000000003", "0", "Groceries"}));
    EXPECT_EQ(record(59).mid(1, 3), (QStringList{"k0000000001", "0", "Top"}));
    EXPECT_EQ(record(60).mid(1, 3), (QStringList{"k0000000059", "0", "Under top"}));
    EXPECT_NE(record(60).value(4), "0");  // the empty body came with the next save
    EXPECT_NE(TestDatabase::storedBody(file, 3).find("kept Beta"), std::string::npos);
    expectCheckPasses();
}

TEST_F(FrmMainNotesTest, NamesOfAHundredCharactersAreKeptLongerOrUnstorableOnesRefused) {
    frmMain& w = startSample();
    key(Qt::Key_F2);  // on the root, which has no record
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(labelEditor(), nullptr);
    click(57);
    const QString hundred(100, QChar('h'));
    key(Qt::Key_F2);
    typeLabel(hundred);
    key(Qt::Key_F2);
    answer(MsgAnswer::Ok);
    typeLabel(hundred + "!");
    EXPECT_EQ(dialogs_.messages(), QStringList{"Name is too long"});
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    answer(MsgAnswer::Ok);
    w.menuItem("mnuNoteEdit")->trigger();
    typeLabel(QStringLiteral("Snow \u2603"));
    EXPECT_TRUE(dialogs_.messages().value(1).contains(QStringLiteral("\"\u2603\""))) << dialogs_.messages().value(1).toStdString();
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    EXPECT_EQ(node(57)->Text(), hundred);
    trigger("mnuFileClose");
    EXPECT_EQ(record(57).value(3), hundred);
}

TEST_F(FrmMainNotesTest, ShiftDeleteRefusesTheRootAndParentsAndAsksForTheRest) {
    frmMain& w = startSample();
    key(Qt::Key_Delete, Qt::ShiftModifier);  // the root
    EXPECT_EQ(dialogs_.beeps(), 1);
    click(2);
    answer(MsgAnswer::Ok);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    click(57);
    w.rtfMain().setFocus();  // from the editor too, which must not cut instead
    w.rtfMain().setSelStart(0);
    w.rtfMain().setSelLength(3);
    answer(MsgAnswer::No);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_NE(node(57), nullptr);
    EXPECT_TRUE(w.rtfMain().Text().startsWith("Gamma"));
    answer(MsgAnswer::Yes);
    w.toolbarButton("delete")->trigger();
    EXPECT_EQ(dialogs_.messages(), (QStringList{"This Note has Sub-Notes; Delete Sub-Notes first",
                                                "Delete this Note?", "Delete this Note?"}));
    EXPECT_EQ(node(57), nullptr);
    trigger("mnuFileClose");
    EXPECT_TRUE(record(57).isEmpty());
    EXPECT_FALSE(record(3).isEmpty());
    expectCheckPasses();
}

TEST_F(FrmMainNotesTest, DraggingANoteOntoAnotherMovesItAfterTheQuestion) {
    frmMain& w = startSample();
    click(3);
    answer(MsgAnswer::Yes);
    dropOn(57, 3);
    EXPECT_EQ(dialogs_.messages(), QStringList{"Are you sure you wish to drop Gamma into Beta ?"});
    EXPECT_EQ(node(57)->Parent(), node(3));
    EXPECT_EQ(w.rtfMain().Text().trimmed(), "Gamma");
    trigger("mnuFileClose");
    EXPECT_EQ(record(57).value(1), "k0000000003");
    expectCheckPasses();
}

TEST_F(FrmMainNotesTest, DropsOnItselfOrADescendantOrRightAfterOpeningChangeNothing) {
    writeSample();
    const QString before = tool("records");
    frmMain& w = start(file);
    dropOn(2, 3);  // nothing clicked yet: ignored
    click(2);
    deliver(QEvent::DragMove, at(3));  // a drag from another program
    deliver(QEvent::Drop, at(3));
    w.menuItem("mnuNoteExpand")->trigger();
    dropOn(2, 2);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    answer(MsgAnswer::Yes);
    answer(MsgAnswer::Ok);  // the refusal
    dropOn(2, 6);
    EXPECT_TRUE(dialogs_.messages().value(1).contains("descendants"));
    answer(MsgAnswer::Yes);
    answer(MsgAnswer::Ok);
    dropOn(1, 3);  // the root has no record to move
    EXPECT_EQ(dialogs_.messages().value(3), "database error");
    EXPECT_EQ(node(2)->Parent(), node(1));
    trigger("mnuFileClose");
    EXPECT_EQ(tool("records"), before);
}

TEST_F(FrmMainNotesTest, ADropWhileTheShownNoteHasUnsavedEditsLosesNothing) {
    frmMain& w = startSample();
    click(3);
    w.rtfMain().setFocus();
    QTest::keyClicks(&w.rtfMain(), "typed ");
    answer(MsgAnswer::Yes);
    dropOn(57, 2);  // the press chooses Gamma without showing it
    EXPECT_EQ(node(57)->Parent(), node(2));
    trigger("mnuFileClose");
    EXPECT_NE(TestDatabase::storedBody(file, 3).find("typed Beta"), std::string::npos);
    EXPECT_EQ(TestDatabase::storedBody(file, 57), TestDatabase::rtfOf("Gamma"));
}

TEST_F(FrmMainNotesTest, HoveringNearTheTopOrBottomEdgeScrollsTheTree) {
    std::vector<TestDatabase::Note> notes;
    for (int k = 2; k < 82; ++k) notes.push_back({k, 1, "Note"});
    TestDatabase::write(file, notes);
    start(file);
    const int first = static_cast<int>(NodeKey::Number(node(1)->Child()->Key().toStdString()));
    click(first);
    QScrollBar* bar = tree().verticalScrollBar();
    ASSERT_EQ(bar->value(), 0);
    // Hovers with a move every 50 ms, as a hand does, until `done` or 2 s.
    auto hoverUntil = [&](QPoint p, const std::function<bool(int)>& done) {
        for (int i = 0; i < 40 && !done(bar->value()); ++i) {
            deliver(QEvent::DragMove, p);
            QTest::qWait(50);
        }
        return done(bar->value());
    };
    const int height = tree().viewport()->height();
    bool down = false, up = false, stopped = false;
    dragFrom(first, [&] {
        deliver(QEvent::DragEnter, at(first));
        down = hoverUntil(QPoint(10, height - 2), [](int v) { return v >= 3; });
        const int lowest = bar->value();
        up = hoverUntil(QPoint(10, 1), [&](int v) { return v <= lowest - 3; });
        deliver(QEvent::DragMove, QPoint(10, height / 2));
        stopped = !window_->treeDrag().Timer1().isActive();
    });
    EXPECT_TRUE(down);
    EXPECT_TRUE(up);
    EXPECT_TRUE(stopped);
}

TEST_F(FrmMainNotesTest, RightClickAndTheContextMenuKeyShowTheNoteMenu) {
    frmMain& w = startSample();
    click(3);
    QMenu* menu = w.menus().menu("mnuNote");
    QTest::mouseClick(tree().viewport(), Qt::RightButton, {}, at(57));
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    // Gamma is chosen and shown, so the menu acts on the note being edited.
    EXPECT_EQ(w.state().ShownKey, "k0000000057");
    EXPECT_EQ(tree().SelectedItem(), node(57));
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), tree().mapToGlobal(QPoint()));
    QApplication::sendEvent(&tree(), &menuKey);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    answer(MsgAnswer::Yes);
    w.menuItem("mnuNoteDelete")->trigger();
    EXPECT_EQ(node(57), nullptr);
}

TEST_F(FrmMainNotesTest, TheHighlightAlwaysReturnsToTheShownNote) {
    frmMain& w = startSample();
    click(3);
    const QRect alpha = tree().visualItemRect(node(2)->item());
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, QPoint(alpha.left() - 8, alpha.center().y()));
    EXPECT_TRUE(node(2)->Expanded());  // the expand sign toggles without choosing
    EXPECT_EQ(tree().SelectedItem(), node(3));
    dragFrom(57, [] {});  // released outside the tree
    EXPECT_EQ(tree().SelectedItem(), node(3));
    answer(MsgAnswer::No);
    dropOn(57, 2);  // refused
    EXPECT_EQ(tree().SelectedItem(), node(3));
    EXPECT_EQ(w.state().ShownKey, "k0000000003");
}

TEST_F(FrmMainNotesTest, ExpandAndCollapseReachTheWholeSubtree) {
    frmMain& w = startSample();
    click(2);
    w.menuItem("mnuNoteExpand")->trigger();
    EXPECT_TRUE(node(5)->Expanded() && node(6)->Expanded());
    EXPECT_FALSE(node(3)->Expanded());
    w.menuItem("mnuNoteCollapse")->trigger();
    EXPECT_FALSE(node(2)->Expanded() || node(5)->Expanded() || node(6)->Expanded());
    EXPECT_TRUE(node(1)->Expanded());
}

}  // namespace
}  // namespace tamix
