#include "links/link_handler.h"

#include "dialogs/app_options.h"
#include "dialogs/command_table.h"
#include "links/link_table_fixture.h"
#include "links/link_editor_events.h"
#include "links/link_opener.h"
#include "tree/tree_test_fixture.h"

#include <QFile>
#include <QTest>
#include <random>

namespace tamix {
namespace {

// The link handler and the editor's events over a real editor, tree and
// database: "Alpha" (2) holds the text the cases edit, "Beta" (3) is a link
// target.
class LinkHandlerTest : public tree_testing::TreeFixture {
protected:
    LinkHandlerTest()
        : links_(state_, editor_, options_),
          opener_([this](const QUrl& url) { opened_ << url; return true; }),
          events_(state_, editor_, tree_, notes_, links_, opener_, dialogs_, host_, commands_, {}) {
        editor_.setBeep([this] { ++refusals_; });
        const QString file = dir_.filePath("l.TM2");
        TestDatabase::write(file, {{2, 1, "Alpha"}, {3, 1, "Beta"}});
        manager_.ClearTree();
        manager_.OpenPath(file);
        show(2);
        setText("see the docs and the wiki\r\nmore text");
    }

    void setText(const QString& text) {
        state_.EditorChangeGuard = true;
        editor_.setText(text);
        state_.EditorChangeGuard = false;
        state_.Links.Clear();
    }
    // Makes the characters `from` ... `from + length` a link to `target`.
    void link(int from, int length, const QString& target) {
        editor_.select(from, length);
        ASSERT_TRUE(links_.SetLink(editor_.SelText(), target));
    }
    // Every entry's characters are its text, marked as a link.
    void expectConsistent() {
        EXPECT_TRUE(LinksMatchText(state_.Links, editor_.Text()));
        for (int i = 1; i <= state_.Links.Count(); ++i) {
            const LinkEntry& e = state_.Links[i];
            const int caret = editor_.SelStart(), length = editor_.SelLength();
            state_.EditorChangeGuard = true;
            editor_.select(e.LinkStart, e.LinkEnd - e.LinkStart);
            EXPECT_EQ(editor_.SelProtected(), controls::Tristate::On) << i;
            EXPECT_EQ(editor_.SelUnderline(), controls::Tristate::On) << i;
            editor_.select(caret, length);
            state_.EditorChangeGuard = false;
        }
    }
    void show(int key) {
        tree_.setSelectedItem(node(key));
        notes_.tree_NodeClick(node(key));
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&editor_, key, modifiers); }

    AppOptions options_;
    CommandTable commands_;
    LinkHandler links_;
    QList<QUrl> opened_;
    LinkOpener opener_;
    LinkEditorEvents events_;
    int refusals_ = 0;
};

TEST_F(LinkHandlerTest, RelocationFindsTheNearestPlaceForwardFirstAndLeavesAVanishedLink) {
    setText("xxab....abxxab");
    state_.EditorChangeGuard = true;
    for (int at : {2, 8}) {  // the link's marking: only these spell it as a link
        editor_.select(at, 2);
        editor_.setSelProtected(true);
    }
    state_.EditorChangeGuard = false;
    state_.Links.Add({6, 8, "ab", "t"});   // "ab" stands marked 2 before and 2 after
    state_.Links.Add({0, 3, "zzz", "t"});  // nowhere in the text
    links_.RelocateLinks();
    EXPECT_EQ(state_.Links[1].LinkStart, 8);
    EXPECT_EQ(state_.Links[1].LinkEnd, 10);
    EXPECT_EQ(state_.Links[2].LinkStart, 0);
    state_.Links.Clear();
    state_.Links.Add({11, 13, "ab", "t"});  // the plain "ab" at the end is not the link's
    links_.RelocateLinks();
    EXPECT_EQ(state_.Links[1].LinkStart, 8);
}

TEST_F(LinkHandlerTest, SelectionsSnapToWholeLinks) {
    link(8, 4, "http://docs");  // "docs" at 8 ... 12
    editor_.setSelStart(10);    // a click inside
    EXPECT_EQ(editor_.SelStart(), 8);
    EXPECT_EQ(editor_.SelLength(), 4);
    editor_.select(4, 1);
    editor_.select(4, 6);  // grown from plain text into the link: takes it all
    EXPECT_EQ(editor_.SelStart(), 4);
    EXPECT_EQ(editor_.SelLength(), 8);
    editor_.select(4, 10);
    editor_.select(4, 6);  // shrunk back into it: leaves it out
    EXPECT_EQ(editor_.SelLength(), 4);
}

TEST_F(LinkHandlerTest, TypingRightAfterALinkTypesPlainText) {
    link(8, 4, "http://docs");
    state_.EditorChangeGuard = true;  // a caret put there without a snap
    editor_.setSelStart(12);
    state_.EditorChangeGuard = false;
    ASSERT_EQ(editor_.SelProtected(), controls::Tristate::On);  // the caret has the link's format
    QTest::keyClicks(&editor_, "X");
    EXPECT_EQ(editor_.Text().mid(8, 5), "docsX");
    editor_.select(12, 1);
    EXPECT_EQ(editor_.SelProtected(), controls::Tristate::Off);
    EXPECT_EQ(editor_.SelUnderline(), controls::Tristate::Off);
    EXPECT_EQ(state_.Links[1].LinkEnd, 12);
    expectConsistent();
}

TEST_F(LinkHandlerTest, HoveringShowsTheTargetAlsoOnTheCharacterJustAfterTheLink) {
    link(8, 4, "http://docs");
    editor_.resize(600, 200);
    editor_.show();
    QApplication::processEvents();
    const int y = 6, tx = editor_.TwipsPerPixelX(), ty = editor_.TwipsPerPixelY();
    int after = -1, before = -1;
    for (int x = 0; x < 600 && after < 0; ++x) {
        const int c = editor_.CharFromPos(QPoint(x, y));
        if (c == 3 && before < 0) before = x;
        if (c == 12) after = x;
    }
    ASSERT_GE(after, 0);
    EXPECT_EQ(links_.LinkAtPoint(after * tx, y * ty), "http://docs");
    EXPECT_EQ(links_.HoveredLink(), 1);
    EXPECT_EQ(editor_.MousePointer(), 1);
    EXPECT_EQ(links_.LinkAtPoint(before * tx, y * ty), "");
    EXPECT_EQ(links_.HoveredLink(), 0);
}

TEST_F(LinkHandlerTest, FollowingGoesToTheNoteOrTheDesktopAndRefusesProgramsAndGoneNotes) {
    link(8, 4, "Note:k0000000003");
    link(21, 4, "https://example.org/wiki");
    QFile program(dir_.filePath("run.sh"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly) && program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    program.close();
    state_.Links.Add({0, 3, "see", program.fileName()});
    state_.Links.Add({14, 17, "the", "Note:k0000000099"});
    state_.NoteChanged = true;  // Alpha's table is saved when Beta is shown

    events_.FollowLink(2);
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_[0], QUrl("https://example.org/wiki"));
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    events_.FollowLink(3);
    EXPECT_TRUE(dialogs_.messages().value(0).contains("is a program")) << dialogs_.messages().value(0).toStdString();
    events_.FollowLink(4);
    EXPECT_EQ(dialogs_.beeps(), 1);
    events_.FollowLink(1);
    EXPECT_EQ(state_.ShownKey, "k0000000003");
    EXPECT_EQ(tree_.SelectedItem(), node(3));
    ASSERT_TRUE(state_.Node.FindKey("k0000000002"));
    EXPECT_EQ(state_.Node.LinkCount(), 4);  // Alpha's table went with its body
}

TEST_F(LinkHandlerTest, UndoAndTheClipboardKeysDoNothingToTheText) {
    link(8, 4, "http://docs");
    editor_.select(0, 12);
    for (Qt::Key key : {Qt::Key_Z, Qt::Key_X, Qt::Key_V}) press(key, Qt::ControlModifier);
    EXPECT_TRUE(editor_.Text().startsWith("see the docs and"));
    expectConsistent();
}

TEST_F(LinkHandlerTest, RandomEditsKeepTheTableInStepWithTheTextAcrossSavesAndReloads) {
    std::mt19937 random(7);
    const auto below = [&](int n) { return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n)); };
    link(8, 4, "http://docs");
    link(21, 4, "Note:k0000000003");
    for (int step = 0; step < 600; ++step) {
        SCOPED_TRACE(step);
        const int length = static_cast<int>(editor_.Text().size());
        switch (below(8)) {
        case 0:
        case 1:
            editor_.setSelStart(below(length + 1));
            QTest::keyClicks(&editor_, QString(QChar('a' + below(26))));
            break;
        case 2:
            editor_.setSelStart(below(length + 1));
            press(below(2) ? Qt::Key_Return : Qt::Key_Space);
            break;
        case 3: {
            const int from = below(length + 1);
            editor_.select(from, 0);
            editor_.select(from, below(std::min(12, length - from) + 1));  // dragged out from a click
            press(below(2) ? Qt::Key_Delete : Qt::Key_Backspace);
            break;
        }
        case 4: {  // a new link, or the one the selection touches edited
            const int from = below(length + 1);
            editor_.select(from, below(std::min(6, length - from) + 1));
            links_.SelectLinkAtSelection();
            if (!editor_.SelText().isEmpty() && !editor_.SelText().contains('\r'))
                links_.SetLink(editor_.SelText(), QStringLiteral("http://x/%1").arg(step));
            links_.EndEditingLink();
            break;
        }
        case 5:  // a link made plain text again
            if (state_.Links.Count() > 0) {
                const LinkEntry e = state_.Links[1 + below(state_.Links.Count())];
                editor_.select(e.LinkStart, 0);
                links_.SelectLinkAtSelection();
                links_.DeleteLink(links_.EditingLink());
                links_.EndEditingLink();
            }
            break;
        case 6: {  // away and back: saved, then loaded again
            const std::vector<LinkEntry> before = state_.Links.entries();
            show(3);
            show(2);
            EXPECT_EQ(state_.Links.entries(), before);
            break;
        }
        default:
            editor_.select(below(length + 1), 0);
            break;
        }
        expectConsistent();
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace tamix
