// Links in a note written on Windows, through the real main window: the
// positions count each paragraph break as two characters, hovering shows
// the target, a double-click follows it, and the table is written back.

#include "links/link_editor_events.h"
#include "shell/features.h"
#include "shell/main_menus.h"
#include "storage/c_node.h"
#include "testing/main_window_fixture.h"

#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <functional>

namespace tamix {
namespace {

class FrmMainLinksTest : public MainWindowFixture {
protected:
    // "Alpha" (2) holds "first / second / see Beta here" with "Beta" a link
    // to note 3 after two paragraphs; "Beta" (3) is plain.
    QString sample() {
        const QString file = path("links.TM2");
        TestDatabase::write(file, {{2, 1, "Alpha",
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 MS Sans Serif;}}{\\colortbl;\\red0\\green0\\blue255;}"
                                    "\\f0\\fs16 first\\par second\\par see \\cf1\\ul\\protect Beta\\protect0\\ulnone\\cf0  "
                                    "here\\par}"},
                                   {3, 1, "Beta"}});
        writeLinks(file, 1, [](int) { return LinkEntry{19, 23, "Beta", "Note:k0000000003"}; });
        return file;
    }
    // Gives Alpha in the closed `file` `count` links, link i being make(i).
    static void writeLinks(const QString& file, int count, const std::function<LinkEntry(int)>& make) {
        cNode node;
        node.OpenFile(QFile::encodeName(file).toStdString());
        ASSERT_TRUE(node.FindKey("k0000000002"));
        node.LinkCount(count);
        for (int i = 1; i <= count; ++i) {
            const LinkEntry e = make(i);
            node.LinkStart(i, e.LinkStart);
            node.LinkEnd(i, e.LinkEnd);
            node.LinkText(i, e.LinkText.toStdString());
            node.LinkLink(i, e.LinkLink.toStdString());
        }
        node.SaveNode();
        node.CloseFile();
    }
    // The drawing-area point of the middle of editor character `position`.
    QPoint charPoint(int position) {
        controls::RichTextBox& editor = window_->rtfMain();
        for (int y = 0; y < editor.viewport()->height(); y += 2) {
            int first = -1, last = -1;  // the run of points nearest that character
            for (int x = 0; x < editor.viewport()->width(); ++x) {
                if (editor.CharFromPos(QPoint(x, y)) != position) continue;
                if (first < 0) first = x;
                last = x;
            }
            if (first >= 0) return QPoint((first + last) / 2, y);
        }
        ADD_FAILURE() << "no point for character " << position;
        return {};
    }
};

TEST_F(FrmMainLinksTest, ALinkAfterParagraphsHoversFollowsAndIsWrittenBack) {
    frmMain& w = start(sample());
    click(2);
    controls::RichTextBox& editor = w.rtfMain();
    ASSERT_EQ(editor.Text().mid(19, 4), "Beta");
    ASSERT_EQ(w.state().Links.Count(), 1);

    QTest::mouseMove(editor.viewport(), charPoint(20));
    EXPECT_EQ(w.statusBar1().currentMessage(), "Note:k0000000003");
    QTest::mouseMove(editor.viewport(), charPoint(2));
    EXPECT_EQ(w.statusBar1().currentMessage(), "");
    editor.setFocus();
    QTest::mouseMove(editor.viewport(), charPoint(23));  // the character just after the link
    EXPECT_EQ(w.statusBar1().currentMessage(), "Note:k0000000003");
    w.tree().setFocus();  // leaving the editor clears the status bar
    QApplication::processEvents();
    EXPECT_EQ(w.statusBar1().currentMessage(), "");

    editor.setFocus();
    editor.setSelStart(0);
    QTest::keyClicks(&editor, "ok ");  // moves the link by three
    EXPECT_EQ(w.state().Links[1].LinkStart, 22);
    const QPoint onLink = charPoint(23);
    QTest::mouseMove(editor.viewport(), onLink);
    QTest::mouseDClick(editor.viewport(), Qt::LeftButton, {}, onLink);
    EXPECT_EQ(w.state().ShownKey, "k0000000003");  // followed, Alpha saved first
    EXPECT_EQ(tree().SelectedItem(), node(3));

    trigger("mnuFileClose");
    cNode stored;
    stored.OpenFile(QFile::encodeName(path("links.TM2")).toStdString());
    ASSERT_TRUE(stored.FindKey("k0000000002"));
    ASSERT_EQ(stored.LinkCount(), 1);
    EXPECT_EQ(stored.LinkStart(1), 22);
    EXPECT_EQ(stored.LinkEnd(1), 26);
    EXPECT_NE(stored.RTFData().find("ok first"), std::string::npos);
    stored.CloseFile();
}

TEST_F(FrmMainLinksTest, ABadLinkTableLoadsWithoutHarmAndIsNotRewritten) {
    const QString file = sample();
    // 150 links: past the end, overlapping, a note key of the wrong length.
    writeLinks(file, 150, [](int i) {
        const int start = i % 3 == 0 ? 1000000 + i : i % 7;
        return LinkEntry{start, start + 4, "Beta", i % 2 ? "Note:k12" : "Note:k0000000003"};
    });
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    frmMain& w = start(file);
    click(2);
    EXPECT_EQ(w.state().Links.Count(), 150);
    controls::RichTextBox& editor = w.rtfMain();
    for (int y = 0; y < editor.viewport()->height(); y += 7)
        for (int x = 0; x < editor.viewport()->width(); x += 11) QTest::mouseMove(editor.viewport(), QPoint(x, y));
    for (int i = 1; i <= 150; i += 17) w.features().linkEvents().FollowLink(i);  // beeps or shows Beta
    click(3);
    click(2);
    trigger("mnuFileClose");
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);  // nothing was edited, so nothing was written
}

TEST_F(FrmMainLinksTest, ARightClickInTheEditorShowsTheEditMenu) {
    frmMain& w = start(sample());
    click(2);
    QTest::mouseClick(w.rtfMain().viewport(), Qt::RightButton, {}, charPoint(2));
    QMenu* edit = w.menus().menu("mnuEdit");
    EXPECT_TRUE(edit->isVisible());
    edit->hide();
}

}  // namespace
}  // namespace tamix
