// Drops into the note editor through the real main window: the link table
// matches the text after every drop.

#include "editor/editor_drop.h"

#include "controls/rich_text_box.h"
#include "links/link_table_fixture.h"
#include "testing/main_window_fixture.h"

#include <QDropEvent>
#include <QMimeData>

namespace tamix {
namespace {

class EditorDropTest : public MainWindowFixture {
protected:
    // Note 2 shown, holding "one Beta two Gamma three" with links on Beta
    // (4) and Gamma (13).
    controls::RichTextBox& withLinks() {
        const QString file = path(QStringLiteral("drop.TM2"));
        const char* link = "\\cf1\\ul\\protect ";
        const char* plain = "\\protect0\\ulnone\\cf0 ";
        const std::string body = std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}"
                                             "\\f0\\fs20 one ") +
                                 link + "Beta" + plain + " two " + link + "Gamma" + plain + " three\\par}";
        TestDatabase::write(file, {{2, 1, "Alpha", body.c_str()}});
        TestDatabase::setLinks(file, 2, {{4, "Beta", "http://b"}, {13, "Gamma", "http://g"}});
        start(file);
        click(2);
        EXPECT_EQ(window_->state().Links.Count(), 2);
        return window_->rtfMain();
    }
    // Drops `data` at the editor's `position`, as a drag from elsewhere does.
    void drop(controls::RichTextBox& editor, int position, const QMimeData& data) {
        QTextCursor c(editor.document());
        c.setPosition(editor.toDocumentPosition(position));
        const QPoint point = editor.cursorRect(c).center();
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &enter);  // a drop goes only where a drag entered
        QDropEvent event(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &event);
    }
    // Moves the selection (start, length) as a drag with the mouse would.
    void move(controls::RichTextBox& editor, int start, int length, int position) {
        editor.select(start, length);
        QMimeData unused;  // the moved text is read from the selection
        bool handled = false;
        emit editor.DropData(&unused, position, true, handled);
        EXPECT_TRUE(handled);
    }
    // The table matches the text, and only the table's links are protected.
    ::testing::AssertionResult consistent() {
        const controls::RichTextBox& editor = window_->rtfMain();
        const LinkTable& links = window_->state().Links;
        const QString text = editor.Text();
        for (int p = 0; p < text.size(); ++p) {
            if (text[p] == '\r' || text[p] == '\n') continue;  // a paragraph break holds no text
            bool inLink = false;
            for (const LinkEntry& e : links.entries()) inLink = inLink || (e.LinkStart <= p && p < e.LinkEnd);
            if (editor.WhollyProtected(p, 1) != inLink)
                return ::testing::AssertionFailure() << "protection at " << p << " is " << !inLink;
        }
        return LinksMatchText(links, text);
    }
};

TEST_F(EditorDropTest, DroppedTextIsOrdinaryTextAndCannotLandInsideALink) {
    controls::RichTextBox& editor = withLinks();
    editor.select(4, 4);
    // Rich text that marks the link protected, as the editor's own RTF does.
    const std::unique_ptr<QMimeData> link(editor.selectionMimeData());
    drop(editor, 9, *link);
    EXPECT_EQ(editor.Text(), "one Beta Betatwo Gamma three");
    EXPECT_EQ(window_->state().Links[2].LinkStart, 17);
    EXPECT_TRUE(consistent());
    EXPECT_TRUE(window_->state().NoteChanged);

    QMimeData text;
    text.setText(QStringLiteral("new\nline "));
    drop(editor, 0, text);
    EXPECT_EQ(editor.Text(), "new\r\nline one Beta Betatwo Gamma three");
    EXPECT_TRUE(consistent());

    const QString before = editor.Text();
    drop(editor, 16, text);  // between "Be" and "ta"
    EXPECT_EQ(editor.Text(), before);
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_TRUE(consistent());
}

TEST_F(EditorDropTest, MovedTextTakesItsPlaceAndMovedLinksBecomeOrdinaryText) {
    controls::RichTextBox& editor = withLinks();
    move(editor, 0, 4, 12);  // "one " after "two"
    EXPECT_EQ(editor.Text(), "Beta twoone  Gamma three");
    EXPECT_EQ(window_->state().Links.Count(), 2);
    EXPECT_TRUE(consistent());

    move(editor, 12, 3, 4);  // " Ga", grown to the whole link, after "Beta"
    EXPECT_EQ(editor.Text(), "Beta Gamma twoone  three");
    EXPECT_EQ(window_->state().Links.Count(), 1);
    EXPECT_EQ(window_->state().Links[1].LinkText, "Beta");
    EXPECT_TRUE(consistent());

    const QString before = editor.Text();
    move(editor, 0, 6, 3);  // onto itself
    EXPECT_EQ(editor.Text(), before);
    EXPECT_TRUE(consistent());
}

}  // namespace
}  // namespace tamix
