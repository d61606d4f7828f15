#include "shell/instance_channel.h"
#include "shell/main_toolbars.h"
#include "shell/window_message.h"
#include "shell/splitter_bar.h"
#include "testing/shell_fixture.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QToolBar>
#include <QWindow>

namespace tamix {
namespace {

class FrmMainTest : public ShellFixture {
protected:
    // Sends the window a command line the way a second start does.
    void sendCommandLine(const QByteArray& bytes, quint32 dwData = 0) {
        CopyDataStruct cds{dwData, static_cast<quint32>(bytes.size()), bytes.constData()};
        WindowMessage message(kWmCopyData, 0, reinterpret_cast<qintptr>(&cds));
        QApplication::sendEvent(window_.get(), &message);
    }
};

TEST_F(FrmMainTest, StartsWithNoDatabaseAndOnlyTheFileButtonsWorking) {
    frmMain& w = start();
    EXPECT_EQ(w.tree().Nodes().Count(), 1);
    EXPECT_EQ(w.tree().Nodes().Item(1)->Text(), "My Notes");
    EXPECT_FALSE(w.tree().isEnabled());
    EXPECT_FALSE(w.rtfMain().isEnabled());
    EXPECT_FALSE(w.toolbar2().isEnabled());
    for (const char* key : {"new", "open", "save", "help", "top"})
        EXPECT_TRUE(w.toolbarButton(key)->isEnabled()) << key;
    for (const char* key : {"print", "preview", "cut", "copy", "paste", "find", "insert", "delete", "notop"})
        EXPECT_FALSE(w.toolbarButton(key)->isEnabled()) << key;
    for (const char* name : {"mnuEdit", "mnuFormat", "mnuFileClose", "mnuNote", "mnuFilePrint"})
        EXPECT_FALSE(w.menuItem(name)->isEnabled()) << name;
    EXPECT_EQ(w.property("TAMIX_APPLICATION").toInt(), 1);
}

TEST_F(FrmMainTest, NewOpenCloseAndReopenThroughTheMenus) {
    frmMain& w = start();
    dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, path("journal")));
    w.menuItem("mnuFileNew")->trigger();
    EXPECT_TRUE(w.state().DatabaseOpen);
    EXPECT_EQ(w.tree().Nodes().Item(1)->Text(), "My Tamix (journal)");
    EXPECT_TRUE(w.tree().isEnabled());
    EXPECT_TRUE(w.menuItem("mnuFileClose")->isEnabled());
    EXPECT_TRUE(w.menuItem("mnuNote")->isEnabled());

    w.menuItem("mnuFileClose")->trigger();
    EXPECT_FALSE(w.state().DatabaseOpen);
    EXPECT_FALSE(w.menuItem("mnuNote")->isEnabled());
    EXPECT_FALSE(w.toolbarButton("delete")->isEnabled());
    EXPECT_EQ(w.tree().Nodes().Item(1)->Text(), "My Notes");
    EXPECT_FALSE(w.tree().isEnabled());

    TestDatabase::write(path("work.TM2"), {{2, 1, "Plans"}, {3, 1, "Ideas"}});
    openFile(path("work.TM2"));
    EXPECT_EQ(w.tree().Nodes().Count(), 3);
    EXPECT_TRUE(w.tree().Nodes().Item(1)->Expanded());
    EXPECT_EQ(w.tree().SelectedItem(), w.tree().Nodes().Item(1));
    EXPECT_FALSE(w.rtfMain().isEnabled());
    EXPECT_TRUE(w.state().TreeUntouched);

    w.menuItem("MRU1")->trigger();  // reopen the same file from the list
    EXPECT_EQ(w.tree().Nodes().Count(), 3);
    EXPECT_EQ(w.state().RecentFiles[0], path("work.TM2"));
}

TEST_F(FrmMainTest, RecentFileMenuFollowsTheListAndTheFifthFileDropsTheOldest) {
    frmMain& w = start();
    for (int i = 1; i <= 5; ++i) TestDatabase::write(path(QString("f%1.TM2").arg(i)), {});
    for (int i = 1; i <= 4; ++i) openFile(path(QString("f%1.TM2").arg(i)));
    EXPECT_EQ(w.menuItem("MRU1")->text(), "&1 " + path("f4.TM2"));
    EXPECT_EQ(w.menuItem("MRU4")->text(), "&4 " + path("f1.TM2"));
    openFile(path("f3.TM2"));  // already listed: the order stays
    EXPECT_EQ(w.menuItem("MRU2")->text(), "&2 " + path("f3.TM2"));
    openFile(path("f5.TM2"));
    EXPECT_EQ(w.menuItem("MRU1")->text(), "&1 " + path("f5.TM2"));
    EXPECT_EQ(w.menuItem("MRU4")->text(), "&4 " + path("f2.TM2"));
    for (const char* item : {"MRU1", "MRU2", "MRU3", "MRU4"}) EXPECT_TRUE(w.menuItem(item)->isVisible());
    finish();
    Settings s(ini());
    EXPECT_EQ(s.getString("Settings", "MRU1", ""), path("f5.TM2"));
    EXPECT_EQ(s.getString("Settings", "MRU4", ""), path("f2.TM2"));
}

TEST_F(FrmMainTest, EmptyRecentEntriesAreHidden) {
    seed("Settings", "MRU1", "/only/one.TM2");
    frmMain& w = start();
    EXPECT_TRUE(w.menuItem("MRU1")->isVisible());
    EXPECT_EQ(w.menuItem("MRU1")->text(), "&1 /only/one.TM2");
    EXPECT_FALSE(w.menuItem("MRU2")->isVisible());
    EXPECT_FALSE(w.menuItem("MRU4")->isVisible());
}

TEST_F(FrmMainTest, TheRootShowsTheEmptyBodyWithTheEditorDisabled) {
    TestDatabase::write(path("r.TM2"), {{2, 1, "Alpha"}});
    frmMain& w = start(path("r.TM2"));
    click(2);
    EXPECT_TRUE(w.rtfMain().isEnabled());
    EXPECT_EQ(w.rtfMain().Text().trimmed(), "Alpha");
    typeInEditor("rooted ");
    click(1);
    EXPECT_FALSE(w.rtfMain().isEnabled());
    EXPECT_EQ(w.rtfMain().Text(), "");
    EXPECT_TRUE(w.state().ShownKey.isEmpty());
    w.UpdateCommandState();  // as on every activation
    EXPECT_FALSE(w.rtfMain().isEnabled());
    EXPECT_FALSE(w.state().NoteChanged);
    ASSERT_TRUE(w.state().Node.FindKey(NodeKey::Format(2)));  // the file is locked while open
    EXPECT_NE(w.state().Node.RTFData().find("rooted Alpha"), std::string::npos);
}

// Every way of leaving an edited note stores it; while the file is open it is
// locked, so the body is read through the window's own store.
TEST_F(FrmMainTest, AChangedNoteIsSavedOnClickSaveCloseAndExit) {
    const struct {
        const char* way;
        std::function<void(frmMain&)> leave;
        bool fileOpen, windowShown;
    } cases[] = {
        {"click", [this](frmMain&) { click(3); }, true, true},
        {"save", [](frmMain& w) { QTest::keyClick(&w.rtfMain(), Qt::Key_S, Qt::ControlModifier); }, true, true},
        {"close", [](frmMain& w) { w.menuItem("mnuFileClose")->trigger(); }, false, true},
        {"exit", [](frmMain& w) { w.menuItem("mnuFileExit")->trigger(); }, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        const QString file = path(QString(c.way) + ".TM2");
        TestDatabase::write(file, {{2, 1, "Alpha"}, {3, 1, "Beta"}});
        frmMain& w = start(file);
        click(2);
        typeInEditor("edited ");
        EXPECT_TRUE(w.state().NoteChanged);
        c.leave(w);
        EXPECT_FALSE(w.state().NoteChanged);
        EXPECT_EQ(w.isVisible(), c.windowShown);
        ASSERT_EQ(w.state().DatabaseOpen, c.fileOpen);
        std::string body = c.fileOpen ? std::string() : TestDatabase::storedBody(file, 2);
        if (c.fileOpen) {
            ASSERT_TRUE(w.state().Node.FindKey(NodeKey::Format(2)));
            body = w.state().Node.RTFData();
        }
        EXPECT_NE(body.find("edited Alpha"), std::string::npos);
        finish();
    }
}

TEST_F(FrmMainTest, ANoteThatCannotBeSavedAtExitLetsTheUserStay) {
    TestDatabase::write(path("s.TM2"), {{2, 1, "Alpha"}, {3, 1, "Beta"}});
    frmMain& w = start(path("s.TM2"));
    click(2);
    typeInEditor("unsaved ");
    // The shown note's record goes away behind the window's back.
    ASSERT_TRUE(w.state().Node.FindKey(NodeKey::Format(2)));
    w.state().Node.DeleteNode();
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::No));
    w.close();
    ASSERT_EQ(dialogs_.messages().size(), 1);
    EXPECT_TRUE(dialogs_.messages().last().startsWith("Error in Database: Node not found"));
    EXPECT_EQ(dialogs_.asked().back().buttons, MsgButtons::YesNo);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.state().DatabaseOpen);
    EXPECT_TRUE(w.rtfMain().Text().startsWith("unsaved Alpha"));
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Yes));
    w.close();
    EXPECT_FALSE(w.isVisible());
}

// No settings file, or values that do not parse or fit 16 bits.
TEST_F(FrmMainTest, FirstStartOrBadSettingsUseTheDefaultGeometry) {
    const struct {
        const char* settings;
        bool statusBar;
    } cases[] = {{nullptr, true}, {"[Startup]\nSplit=wide\nToolbars=perhaps\nStatus=0\nWidth=70000\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings ? c.settings : "none");
        if (c.settings) {
            window_.reset();
            settings_.reset();  // writes what it holds before the file is replaced
            writeFile("Tamix.conf", c.settings);
        }
        frmMain& w = start();
        EXPECT_EQ(w.TreeWidth(), 3000);
        EXPECT_EQ(w.pos(), QPoint(0, 0));
        EXPECT_EQ(w.width(), qRound(8000.0 / w.TwipsPerPixelX()));
        EXPECT_EQ(w.height(), qRound(6000.0 / w.TwipsPerPixelY()));
        EXPECT_TRUE(w.ShowToolbars());
        EXPECT_TRUE(w.toolbar1().isVisible());
        EXPECT_EQ(w.ShowStatusBar(), c.statusBar);
        EXPECT_EQ(w.statusBar1().isVisible(), c.statusBar);
        EXPECT_EQ(w.tree().x(), 0);
        EXPECT_EQ(w.tree().width(), 3000 / w.TwipsPerPixelX());
    }
}

TEST_F(FrmMainTest, SettingsAreWrittenAndReadBack) {
    {
        frmMain& w = start();
        w.move(30, 40);
        w.resize(700, 500);
        w.ToggleStatusBar();
        w.Splitter_MouseDown(1, 0);
        w.Splitter_MouseUp(1, 1500);  // a wider tree
        finish();
    }
    Settings s(ini());
    EXPECT_EQ(s.getString("Startup", "Status", ""), "False");
    EXPECT_EQ(s.getString("Startup", "Toolbars", "unset"), "unset");  // written only when toggled
    const int tpp = window_->TwipsPerPixelX();
    EXPECT_EQ(s.getInt16("Startup", "Width", 0), 700 * tpp);
    EXPECT_EQ(s.getInt16("Startup", "Left", -1), 30 * tpp);
    const int split = s.getInt16("Startup", "Split", 0);
    EXPECT_EQ(split, 3000 + 1500);

    frmMain& again = start();
    EXPECT_FALSE(again.ShowStatusBar());
    EXPECT_FALSE(again.statusBar1().isVisible());
    EXPECT_FALSE(again.menuItem("mnuViewStatusBar")->isChecked());
    EXPECT_EQ(again.TreeWidth(), split);
    EXPECT_EQ(again.size(), QSize(700, 500));
    EXPECT_EQ(again.pos(), QPoint(30, 40));
}

TEST_F(FrmMainTest, AMaximisedWindowKeepsItsLastNormalGeometry) {
    frmMain& w = start();
    w.resize(640, 480);
    QApplication::processEvents();
    const int tpp = w.TwipsPerPixelX();
    ASSERT_EQ(settings_->getInt16("Startup", "Width", 0), 640 * tpp);
    w.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(w.windowState() & Qt::WindowMaximized);
    ASSERT_NE(w.width(), 640);  // the screen's size now
    w.LayoutMainWindow();
    finish();
    Settings s(ini());
    EXPECT_EQ(s.getInt16("Startup", "Width", 0), 640 * tpp);
    EXPECT_EQ(s.getInt16("Startup", "Height", 0), 480 * tpp);
}

TEST_F(FrmMainTest, SplitterDropsAreClampedToTheMinimumPanes) {
    frmMain& w = start();
    const int left = 3000;  // the splitter's left edge with the default tree
    w.Splitter_MouseDown(1, 0);
    w.Splitter_MouseMove(1, 30 - left);
    w.Splitter_MouseUp(1, 0);
    EXPECT_EQ(w.TreeWidth(), 60);
    EXPECT_EQ(w.SplitterDragX(), frmMain::kNoDrag);

    const int splitterLeft = 60;
    w.Splitter_MouseDown(1, 0);
    w.Splitter_MouseUp(1, w.ScaleWidth() - 10 - splitterLeft);
    EXPECT_EQ(w.TreeWidth(), w.ScaleWidth() - 60);

    w.Splitter_MouseDown(1, 0);
    w.Splitter_MouseUp(1, 2000 - (w.ScaleWidth() - 60));
    EXPECT_EQ(w.TreeWidth(), 2000);
    EXPECT_EQ(settings_->getInt16("Startup", "Split", 0), 2000);

    w.Splitter_MouseDown(2, 0);  // the right button never drags
    w.Splitter_MouseMove(2, 500);
    w.Splitter_MouseUp(2, 500);
    EXPECT_EQ(w.TreeWidth(), 2000);
}

TEST_F(FrmMainTest, ARealDragOfTheSplitterResizesTheTree) {
    frmMain& w = start();
    SplitterBar& bar = w.splitter();
    const int tpp = w.TwipsPerPixelX();
    const QPoint grip(0, bar.height() / 2);
    QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
    EXPECT_EQ(bar.colour(), QColor(0x80, 0x80, 0x80));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, grip.y()), bar.mapToGlobal(QPointF(40, grip.y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &move);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(0, grip.y()));
    EXPECT_EQ(w.TreeWidth(), 3000 + 40 * tpp);
    EXPECT_FALSE(bar.colour().isValid());
    EXPECT_EQ(w.rtfMain().x(), w.tree().width() + 2);
}

TEST_F(FrmMainTest, HidingTheToolbarsMovesThePanesUp) {
    frmMain& w = start();
    const int withToolbars = w.tree().y();
    EXPECT_GT(withToolbars, 0);
    w.ToggleToolbars();
    EXPECT_FALSE(w.toolbar1().isVisible());
    EXPECT_EQ(w.tree().y(), 0);  // at the border
    EXPECT_EQ(settings_->getString("Startup", "Toolbars", ""), "False");
    w.ToggleToolbars();
    EXPECT_EQ(w.tree().y(), withToolbars);
    EXPECT_EQ(w.toolbar2().y(), w.toolbar1().height());
}

TEST_F(FrmMainTest, AlwaysOnTopTogglesTheButtonsAndIsDroppedAroundDialogs) {
    frmMain& w = start();
    const WId id = w.winId();
    struct HideCounter : QObject {
        int hides = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            hides += e->type() == QEvent::Hide;
            return false;
        }
    } counter;
    w.installEventFilter(&counter);
    w.toolbarButton("top")->trigger();
    EXPECT_TRUE(w.AlwaysOnTop());
    EXPECT_TRUE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w.toolbarButton("top")->isEnabled());
    EXPECT_TRUE(w.toolbarButton("notop")->isEnabled());
    EXPECT_TRUE(w.menuItem("mnuViewAlwaysOnTop")->isChecked());
    dialogs_.answer(ScriptedAnswer::Cancel(DialogKind::OpenFile));
    w.menuItem("mnuFileOpen")->trigger();
    EXPECT_TRUE(dialogs_.asked().back().topmostDropped);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    w.menuItem("mnuViewAlwaysOnTop")->trigger();
    EXPECT_FALSE(w.AlwaysOnTop());
    EXPECT_FALSE(w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.toolbarButton("top")->isEnabled());
    // Only the stacking changed: the same platform window, never hidden.
    EXPECT_EQ(w.winId(), id);
    EXPECT_EQ(counter.hides, 0);
    EXPECT_TRUE(w.isVisible());
    w.removeEventFilter(&counter);
}

TEST_F(FrmMainTest, HelpShowsTheUserGuideOnF1) {
    frmMain& w = start();
    QTest::keyClick(&w, Qt::Key_F1);
    ASSERT_EQ(dialogs_.helpShown().size(), 1);
    QFile guide(dialogs_.helpShown().first());
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(guide.readAll().contains("Tamix User Guide"));
    w.toolbarButton("help")->trigger();
    EXPECT_EQ(dialogs_.helpShown().size(), 2);
    QSignalSpy unloaded(&w, &frmMain::Unloaded);  // which ends the program, help and all
    w.close();
    EXPECT_EQ(unloaded.count(), 1);
}

TEST_F(FrmMainTest, AStorageErrorIsReportedWithTheCriticalIcon) {
    frmMain& w = start();
    dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, writeFile("junk.TM2", QByteArray(4096, '\x7f'))));
    answer(MsgAnswer::Ok);
    trigger("mnuFileOpen");
    EXPECT_EQ(dialogs_.asked().back().icon, MsgIcon::Critical);
    EXPECT_FALSE(w.state().DatabaseOpen);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_TRUE(w.clientArea().isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FrmMainTest, ACommandLineMessageOpensTheFileAndAnEmptyOneOpensNothing) {
    TestDatabase::write(path("sent.TM2"), {{2, 1, "Sent"}});
    frmMain& w = start();
    sendCommandLine(QFile::encodeName(path("sent.TM2")));
    EXPECT_TRUE(w.state().DatabaseOpen);
    EXPECT_EQ(w.state().RecentFiles[0], path("sent.TM2"));

    sendCommandLine(QByteArray(1, '\0'));
    EXPECT_EQ(w.state().CurrentFileName, path("sent.TM2"));

    answer(MsgAnswer::Ok);
    w.ParseCommand(path("absent.TM2"));
    EXPECT_EQ(dialogs_.messages().value(0), path("absent.TM2") + " was not found");
    EXPECT_EQ(w.state().CurrentFileName, path("sent.TM2"));

    // A name code page 1252 cannot hold comes in UTF-8, marked as such.
    TestDatabase::write(path("日記.TM2"), {{2, 1, "Diary"}});
    sendCommandLine(path("日記.TM2").toUtf8(), CommandMessage::kUtf8Text);
    EXPECT_EQ(w.state().CurrentFileName, path("日記.TM2"));
}

TEST_F(FrmMainTest, AMissingCommandLineFileIgnoresTheStartupFile) {
    TestDatabase::write(path("startup.TM2"), {{2, 1, "Start"}});
    seed("Startup", "FileName", path("startup.TM2"));
    answer(MsgAnswer::Ok);
    frmMain& w = start(path("no such file.TM2"));
    EXPECT_EQ(dialogs_.messages().value(0), path("no such file.TM2") + " was not found");
    EXPECT_FALSE(w.state().DatabaseOpen);
    frmMain& again = start();
    EXPECT_TRUE(again.state().DatabaseOpen);
    EXPECT_EQ(again.state().CurrentFileName, path("startup.TM2"));
}

TEST_F(FrmMainTest, ArrowKeysWalkTheTreeAndKeepItsFocusWhileNotesLoad) {
    TestDatabase::write(path("k.TM2"), {{2, 1, "Alpha"}, {3, 1, "Beta"}, {4, 1, "Gamma"}});
    frmMain& w = start(path("k.TM2"));
    QTest::keyClick(&w.tree(), Qt::Key_Down);
    EXPECT_EQ(w.state().ShownKey, "k0000000002");
    EXPECT_TRUE(w.tree().hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(w.state().ShownKey, "k0000000003");
    EXPECT_EQ(w.rtfMain().Text().trimmed(), "Beta");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FrmMainTest, CtrlTabMovesBetweenTreeAndEditor) {
    TestDatabase::write(path("t.TM2"), {{2, 1, "Alpha"}});
    frmMain& w = start(path("t.TM2"));
    click(2);
    w.tree().setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(w.EditorActive());
    QTest::keyClick(&w.tree(), Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(w.rtfMain().hasFocus());
    EXPECT_TRUE(w.EditorActive());
    QTest::keyClick(&w.rtfMain(), Qt::Key_Tab, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(w.tree().hasFocus());
    EXPECT_FALSE(w.EditorActive());
}

TEST_F(FrmMainTest, TheFontBoxNamesTheNotesOwnFont) {
    TestDatabase::write(path("f.TM2"),
                        {{2, 1, "Old", "{\\rtf1\\ansi{\\fonttbl{\\f0 MS Sans Serif;}}\\f0\\fs16 old\\par}"}});
    frmMain& w = start(path("f.TM2"));
    click(2);
    w.rtfMain().setFocus();  // the boxes show the selection while the editor side is active
    QApplication::processEvents();
    EXPECT_EQ(w.toolbars().fontBox()->currentText(), "MS Sans Serif");
    EXPECT_EQ(w.toolbars().fontBox()->findText("[", Qt::MatchContains), -1);
}

}  // namespace
}  // namespace tamix
