// The clipboard commands through the real main window, with the scripted
// clipboard (and once with the desktop's): after every case the link table
// still matches the note's text.

#include "editor/clipboard_commands.h"
#include "editor/clipboard_content.h"

#include "dialogs/qt_clipboard.h"
#include "links/link_table_fixture.h"
#include "rtf/rtf_reader.h"
#include "testing/main_window_fixture.h"

#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

namespace tamix {
namespace {

constexpr quint32 kLinkBlue = 0xFF0000;  // 0x00BBGGRR

class ClipboardCommandsTest : public MainWindowFixture {
protected:
    // Note 2 shown and the editor active, holding "see Beta and Gamma here"
    // with Beta (4) and Gamma (13) links.
    controls::RichTextBox& withLinks() {
        const QString file = path(QStringLiteral("clip%1.TM2").arg(++files_));
        TestDatabase::write(file, {{2, 1, "Alpha",
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}"
                                    "\\f0\\fs20 see \\cf1\\ul\\protect Beta\\protect0\\ulnone\\cf0  and "
                                    "\\cf1\\ul\\protect Gamma\\protect0\\ulnone\\cf0  here\\par}"},
                                   {3, 1, "Other"}});
        TestDatabase::setLinks(file, 2, {{4, "Beta", "http://example.org/Beta"}, {13, "Gamma", "http://example.org/Gamma"}});
        start(file);
        click(2);
        controls::RichTextBox& editor = window_->rtfMain();
        editor.setFocus();
        editor.setSelStart(0);
        return editor;
    }
    ScriptedClipboard& clipboard() { return dialogs_.scriptedClipboard(); }
    int files_ = 0;  // databases written so far
    const LinkTable& links() { return window_->state().Links; }
    ::testing::AssertionResult consistent() { return LinksMatchText(links(), window_->rtfMain().Text()); }
};

TEST_F(ClipboardCommandsTest, CopyOfPartOfALinkCopiesItWholeAndPastesAsOrdinaryText) {
    controls::RichTextBox& editor = withLinks();
    window_->state().NoteChanged = false;
    editor.select(5, 2);  // "et"
    trigger("mnuEditCopy");
    EXPECT_EQ(clipboard().mimeData()->text(), "Beta");
    EXPECT_TRUE(window_->state().NoteChanged);
    EXPECT_EQ(editor.SelProtected(), controls::Tristate::On);  // still a link
    editor.setSelStart(0);
    trigger("mnuEditPaste");
    EXPECT_EQ(editor.Text(), "Betasee Beta and Gamma here");
    EXPECT_EQ(links().Count(), 2);
    EXPECT_TRUE(consistent());
    editor.select(0, 4);
    EXPECT_EQ(editor.SelProtected(), controls::Tristate::Off);
    EXPECT_EQ(editor.SelUnderline(), controls::Tristate::On);
    EXPECT_EQ(editor.SelColor(), kLinkBlue);
}

TEST_F(ClipboardCommandsTest, EachEditKeepsTheLinksOnTheirText) {
    struct Case {
        const char* name;
        int start, length;
        std::function<void()> act;
        QString text;
        int links;
    } cases[] = {
        {"cut of a whole link", 4, 4, [this] { trigger("mnuEditCut"); }, "see  and Gamma here", 1},
        {"paste of lines before a link", 0, 0,
         [this] {
             clipboard().setText("a\nb\nc");
             trigger("mnuEditPaste");
         },
         "a\r\nb\r\ncsee Beta and Gamma here", 2},
        {"paste over a selection holding a link", 2, 8,
         [this] {
             clipboard().setText("XY");
             key(Qt::Key_V, Qt::ControlModifier);
             QApplication::processEvents();  // the posted Delete and Ctrl+V
         },
         "seXYnd Gamma here", 1},
        {"paste text over part of a link", 14, 2,
         [this] {
             clipboard().setData("text/rtf", "{\\rtf1 {\\b bold}\\par}");
             trigger("mnuEditPasteText");
         },
         "see Beta and bold\r\n here", 1},
    };
    for (Case& c : cases) {
        controls::RichTextBox& editor = withLinks();
        editor.select(c.start, c.length);
        c.act();
        EXPECT_EQ(editor.Text(), c.text) << c.name;
        EXPECT_EQ(links().Count(), c.links) << c.name;
        EXPECT_TRUE(consistent()) << c.name;
    }
}

TEST_F(ClipboardCommandsTest, KeysRunTheCommandsOnceAndUndoDoesNothing) {
    controls::RichTextBox& editor = withLinks();
    editor.select(0, 3);
    const int writes = clipboard().writes();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard().writes(), writes + 1);
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard().writes(), writes + 2);
    editor.setSelStart(23);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.Text(), "see Beta and Gamma heresee");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.Text(), "see Beta and Gamma heresee");
    tree().setFocus();  // with the tree active nothing can be pasted
    EXPECT_FALSE(window_->menuItem("mnuEditPaste")->isEnabled());
    EXPECT_TRUE(consistent());
}

TEST_F(ClipboardCommandsTest, APictureIntoALargeNoteWarnsAndPlainTextDoesNot) {
    controls::RichTextBox& editor = withLinks();
    editor.setSelStart(editor.TextLength());
    editor.setSelText((QString(99, 'x') + '\n').repeated(700));
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    clipboard().setData("image/png", png);
    answer(MsgAnswer::Ok);
    trigger("mnuEditPaste");
    EXPECT_EQ(dialogs_.messages(), QStringList{ClipboardCommands::kLargeDocumentMessage});
    EXPECT_NE(editor.TextRTF().find("\\pngblip"), std::string::npos);
    clipboard().setText("plain");
    trigger("mnuEditPaste");
    EXPECT_EQ(dialogs_.messages().size(), 1);
    EXPECT_TRUE(consistent());
}

TEST_F(ClipboardCommandsTest, BadClipboardsChangeNothingAndSaySo) {
    controls::RichTextBox& editor = withLinks();
    const QString text = editor.Text();
    const auto expectRefused = [&](const char* format, const QByteArray& bytes) {
        clipboard().setData(format, bytes);
        answer(MsgAnswer::Ok);
        trigger("mnuEditPaste");
        EXPECT_EQ(editor.Text(), text) << format;
        EXPECT_TRUE(consistent()) << format;
    };
    expectRefused("text/rtf", "{\\rtf1 {{{{\\bin999999999");
    expectRefused("image/png", "\x89PNG\r\n\x1a\n cut short");
    expectRefused("text/html", QByteArray(33 * 1024 * 1024, 'h'));
    expectRefused("text/plain", QByteArray(99, 'w').append('\n').repeated(200 * 1000));  // 20 MB
    expectRefused("text/plain", QByteArray(ClipboardContent::kMaxParagraph + 1, 'w'));
}

TEST_F(ClipboardCommandsTest, TheDesktopClipboardCarriesRichTextBothWays) {
    static QtClipboard desktop;  // outlives the window, which may still ask it
    dialogs_.useClipboard(&desktop);
    controls::RichTextBox& editor = withLinks();
    editor.select(0, 8);
    trigger("mnuEditCopy");
    const QByteArray rtf = QGuiApplication::clipboard()->mimeData()->data("text/rtf");
    const rtf::RtfDocument copied = rtf::RtfReader().read(std::string_view(rtf.constData(), std::size_t(rtf.size())));
    EXPECT_EQ(copied.plainText(), "see Beta");
    EXPECT_FALSE(copied.paragraphs.at(0).runs.back().format.protect);

    auto page = std::make_unique<QMimeData>();
    page->setHtml("<p>a <b>bold</b> word</p><ul><li>one</li></ul><ol><li>two</li></ol>");
    QGuiApplication::clipboard()->setMimeData(page.release());
    editor.setSelStart(0);
    trigger("mnuEditPaste");
    ASSERT_TRUE(editor.Text().startsWith("a bold word\r\none\r\ntwo\r\nsee")) << editor.Text().toStdString();
    editor.select(2, 4);
    EXPECT_EQ(editor.SelBold(), controls::Tristate::On);
    editor.select(7, 4);
    EXPECT_EQ(editor.SelBold(), controls::Tristate::Off);
    editor.select(13, 3);
    EXPECT_EQ(editor.SelBullet(), controls::Tristate::On);
    const std::string body = editor.TextRTF();
    const rtf::RtfDocument note = rtf::RtfReader().read(body);
    ASSERT_GE(note.paragraphs.size(), 3u);
    EXPECT_EQ(note.paragraphs[1].format.list, rtf::ListStyle::Bullet);
    EXPECT_EQ(note.paragraphs[2].format.list, rtf::ListStyle::Decimal);
    EXPECT_TRUE(consistent());
}

}  // namespace
}  // namespace tamix
