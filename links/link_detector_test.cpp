#include "links/link_detector.h"

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "links/link_handler.h"
#include "links/link_table_fixture.h"
#include "tree/tree_test_fixture.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tamix {
namespace {

class LinkDetectorTest : public WithTestApp, public ::testing::Test {
protected:
    ~LinkDetectorTest() override { EXPECT_TRUE(host_.errors.isEmpty()) << host_.errors.join('\n').toStdString(); }
    void show(const QString& text) {
        editor_.setText(text);
        state_.Links.Clear();
        state_.NoteChanged = false;
    }
    QStringList linkTexts() const {
        QStringList texts;
        for (const LinkEntry& link : state_.Links.entries()) texts << link.LinkText;
        return texts;
    }
    QString wordAt(const QString& text, int caret) {
        show(text);
        editor_.setSelStart(caret);
        return detector_.WordAtCaret();
    }

    DatabaseState state_;
    AppOptions options_;
    controls::RichTextBox editor_;
    tree_testing::FakeHost host_;
    LinkHandler links_{state_, editor_, options_};
    LinkDetector detector_{state_, editor_, links_, host_};
};

TEST(LinkDetectorWordChar, PrintableAsciiExceptSpaceAndBackquote) {
    for (const QChar c : QStringLiteral("~_!#@$^%&(*)+-=\\|:[;]}{/>?<.,\"'09azAZ"))
        EXPECT_TRUE(LinkDetector::IsWordChar(c)) << c.toLatin1();
    for (const char16_t c : {u' ', u'`', u'\t', u'\r', u'\n', u'\0', char16_t(0x7F), u'\u00A0', u'\u00E9', u'\u2028'})
        EXPECT_FALSE(LinkDetector::IsWordChar(QChar(c))) << int(c);
    int count = 0;
    for (int u = 0; u <= 0xFFFF; ++u) count += LinkDetector::IsWordChar(QChar(char16_t(u))) ? 1 : 0;
    EXPECT_EQ(count, 93);
}

TEST_F(LinkDetectorTest, WordAtCaretIsTheRunAroundTheCharacterBeforeIt) {
    const struct {
        const char* text;
        int caret;
        const char* word;
    } cases[] = {
        {"see http://a.b, then", 5, "http://a.b,"},
        {"see http://a.b, then", 15, "http://a.b,"},  // right after the comma
        {"see http://a.b, then", 16, ""},             // after the space
        {"see http://a.b, then", 0, ""},              // the very beginning
        {"abc", 3, "abc"},                            // the very end
        {"x`y", 3, "y"},
        {"one\ntwo", 5, ""},                          // just after a paragraph break
        {"one\ntwo", 6, "two"},
        {"a\u00E9b", 1, "a"},
        {"(http://x.y)", 2, "(http://x.y)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wordAt(QString::fromUtf8(c.text), c.caret), QString::fromUtf8(c.word)) << c.text << " @" << c.caret;
}

TEST_F(LinkDetectorTest, EachAddressBecomesALinkToItselfAndTheTextStays) {
    const struct {
        const char* text;
        QStringList links;
    } cases[] = {
        {"see http://a.com, and", {"http://a.com,"}},
        {"see http://a.com and", {"http://a.com"}},
        {"mail mailto:me@x.org now", {"mailto:me@x.org"}},
        {"(http://a.b/c)", {"(http://a.b/c)"}},
        {"ftp://f.x http://h.x mailto:m@x http://k.x", {"http://h.x", "http://k.x", "mailto:m@x", "ftp://f.x"}},
        {"HTTP://upper Mailto:x", {}},
        {"http://a.com/mailto:b", {"http://a.com/mailto:b"}},
        {"first\nhttp://x.y\n\nlast ftp://z", {"http://x.y", "ftp://z"}},
    };
    for (const auto& c : cases) {
        show(QString::fromUtf8(c.text));
        const QString before = editor_.Text();
        editor_.setSelStart(3);
        detector_.DetectLinks();
        EXPECT_EQ(linkTexts(), c.links) << c.text;
        for (const LinkEntry& link : state_.Links.entries()) EXPECT_EQ(link.LinkLink, link.LinkText);
        EXPECT_TRUE(LinksMatchText(state_.Links, editor_.Text())) << c.text;
        EXPECT_EQ(editor_.Text(), before);
        EXPECT_EQ(editor_.SelStart(), 3);
        EXPECT_EQ(editor_.SelLength(), 0);
        EXPECT_EQ(state_.NoteChanged, !c.links.isEmpty()) << c.text;
        EXPECT_EQ(host_.depth, 0);
    }
}

TEST_F(LinkDetectorTest, RunsWithTheWindowBusyAndMarksTheLinks) {
    show("go http://a.b now");
    int depthDuring = 0;
    QObject::connect(&editor_, &controls::RichTextBox::SelChange, [&] { depthDuring = host_.depth; });
    detector_.DetectLinks();
    EXPECT_EQ(depthDuring, 1);
    EXPECT_EQ(host_.depth, 0);
    editor_.select(3, 10);
    EXPECT_EQ(editor_.SelUnderline(), controls::Tristate::On);
    EXPECT_EQ(editor_.SelProtected(), controls::Tristate::On);
    EXPECT_FALSE(state_.EditorChangeGuard);
}

TEST_F(LinkDetectorTest, AddressInsideOrRunningIntoALinkIsLeft) {
    show("go http://x here linkhttp://y");
    editor_.select(0, 14);
    ASSERT_TRUE(links_.SetLink("go http://x he", "Note:2"));
    editor_.select(20, 4);
    ASSERT_TRUE(links_.SetLink("link", "Note:3"));
    detector_.DetectLinks();
    EXPECT_EQ(linkTexts(), (QStringList{"go http://x he", "link"}));
    EXPECT_TRUE(LinksMatchText(state_.Links, editor_.Text()));
}

TEST_F(LinkDetectorTest, StopsAddingWhenTheTableIsFull) {
    QStringList words;
    for (int i = 0; i < LinkTable::kMaxLinks + 3; ++i) words << QStringLiteral("http://n%1").arg(i);
    show(words.join(' '));
    detector_.DetectLinks();
    ASSERT_EQ(state_.Links.Count(), LinkTable::kMaxLinks);
    EXPECT_EQ(state_.Links[LinkTable::kMaxLinks].LinkText, words[LinkTable::kMaxLinks - 1]);
    EXPECT_TRUE(LinksMatchText(state_.Links, editor_.Text()));
    EXPECT_EQ(host_.depth, 0);
}

}  // namespace
}  // namespace tamix
