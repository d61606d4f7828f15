// Links through the real main window: the Hyperlink dialog (answered by
// scripts that act on the real form), Detect Links, and a table written on
// Windows, whose positions count each paragraph break as two characters.

#include "links/frm_link.h"
#include "links/link_editor_events.h"
#include "links/link_handler.h"
#include "links/link_table_fixture.h"
#include "shell/features.h"
#include "shell/main_menus.h"
#include "storage/c_node.h"
#include "testing/shell_fixture.h"

#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <string>

namespace tamix {
namespace {

class LinksWindowTest : public ShellFixture {
protected:
    static QString noteLink(int number) { return QStringLiteral("Note:") + keyOf(number); }
    // Writes Zed(4), Alpha(2){Child(5)}, Beta(3) with Alpha's body `rtf` and
    // link table `table`; answers the file.
    QString writeNotes(const std::string& rtf, const std::vector<LinkEntry>& table = {}) {
        const QString file = path("links.TM2");
        TestDatabase::write(file, {{4, 1, "Zed"}, {2, 1, "Alpha", rtf.c_str()}, {3, 1, "Beta"}, {5, 2, "Child"}});
        cNode node;
        node.OpenFile(QFile::encodeName(file).toStdString());
        node.FindKey("k0000000002");
        node.LinkCount(static_cast<int>(table.size()));
        for (int i = 1; i <= static_cast<int>(table.size()); ++i) {
            node.LinkStart(i, table[i - 1].LinkStart);
            node.LinkEnd(i, table[i - 1].LinkEnd);
            node.LinkText(i, table[i - 1].LinkText.toStdString());
            node.LinkLink(i, table[i - 1].LinkLink.toStdString());
        }
        node.SaveNode();
        node.CloseFile();
        return file;
    }
    // Alpha with a body written on Windows: "first / second / see Beta here"
    // with "Beta" a link to note 3 after two paragraphs.
    QString writeWindowsNotes(std::vector<LinkEntry> table = {{19, 23, "Beta", "Note:k0000000003"}}) {
        return writeNotes("{\\rtf1\\ansi{\\fonttbl{\\f0 MS Sans Serif;}}{\\colortbl;\\red0\\green0\\blue255;}"
                          "\\f0\\fs16 first\\par second\\par see \\cf1\\ul\\protect Beta\\protect0\\ulnone\\cf0  "
                          "here\\par}",
                          table);
    }
    // Shows Alpha with the editor side active.
    void showAlpha(const QString& file) {
        start(file);
        click(2);
        ASSERT_EQ(window_->state().ShownKey, keyOf(2));
        // Hyperlink is an editing command: the editor side must be active.
        window_->rtfMain().setFocus();
        QApplication::processEvents();
    }
    // Writes the notes with Alpha's body `text` and shows Alpha.
    void startOn(const char* text) { showAlpha(writeNotes(TestDatabase::rtfOf(text))); }
    // The drawing-area point of the middle of editor character `position`.
    QPoint charPoint(int position) {
        for (int y = 0; y < editor().viewport()->height(); y += 2) {
            int first = -1, last = -1;  // the run of points nearest that character
            for (int x = 0; x < editor().viewport()->width(); ++x) {
                if (editor().CharFromPos(QPoint(x, y)) != position) continue;
                if (first < 0) first = x;
                last = x;
            }
            if (first >= 0) return QPoint((first + last) / 2, y);
        }
        ADD_FAILURE() << "no point for character " << position;
        return {};
    }

    controls::RichTextBox& editor() { return window_->rtfMain(); }
    const LinkTable& links() { return window_->state().Links; }
    LinkHandler& handler() { return window_->features().links(); }
    // Makes the characters [start, start + length) a link to `target`.
    void makeLink(int start, int length, const QString& target) {
        editor().select(start, length);
        ASSERT_TRUE(handler().SetLink(editor().SelText(), target));
    }

    // Runs Edit > Hyperlink; `script` is what the user does in the form.
    void hyperlink(const std::function<void(frmLink&)>& script) {
        dialogs_.answer(ScriptedAnswer::Form([&](QDialog& form) {
            form_ = qobject_cast<frmLink*>(&form);
            ASSERT_NE(form_, nullptr);
            script(*form_);
        }));
        trigger("mnuHyperLink");
        form_ = nullptr;
    }
    QLineEdit* box(const char* name) { return form_->findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* button(const char* name) { return form_->findChild<QPushButton*>(QLatin1String(name)); }
    controls::TreeView* formTree() { return form_->findChild<controls::TreeView*>(QStringLiteral("tree")); }
    QWidget* formFocus() { return form_->focusWidget(); }

    frmLink* form_ = nullptr;  // the open form, inside hyperlink()
};

// True when the subtrees below `a` and `b` have the same keys and labels in
// the same order.
bool sameTree(const controls::Node* a, const controls::Node* b) {
    if (a->Key() != b->Key() || a->Text() != b->Text() || a->Children() != b->Children()) return false;
    for (auto *x = a->Child(), *y = b->Child(); x; x = x->Next(), y = y->Next())
        if (!sameTree(x, y)) return false;
    return true;
}

TEST_F(LinksWindowTest, SelectedAddressFillsBothBoxesAndOkLinksItToItself) {
    startOn("see http://a.com now");
    window_->SetAlwaysOnTop(true);
    editor().select(4, 12);
    hyperlink([&](frmLink& f) {
        EXPECT_EQ(f.windowTitle(), "Hyperlink");
        EXPECT_EQ(box("txtText")->text(), "http://a.com");
        EXPECT_EQ(box("txtLink")->text(), "http://a.com");
        EXPECT_FALSE(button("btnDelete")->isEnabled());
        EXPECT_EQ(formFocus(), box("txtText"));
        button("btnOK")->click();
    });
    EXPECT_TRUE(dialogs_.asked().back().topmostDropped);
    EXPECT_TRUE(window_->AlwaysOnTop());
    ASSERT_EQ(links().Count(), 1);
    EXPECT_EQ(links()[1], (LinkEntry{4, 16, "http://a.com", "http://a.com"}));
    EXPECT_TRUE(LinksMatchText(links(), editor().Text()));
    EXPECT_TRUE(window_->state().NoteChanged);
    EXPECT_EQ(handler().EditingLink(), 0);
    EXPECT_EQ(window_->focusWidget(), &editor());
}

TEST_F(LinksWindowTest, CaretInsideALinkEditsThatLinkWithoutAddingOne) {
    startOn("go site now or home");
    makeLink(15, 4, "http://home");
    makeLink(3, 4, "http://old");
    editor().setSelStart(5);
    hyperlink([&](frmLink&) {
        EXPECT_EQ(editor().SelStart(), 3);
        EXPECT_EQ(editor().SelLength(), 4);
        EXPECT_EQ(box("txtText")->text(), "site");
        EXPECT_EQ(box("txtLink")->text(), "http://old");
        EXPECT_TRUE(button("btnDelete")->isEnabled());
        EXPECT_EQ(handler().EditingLink(), 2);
        box("txtLink")->setText("http://new");
        button("btnOK")->click();
    });
    ASSERT_EQ(links().Count(), 2);
    EXPECT_EQ(links()[2], (LinkEntry{3, 7, "site", "http://new"}));
    EXPECT_EQ(links()[1].LinkLink, "http://home");
    EXPECT_TRUE(LinksMatchText(links(), editor().Text()));
}

TEST_F(LinksWindowTest, DeleteMakesTheLinkOrdinaryText) {
    startOn("go site now");
    makeLink(3, 4, "http://old");
    window_->state().NoteChanged = false;
    editor().setSelStart(4);
    hyperlink([&](frmLink&) { button("btnDelete")->click(); });
    EXPECT_EQ(links().Count(), 0);
    EXPECT_TRUE(window_->state().NoteChanged);
    editor().select(3, 4);
    EXPECT_EQ(editor().SelText(), "site");
    EXPECT_EQ(editor().SelProtected(), controls::Tristate::Off);
    EXPECT_EQ(editor().SelUnderline(), controls::Tristate::Off);
}

TEST_F(LinksWindowTest, PrefixButtonsPrependOnceAndSelectTheRest) {
    startOn("write to me");
    hyperlink([&](frmLink&) {
        QLineEdit* target = box("txtLink");
        target->setText("bob");
        button("btnMailTo")->click();
        EXPECT_EQ(target->text(), "mailto:bob");
        EXPECT_EQ(target->selectedText(), "bob");
        EXPECT_EQ(formFocus(), target);
        button("btnMailTo")->click();
        EXPECT_EQ(target->text(), "mailto:bob");
        button("btnHTTP")->click();
        EXPECT_EQ(target->text(), "http://mailto:bob");
        EXPECT_EQ(target->selectedText(), "mailto:bob");
        button("btnCancel")->click();
    });
    EXPECT_EQ(links().Count(), 0);
    EXPECT_EQ(editor().Text().left(11), "write to me");
}

TEST_F(LinksWindowTest, BlankTextOrTargetIsRefusedAndTheFormStaysOpen) {
    startOn("write to me");
    hyperlink([&](frmLink& f) {
        answer(MsgAnswer::Ok);
        answer(MsgAnswer::Cancel);
        box("txtText")->setText("   ");
        box("txtLink")->setText("http://x");
        button("btnOK")->click();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(formFocus(), box("txtText"));
        box("txtText")->setText("x");
        box("txtLink")->setText("  ");
        button("btnOK")->click();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(formFocus(), box("txtLink"));
        button("btnCancel")->click();
    });
    EXPECT_EQ(dialogs_.messages(), (QStringList{"Text cannot be blank", "Link cannot be blank"}));
    ASSERT_EQ(dialogs_.asked().size(), 3u);
    EXPECT_EQ(dialogs_.asked()[1].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(links().Count(), 0);
    EXPECT_FALSE(window_->state().NoteChanged);
}

TEST_F(LinksWindowTest, SelectLinksTheNotePickedInACopyOfTheTree) {
    startOn("see Child");
    editor().select(4, 5);
    hyperlink([&](frmLink&) {
        controls::TreeView* copy = formTree();
        ASSERT_NE(copy, nullptr);
        ASSERT_EQ(copy->Nodes().Count(), tree().Nodes().Count());
        EXPECT_TRUE(sameTree(copy->Nodes().Item(1), tree().Nodes().Item(1)));
        EXPECT_TRUE(copy->Nodes().Item(1)->Expanded());
        EXPECT_EQ(copy->SelectedItem(), copy->Nodes().Item(1));
        copy->setSelectedItem(copy->Nodes().Find(keyOf(5)));
        button("btnSelect")->click();
        EXPECT_EQ(box("txtLink")->text(), noteLink(5));
        EXPECT_EQ(formFocus(), button("btnOK"));
        button("btnOK")->click();
    });
    ASSERT_EQ(links().Count(), 1);
    EXPECT_EQ(links()[1], (LinkEntry{4, 9, "Child", noteLink(5)}));
}

TEST_F(LinksWindowTest, NoteLinkOpensOnItsNoteWithTheTreeFocused) {
    const struct {
        QString target;
        bool noteMode;
        int selected;  // key of the node selected in the form's tree
    } cases[] = {{noteLink(3), true, 3}, {noteLink(999), false, 1}};
    startOn("go to Beta now");
    makeLink(6, 4, QString());
    for (const auto& c : cases) {
        window_->state().Links[1].LinkLink = c.target;
        editor().setSelStart(7);
        hyperlink([&](frmLink& f) {
            EXPECT_EQ(f.NoteMode(), c.noteMode);
            EXPECT_EQ(formTree()->SelectedItem()->Key(), keyOf(c.selected));
            EXPECT_EQ(formFocus(), c.noteMode ? static_cast<QWidget*>(formTree()) : box("txtText"));
            button("btnCancel")->click();
        });
        EXPECT_EQ(handler().EditingLink(), 0) << c.target.toStdString();
        EXPECT_EQ(links()[1].LinkLink, c.target);
    }
}

TEST_F(LinksWindowTest, FormClosedByTheWindowManagerEndsTheEditing) {
    startOn("go site now");
    makeLink(3, 4, "http://old");
    editor().setSelStart(4);
    hyperlink([&](frmLink&) { EXPECT_EQ(handler().EditingLink(), 1); });  // left open: closed by the script's end
    EXPECT_EQ(handler().EditingLink(), 0);
    editor().select(8, 3);
    ASSERT_TRUE(handler().SetLink("now", "http://now"));
    EXPECT_EQ(links().Count(), 2);
    EXPECT_EQ(links()[1].LinkLink, "http://old");
}

TEST_F(LinksWindowTest, DetectLinksKeepsTheTextAndAddsNothingTheSecondTime) {
    startOn("see http://a.com, and (http://b.org) end mailto:x@y");
    const QString before = editor().Text();
    editor().setSelStart(2);
    trigger("mnuToolsLinks");
    ASSERT_EQ(links().Count(), 3);
    EXPECT_EQ(editor().Text(), before);
    EXPECT_EQ(editor().SelStart(), 2);
    EXPECT_TRUE(window_->clientArea().isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    const std::vector<LinkEntry> first = links().entries();
    trigger("mnuToolsLinks");
    EXPECT_EQ(links().entries(), first);

    click(3);  // the table is saved with the note and read back with it
    click(2);
    EXPECT_EQ(links().entries(), first);
    EXPECT_TRUE(LinksMatchText(links(), editor().Text()));
}

TEST_F(LinksWindowTest, DetectLinksAfterEditingALinkLeavesThatEntry) {
    startOn("home http://a.b and http://c.d");
    makeLink(0, 4, "http://x");
    editor().setSelStart(2);
    hyperlink([&](frmLink&) {
        box("txtLink")->setText("http://y");
        button("btnOK")->click();
    });
    trigger("mnuToolsLinks");
    ASSERT_EQ(links().Count(), 3);
    EXPECT_EQ(links()[1], (LinkEntry{0, 4, "home", "http://y"}));
    EXPECT_EQ(links()[2].LinkText, "http://a.b");
    EXPECT_EQ(links()[3].LinkText, "http://c.d");
    EXPECT_TRUE(LinksMatchText(links(), editor().Text()));
}

TEST_F(LinksWindowTest, CommandsNeedAShownNoteAndHyperlinkRoomInTheTable) {
    QByteArray body;
    for (int i = 0; i < LinkTable::kMaxLinks; ++i) body += "http://n" + QByteArray::number(i) + " ";
    startOn(body.constData());
    EXPECT_TRUE(window_->menuItem("mnuHyperLink")->isEnabled());
    EXPECT_TRUE(window_->menuItem("mnuToolsLinks")->isEnabled());
    trigger("mnuToolsLinks");
    EXPECT_EQ(links().Count(), LinkTable::kMaxLinks);
    EXPECT_FALSE(window_->menuItem("mnuHyperLink")->isEnabled());
    EXPECT_TRUE(window_->menuItem("mnuToolsLinks")->isEnabled());
    click(1);
    EXPECT_FALSE(window_->menuItem("mnuHyperLink")->isEnabled());
    EXPECT_FALSE(window_->menuItem("mnuToolsLinks")->isEnabled());
}

TEST_F(LinksWindowTest, ALinkAfterParagraphsHoversFollowsAndIsWrittenBack) {
    showAlpha(writeWindowsNotes());
    ASSERT_EQ(editor().Text().mid(19, 4), "Beta");
    ASSERT_EQ(links().Count(), 1);
    tree().setFocus();
    QApplication::processEvents();

    QStatusBar& status = window_->statusBar1();
    QTest::mouseMove(editor().viewport(), charPoint(20));
    EXPECT_EQ(status.currentMessage(), "Note:k0000000003");
    QTest::mouseMove(editor().viewport(), charPoint(2));
    EXPECT_EQ(status.currentMessage(), "");
    editor().setFocus();
    QTest::mouseMove(editor().viewport(), charPoint(23));  // the character just after the link
    EXPECT_EQ(status.currentMessage(), "Note:k0000000003");
    tree().setFocus();  // leaving the editor clears the status bar
    QApplication::processEvents();
    EXPECT_EQ(status.currentMessage(), "");

    editor().setFocus();
    editor().setSelStart(0);
    QTest::keyClicks(&editor(), "ok ");  // moves the link by three
    EXPECT_EQ(links()[1].LinkStart, 22);
    const QPoint onLink = charPoint(23);
    QTest::mouseMove(editor().viewport(), onLink);
    QTest::mouseDClick(editor().viewport(), Qt::LeftButton, {}, onLink);
    EXPECT_EQ(window_->state().ShownKey, "k0000000003");  // followed, Alpha saved first
    EXPECT_EQ(tree().SelectedItem(), node(3));

    trigger("mnuFileClose");
    cNode stored;
    stored.OpenFile(QFile::encodeName(path("links.TM2")).toStdString());
    ASSERT_TRUE(stored.FindKey("k0000000002"));
    ASSERT_EQ(stored.LinkCount(), 1);
    EXPECT_EQ(stored.LinkStart(1), 22);
    EXPECT_EQ(stored.LinkEnd(1), 26);
    EXPECT_NE(stored.RTFData().find("ok first"), std::string::npos);
}

TEST_F(LinksWindowTest, ABadLinkTableLoadsWithoutHarmAndIsNotRewritten) {
    std::vector<LinkEntry> bad;  // past the end, overlapping, a note key of the wrong length
    for (int i = 1; i <= 150; ++i) {
        const int start = i % 3 == 0 ? 1000000 + i : i % 7;
        bad.push_back({start, start + 4, "Beta", i % 2 ? "Note:k12" : "Note:k0000000003"});
    }
    QFile file(writeWindowsNotes(bad));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();

    showAlpha(file.fileName());
    EXPECT_EQ(links().Count(), 150);
    for (int y = 0; y < editor().viewport()->height(); y += 7)
        for (int x = 0; x < editor().viewport()->width(); x += 11) QTest::mouseMove(editor().viewport(), QPoint(x, y));
    for (int i = 1; i <= 150; i += 17) window_->features().linkEvents().FollowLink(i);  // beeps or shows Beta
    click(3);
    click(2);
    trigger("mnuFileClose");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);  // nothing was edited, so nothing was written
}

TEST_F(LinksWindowTest, ARightClickInTheEditorShowsTheEditMenu) {
    showAlpha(writeWindowsNotes());
    QTest::mouseClick(editor().viewport(), Qt::RightButton, {}, charPoint(2));
    QMenu* edit = window_->menus().menu("mnuEdit");
    EXPECT_TRUE(edit->isVisible());
    edit->hide();
}

}  // namespace
}  // namespace tamix
