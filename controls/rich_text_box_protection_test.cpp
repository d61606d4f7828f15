// RichTextBox: protected text against every way of typing, input methods,
// Qt's own editing calls, and the format of new text beside a link.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "controls/rich_text_box_fixture.h"

namespace tamix::controls {
namespace {

const QChar kObject(QChar::ObjectReplacementCharacter);

// "aaa LINK bbb" in 14-point Serif, LINK (4..7) a link: underlined, blue
// and protected.
class RichTextBoxProtectionTest : public RichTextBoxTest {
protected:
    void linkSample(const QString& text = "aaa LINK bbb", int at = 4) {
        box.setText(text);
        box.select(0, static_cast<int>(text.size()));
        box.setSelFontName("Serif");
        box.setSelFontSize(14);
        box.select(at, 4);
        box.setSelUnderline(true);
        box.setSelColor(0xFF0000);
        box.setSelProtected(true);
        beeps = 0;
    }

    void press(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&box, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(&box, &up);
    }

    void commit(const QString& text, int from = 0, int length = 0, const QString& preedit = {}) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(text, from, length);
        QApplication::sendEvent(&box, &event);
    }

    // The plain typing format next to the link: the font of the text
    // around it and nothing of the link's own.
    void expectPlain(int position, const char* how) {
        box.select(position, 1);
        EXPECT_EQ(box.SelProtected(), Tristate::Off) << how;
        EXPECT_EQ(box.SelUnderline(), Tristate::Off) << how;
        EXPECT_EQ(box.SelColor(), 0u) << how;
        EXPECT_EQ(box.SelFontName(), QString("Serif")) << how;
        EXPECT_EQ(box.SelFontSize(), 14.0) << how;
    }
};

TEST_F(RichTextBoxProtectionTest, KeysTypingInvisibleAstralOrPrivateCharactersObeyProtection) {
    QList<int> codes;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int&) { codes << code; });
    const QString zwnj(QChar(0x200C));
    const QString rlm(QChar(0x200F));
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString privateUse(QChar(0xE000));
    linkSample();
    box.setSelStart(6);
    press(Qt::Key_Space, Qt::ShiftModifier, zwnj);
    press(0, Qt::ControlModifier | Qt::ShiftModifier, rlm);
    press(0, {}, emoji);
    press(0, {}, privateUse);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 4);
    EXPECT_EQ(codes, QList<int>({32, 192, 192, 192}));
    box.setSelStart(12);  // the same keys type elsewhere
    press(0, {}, emoji);
    press(0, {}, zwnj);
    EXPECT_EQ(box.Text(), "aaa LINK bbb" + emoji + zwnj);
}

TEST_F(RichTextBoxProtectionTest, KeyDownCanSwallowAKeyTypingAnAstralCharacter) {
    QObject::connect(&box, &RichTextBox::KeyDown, [](int& code, int&) { code = 0; });
    press(0, {}, QString::fromUcs4(U"\U0001F600"));
    press(0, {}, QString(QChar(0x200D)));
    EXPECT_EQ(box.Text(), QString());
}

TEST_F(RichTextBoxProtectionTest, InputMethodNeverRemovesASelectedProtectedWord) {
    linkSample();
    QSignalSpy changes(&box, &RichTextBox::Change);
    box.select(4, 4);
    commit("Z", 1, 1);  // the range lies in plain text, but the selection goes first
    commit("Z", -1, 1);
    commit("", 0, 0, "pre");  // a preedit removes the selection as well
    box.setSelStart(2);
    commit("Z", 1, 3);  // from the caret over " LI"
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(changes.count(), 0);
    box.select(9, 3);
    commit("B", -1, 1);  // replaces the " " before the removed "bbb"
    EXPECT_EQ(box.Text(), QString("aaa LINKB"));
}

TEST_F(RichTextBoxProtectionTest, OverwriteModeReplacesOnlyUnprotectedCharacters) {
    linkSample();
    box.setOverwriteMode(true);
    box.setSelStart(4);
    QTest::keyClicks(&box, "x");
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 1);
    box.setSelStart(8);
    QTest::keyClicks(&box, "xy");
    EXPECT_EQ(box.Text(), QString("aaa LINKxybb"));
    expectPlain(8, "overwriting after the link");
}

TEST_F(RichTextBoxProtectionTest, QtEditingCallsOnTheBaseCannotChangeProtectedText) {
    linkSample();
    QSignalSpy changes(&box, &RichTextBox::Change);
    QTextEdit& base = box;
    box.select(2, 4);
    base.cut();
    box.select(2, 4);
    base.insertPlainText("x");
    box.select(2, 4);
    base.insertHtml("<b>x</b>");
    box.select(5, 2);
    base.setTextColor(Qt::green);
    box.setSelStart(6);
    base.insertPlainText("x");
    QTextCursor(box.document()).insertText("");  // no change at all
    QTextCursor direct(box.document());
    direct.setPosition(7);
    direct.deleteChar();
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    box.select(4, 4);
    EXPECT_EQ(box.SelColor(), 0xFF0000u);
    EXPECT_EQ(beeps, 6);
    EXPECT_EQ(changes.count(), 0);
    box.setSelStart(12);
    base.insertPlainText("!");  // plain text still takes edits
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb!"));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(RichTextBoxProtectionTest, LoadsThroughTheBaseReplaceProtectedText) {
    linkSample();
    QTextEdit& base = box;
    base.setPlainText("plain");
    EXPECT_EQ(box.Text(), QString("plain"));
    linkSample();
    base.clear();
    EXPECT_EQ(box.Text(), QString());
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(box.Text(), QString("ab"));
    EXPECT_EQ(beeps, 0);
}

TEST_F(RichTextBoxProtectionTest, ObjectReplacementCharacterNeverEntersAsText) {
    box.setText(QString("a") + kObject + "b");
    EXPECT_EQ(box.Text(), QString("ab"));
    box.setSelStart(1);
    press(0, {}, QString(kObject));
    box.setSelText(QString("c") + kObject);
    QApplication::clipboard()->setText(QString(kObject) + "d");
    box.Paste();
    commit(QString(kObject) + "e");
    QTextEdit& base = box;
    base.insertPlainText(QString("f") + kObject);
    EXPECT_EQ(box.Text(), QString("acdefb"));
    box.setTextRTF("{\\rtf1 g\\u65532?h\\u-4?i}");
    EXPECT_EQ(box.Text(), QString("ghi"));
}

TEST_F(RichTextBoxProtectionTest, PositionsSurviveSavingAfterObjectReplacementInput) {
    box.setText("one two");
    box.setSelStart(3);
    press(0, {}, QString(kObject));
    box.setSelText(QString(kObject));
    const QString before = box.Text();
    const int two = box.Find("two");
    box.setTextRTF(box.TextRTF());
    EXPECT_EQ(box.Text(), before);
    EXPECT_EQ(box.Find("two"), two);
}

TEST_F(RichTextBoxProtectionTest, TextBesideALinkGetsThePlainTypingFormat) {
    linkSample();
    box.setSelStart(8);
    box.setSelText("S");
    expectPlain(8, "setSelText");

    linkSample();
    box.setSelStart(8);
    QApplication::clipboard()->setText("P");
    box.Paste();
    expectPlain(8, "paste");

    linkSample();
    box.setSelStart(8);
    commit("I");
    expectPlain(8, "input method");

    linkSample();
    box.setSelStart(8);
    QTest::keyClicks(&box, "k");
    expectPlain(8, "typing");

    linkSample();
    QMimeData mime;
    mime.setText("D");
    QDragEnterEvent enter(pointOf(1), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &enter);
    QTextCursor edge(box.document());
    edge.setPosition(box.toDocumentPosition(8));
    QDropEvent drop(QPointF(box.cursorRect(edge).center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &drop);
    ASSERT_EQ(box.Text(), QString("aaa LINKD bbb"));
    expectPlain(8, "drop");

    linkSample("LINK bbb", 0);  // a link starting a paragraph
    box.setSelStart(0);
    QTest::keyClicks(&box, "t");
    expectPlain(0, "typing before");

    linkSample("LINK bbb", 0);
    box.setSelStart(0);
    commit("m");
    EXPECT_EQ(box.Text(), QString("mLINK bbb"));
    expectPlain(0, "input method before");
    EXPECT_EQ(beeps, 0);
}

}  // namespace
}  // namespace tamix::controls
