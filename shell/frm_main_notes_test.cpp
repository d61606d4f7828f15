// The note commands driven through the real main window: keys, mouse and
// menus, with scripted answers, and the file read back with tamix-tool.

#include "frm_main.h"

#include "c_node.h"
#include "main_menus.h"
#include "node.h"
#include "node_key.h"
#include "nodes.h"
#include "note_selection.h"
#include "rich_text_box.h"
#include "scripted_user_dialogs.h"
#include "settings.h"
#include "test_app.h"
#include "tree_drag.h"
#include "tree_view.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace tamix {
namespace {

struct Note {
    int key;
    int parent;
    const char* name;
};

std::string rtfOf(const char* text) {
    return std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text + "\\par}";
}

void makeDatabase(const QString& path, const std::vector<Note>& notes) {
    cNode node;
    node.CreateFile(QFile::encodeName(path).toStdString());
    node.Barriers(false);
    for (const Note& n : notes) {
        node.ClearNode();
        node.Key(NodeKey::Format(n.key));
        node.Parent(NodeKey::Format(n.parent));
        node.NodeText(n.name);
        node.SaveNewNode();
        node.RTFData(rtfOf(n.name));
        node.SaveNode();
    }
    node.CloseFile();
}

// One line of `tamix-tool records`: key, parent, deleted, name, body size, links.
struct ToolRecord {
    QString parent;
    QString name;
    int bodySize = 0;
};

class FrmMainNotesTest : public ::testing::Test {
protected:
    FrmMainNotesTest()
        : app_((testApp(), true)), dialogs_([](const QString& w) { ADD_FAILURE() << w.toStdString(); }) {}
    ~FrmMainNotesTest() override {
        EXPECT_EQ(dialogs_.pending(), 0u);
        if (window_) window_->close();
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    // Alpha(2){Child(5){Grandchild(6)}}, Beta(3), Gamma(57) at the top.
    QString sample() {
        const QString file = path("notes.TM2");
        makeDatabase(file, {{2, 1, "Alpha"}, {3, 1, "Beta"}, {5, 2, "Child"}, {6, 5, "Grandchild"},
                            {57, 1, "Gamma"}});
        return file;
    }
    // The main window with `file` open, active, the tree focused.
    frmMain& start(const QString& file) {
        settings_ = std::make_unique<Settings>(path("Tamix.conf"));
        window_ = std::make_unique<frmMain>(dialogs_, *settings_);
        window_->Load(file);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        window_->tree().setFocus();
        QApplication::processEvents();
        window_->treeDrag().setDragStarter([this] {
            if (during_) during_();
        });
        return *window_;
    }
    void closeDatabase() { window_->menuItem("mnuFileClose")->trigger(); }

    controls::TreeView& tree() { return window_->tree(); }
    controls::Node* node(int key) {
        return key == 1 ? tree().Nodes().Item(1)
                        : tree().Nodes().Find(QString::fromStdString(NodeKey::Format(key)));
    }
    QPoint at(int key) {
        const QRect row = tree().visualItemRect(node(key)->item());
        EXPECT_TRUE(row.isValid()) << key;
        return row.center();
    }
    void click(int key) { QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, at(key)); }
    void keyOnTree(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&tree(), key, modifiers);
    }
    QLineEdit* labelEditor() {
        for (QLineEdit* line : tree().viewport()->findChildren<QLineEdit*>())
            if (line->isVisible()) return line;
        return nullptr;
    }
    // Replaces the text in the open label editor and presses Enter.
    void typeLabel(const QString& text) {
        QLineEdit* line = labelEditor();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(line, c.toLatin1());
            else  // a key of another keyboard layout: only its text counts
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), {});
        }
        QTest::keyClick(line, Qt::Key_Return);
        QApplication::processEvents();
    }
    void yes() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes)); }
    void ok() { dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok)); }

    // What the platform delivers to the tree while a drag is in progress.
    void deliver(QEvent::Type type, QPoint pixels) {
        QMimeData mime;
        mime.setData(controls::TreeView::kNodeMimeType, QByteArray("k"));
        QWidget* viewport = tree().viewport();
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &e);
        } else if (type == QEvent::DragMove) {
            QDragMoveEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &e);
        } else {
            QDropEvent e(QPointF(pixels), Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &e);
        }
    }
    // A real press on `from` and a move with the left button held, which
    // starts the drag; `whileDragging` plays the platform's part.
    void dragFrom(int from, std::function<void()> whileDragging) {
        during_ = std::move(whileDragging);
        const QPoint p = at(from);
        QTest::mousePress(tree().viewport(), Qt::LeftButton, {}, p);
        QTest::mouseMove(tree().viewport(), p + QPoint(0, QApplication::startDragDistance() + 3));
        QTest::mouseRelease(&window_->statusBar1(), Qt::LeftButton, {}, QPoint(1, 1));
        during_ = nullptr;
    }
    void dropOn(int from, int to) {
        dragFrom(from, [&] {
            deliver(QEvent::DragEnter, at(from));
            deliver(QEvent::DragMove, at(to));
            deliver(QEvent::Drop, at(to));
        });
    }

    // Runs tamix-tool; false when it is not built.
    bool tool(const QStringList& args, QString* out, int* exitCode = nullptr) {
        if (!QFileInfo::exists(TAMIX_TOOL_PATH)) return false;
        QProcess p;
        p.start(TAMIX_TOOL_PATH, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        *out = QString::fromUtf8(p.readAllStandardOutput());
        if (exitCode) *exitCode = p.exitCode();
        return true;
    }
    // The live records of a closed file by key number, from `tamix-tool records`.
    QMap<int, ToolRecord> records(const QString& file) {
        QString out;
        QMap<int, ToolRecord> map;
        if (!tool({"records", file}, &out)) return map;
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split('\t');
            if (f.size() < 6 || f[2] != "0") continue;
            map.insert(f[0].mid(1).toInt(), {f[1], f[3], f[4].toInt()});
        }
        return map;
    }
    QString recordsText(const QString& file) {
        QString out;
        tool({"records", file}, &out);
        return out;
    }
    void expectCheckPasses(const QString& file) {
        QString out;
        int code = -1;
        if (!tool({"check", file}, &out, &code)) return;
        EXPECT_EQ(code, 0) << out.toStdString();
    }
    std::string storedBody(const QString& file, int key) {
        cNode n;
        n.OpenFile(QFile::encodeName(file).toStdString());
        const std::string body = n.FindKey(NodeKey::Format(key)) ? n.RTFData() : "<missing>";
        n.CloseFile();
        return body;
    }
    bool toolBuilt() const { return QFileInfo::exists(TAMIX_TOOL_PATH); }

    bool app_;
    QTemporaryDir dir_;
    ScriptedUserDialogs dialogs_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<frmMain> window_;
    std::function<void()> during_;
};

TEST_F(FrmMainNotesTest, TheNoteCommandsFollowTheOpenDatabase) {
    frmMain& w = start(sample());
    for (const char* name : {"mnuNote", "mnuNoteEdit", "mnuNoteInsert", "mnuNoteDelete", "mnuNoteExpand",
                             "mnuNoteCollapse"})
        EXPECT_TRUE(w.menuItem(name)->isEnabled()) << name;
    EXPECT_TRUE(w.toolbarButton("insert")->isEnabled());
    EXPECT_TRUE(w.toolbarButton("delete")->isEnabled());
    closeDatabase();
    EXPECT_FALSE(w.menuItem("mnuNote")->isEnabled());
    EXPECT_FALSE(w.toolbarButton("insert")->isEnabled());
    EXPECT_FALSE(w.toolbarButton("delete")->isEnabled());
}

TEST_F(FrmMainNotesTest, ShiftInsertAddsNotesWithConsecutiveKeysUnderTheSelectedNote) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    frmMain& w = start(file);
    click(3);
    keyOnTree(Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_NE(node(58), nullptr);
    EXPECT_EQ(node(58)->Parent(), node(3));
    typeLabel("Groceries");
    EXPECT_EQ(node(58)->Text(), "Groceries");
    click(1);
    w.tree().setFocus();
    keyOnTree(Qt::Key_Insert, Qt::ShiftModifier);
    typeLabel("Top");
    w.toolbarButton("insert")->trigger();  // under "Top", the note just made
    typeLabel("Under top");
    closeDatabase();

    const QMap<int, ToolRecord> r = records(file);
    EXPECT_EQ(r.value(58).parent, "k0000000003");
    EXPECT_EQ(r.value(58).name, "Groceries");
    EXPECT_EQ(r.value(59).parent, "k0000000001");
    EXPECT_EQ(r.value(59).name, "Top");
    EXPECT_EQ(r.value(60).parent, "k0000000059");
    EXPECT_EQ(r.value(60).name, "Under top");
    // Each new note's empty body reached the file with the next save.
    for (int key : {58, 59, 60}) EXPECT_GT(r.value(key).bodySize, 0) << key;
    EXPECT_EQ(r.size(), 8);
    expectCheckPasses(file);
}

TEST_F(FrmMainNotesTest, F2AcceptsAHundredCharactersAndRefusesAHundredAndOne) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    frmMain& w = start(file);
    click(57);
    const QString hundred(100, QChar('h'));
    keyOnTree(Qt::Key_F2);
    typeLabel(hundred);
    EXPECT_EQ(node(57)->Text(), hundred);
    w.tree().setFocus();
    keyOnTree(Qt::Key_F2);
    ok();
    typeLabel(hundred + "!");
    EXPECT_EQ(dialogs_.messages(), QStringList{"Name is too long"});
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    EXPECT_EQ(node(57)->Text(), hundred);
    closeDatabase();
    EXPECT_EQ(records(file).value(57).name, hundred);
}

TEST_F(FrmMainNotesTest, ANameWithACharacterTheFileCannotHoldKeepsTheOldName) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    frmMain& w = start(file);
    click(3);
    w.menuItem("mnuNoteEdit")->trigger();
    ok();
    typeLabel(QStringLiteral("Beta \u2603"));
    ASSERT_EQ(dialogs_.messages().size(), 1);
    EXPECT_TRUE(dialogs_.messages().front().contains(QStringLiteral("\u2603")));
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    EXPECT_EQ(node(3)->Text(), "Beta");
    closeDatabase();
    EXPECT_EQ(records(file).value(3).name, "Beta");
}

TEST_F(FrmMainNotesTest, F2OnTheRootOnlyBeeps) {
    frmMain& w = start(sample());
    const QString label = node(1)->Text();
    keyOnTree(Qt::Key_F2);
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(labelEditor(), nullptr);
    EXPECT_EQ(w.tree().Nodes().Item(1)->Text(), label);
}

TEST_F(FrmMainNotesTest, ShiftDeleteRefusesTheRootAndParentsAndAsksForTheRest) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    frmMain& w = start(file);
    keyOnTree(Qt::Key_Delete, Qt::ShiftModifier);  // the root
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_TRUE(dialogs_.messages().isEmpty());

    click(2);
    ok();
    keyOnTree(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(dialogs_.messages().last(), "This Note has Sub-Notes; Delete Sub-Notes first");

    click(57);
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::No));
    keyOnTree(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(dialogs_.messages().last(), "Delete this Note?");
    EXPECT_NE(node(57), nullptr);

    yes();
    w.toolbarButton("delete")->trigger();
    EXPECT_EQ(node(57), nullptr);
    EXPECT_NE(w.tree().SelectedItem(), nullptr);
    closeDatabase();

    const QMap<int, ToolRecord> r = records(file);
    EXPECT_FALSE(r.contains(57));
    EXPECT_EQ(r.size(), 4);
    expectCheckPasses(file);
}

TEST_F(FrmMainNotesTest, DraggingANoteOntoAnotherMovesItAfterTheQuestion) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    frmMain& w = start(file);
    click(3);
    yes();
    dropOn(57, 3);
    EXPECT_EQ(dialogs_.messages(), QStringList{"Are you sure you wish to drop Gamma into Beta ?"});
    EXPECT_EQ(node(57)->Parent(), node(3));
    EXPECT_EQ(w.state().ShownKey, "k0000000057");
    EXPECT_EQ(w.rtfMain().Text().trimmed(), "Gamma");
    closeDatabase();
    EXPECT_EQ(records(file).value(57).parent, "k0000000003");
    expectCheckPasses(file);
}

TEST_F(FrmMainNotesTest, DroppingOnItselfOrOnADescendantLeavesTheFileUnchanged) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    const QString before = recordsText(file);
    frmMain& w = start(file);
    click(2);
    w.menuItem("mnuNoteExpand")->trigger();
    dropOn(2, 2);
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    yes();
    ok();  // the refusal
    dropOn(2, 6);
    ASSERT_EQ(dialogs_.messages().size(), 2);
    EXPECT_TRUE(dialogs_.messages()[1].contains("descendants"));
    EXPECT_EQ(node(2)->Parent(), node(1));
    closeDatabase();
    EXPECT_EQ(recordsText(file), before);
    expectCheckPasses(file);
}

TEST_F(FrmMainNotesTest, ADropRightAfterOpeningIsIgnored) {
    if (!toolBuilt()) GTEST_SKIP() << "tamix-tool is not built";
    const QString file = sample();
    const QString before = recordsText(file);
    start(file);
    dropOn(57, 3);
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(node(57)->Parent(), node(1));
    closeDatabase();
    EXPECT_EQ(recordsText(file), before);
}

TEST_F(FrmMainNotesTest, ADropWhileTheShownNoteHasUnsavedEditsLosesNothing) {
    const QString file = sample();
    frmMain& w = start(file);
    click(3);
    w.rtfMain().setFocus();
    QTest::keyClick(&w.rtfMain(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(&w.rtfMain(), "typed ");
    ASSERT_TRUE(w.state().NoteChanged);
    yes();
    dropOn(57, 2);  // the press chooses Gamma without showing it
    EXPECT_EQ(node(57)->Parent(), node(2));
    EXPECT_EQ(w.state().ShownKey, "k0000000057");
    closeDatabase();
    EXPECT_NE(storedBody(file, 3).find("typed Beta"), std::string::npos);
    EXPECT_EQ(storedBody(file, 57), rtfOf("Gamma"));
}

TEST_F(FrmMainNotesTest, HoveringNearTheTopOrBottomEdgeScrollsTheTree) {
    std::vector<Note> notes;
    for (int k = 2; k < 82; ++k) notes.push_back({k, 1, "Note"});
    const QString file = path("long.TM2");
    makeDatabase(file, notes);
    start(file);
    const int first = static_cast<int>(NodeKey::Number(node(1)->Child()->Key().toStdString()));
    click(first);
    QScrollBar* bar = tree().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    ASSERT_EQ(bar->value(), 0);
    const int height = tree().viewport()->height();
    auto hoverUntil = [&](QPoint p, const std::function<bool(int)>& done) {
        for (int i = 0; i < 40 && !done(bar->value()); ++i) {
            deliver(QEvent::DragMove, p);
            QTest::qWait(50);
        }
        return done(bar->value());
    };
    bool down = false, up = false;
    int lowest = 0;
    dragFrom(first, [&] {
        deliver(QEvent::DragEnter, at(first));
        down = hoverUntil(QPoint(10, height - 2), [](int v) { return v >= 3; });
        lowest = bar->value();
        up = hoverUntil(QPoint(10, 1), [&](int v) { return v <= lowest - 3; });
        deliver(QEvent::DragMove, QPoint(10, height / 2));
        EXPECT_FALSE(window_->treeDrag().Timer1().isActive());
    });
    EXPECT_TRUE(down);
    EXPECT_TRUE(up);
}

TEST_F(FrmMainNotesTest, RightClickAndTheContextMenuKeyShowTheNoteMenu) {
    frmMain& w = start(sample());
    click(3);
    QMenu* menu = w.menus().menu("mnuNote");
    QTest::mouseClick(tree().viewport(), Qt::RightButton, {}, at(57));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(tree().SelectedItem(), node(57));
    EXPECT_EQ(w.state().ShownKey, "k0000000003");  // chosen, not shown
    menu->hide();

    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), tree().mapToGlobal(QPoint()));
    QApplication::sendEvent(&tree(), &key);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    // Delete from the menu acts on the chosen note.
    yes();
    w.menuItem("mnuNoteDelete")->trigger();
    EXPECT_EQ(node(57), nullptr);
}

TEST_F(FrmMainNotesTest, ShiftInsertWorksFromTheEditorAndSavesItsEditsFirst) {
    const QString file = sample();
    frmMain& w = start(file);
    click(3);
    w.rtfMain().setFocus();
    QTest::keyClick(&w.rtfMain(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClicks(&w.rtfMain(), "kept ");
    QTest::keyClick(&w.rtfMain(), Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_NE(node(58), nullptr);
    EXPECT_EQ(node(58)->Parent(), node(3));
    typeLabel("From the editor");
    EXPECT_FALSE(w.rtfMain().Text().contains("kept"));
    closeDatabase();
    EXPECT_NE(storedBody(file, 3).find("kept Beta"), std::string::npos);
}

TEST_F(FrmMainNotesTest, ExpandAndCollapseReachTheWholeSubtree) {
    frmMain& w = start(sample());
    click(2);
    w.menuItem("mnuNoteExpand")->trigger();
    EXPECT_TRUE(node(5)->Expanded());
    EXPECT_TRUE(node(6)->Expanded());
    EXPECT_TRUE(at(6).y() > at(5).y());
    w.menuItem("mnuNoteCollapse")->trigger();
    EXPECT_FALSE(node(2)->Expanded());
    EXPECT_FALSE(node(5)->Expanded());
    EXPECT_TRUE(node(1)->Expanded());
}

}  // namespace
}  // namespace tamix
