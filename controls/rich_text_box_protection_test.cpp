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
#include <algorithm>
#include <functional>
#include <random>

#include "controls/rich_text_box_fixture.h"
#include "rtf/text_document_adapter.h"

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

TEST_F(RichTextBoxProtectionTest, ADocumentSetThroughTheBaseIsGuardedToo) {
    auto* other = new QTextDocument(&box);
    QTextCursor c(other);
    c.insertText("x ");
    QTextCharFormat link;
    link.setProperty(rtf::TextDocumentAdapter::ProtectedProperty, true);
    c.insertText("LINK", link);
    QTextEdit& base = box;
    base.setDocument(other);
    box.select(3, 2);
    base.insertPlainText("y");
    EXPECT_EQ(box.Text(), QString("x LINK"));
    EXPECT_EQ(beeps, 1);
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

TEST_F(RichTextBoxProtectionTest, TextBesideALinkGetsThePlainTypingFormat) {
    const struct {
        const char* how;
        bool before;  // before a link starting a paragraph, else right after one
        std::function<void()> type;
        const char* text;
    } cases[] = {
        {"setSelText", false, [&] { box.setSelText("S"); }, "aaa LINKS bbb"},
        {"paste", false, [&] { QApplication::clipboard()->setText("P"), box.Paste(); }, "aaa LINKP bbb"},
        {"input method", false, [&] { commit("I"); }, "aaa LINKI bbb"},
        {"typing", false, [&] { QTest::keyClicks(&box, "k"); }, "aaa LINKk bbb"},
        {"typing before", true, [&] { QTest::keyClicks(&box, "t"); }, "tLINK bbb"},
        {"input method before", true, [&] { commit("m"); }, "mLINK bbb"},
    };
    for (const auto& c : cases) {
        c.before ? linkSample("LINK bbb", 0) : linkSample();
        box.setSelStart(c.before ? 0 : 8);
        c.type();
        EXPECT_EQ(box.Text(), QString(c.text)) << c.how;
        expectPlain(c.before ? 0 : 8, c.how);
        EXPECT_EQ(beeps, 0) << c.how;
    }

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
}

// --- Random keys and input methods ------------------------------------------

// The protected characters of a document in order, their formats, and
// where a stretch of them ends (an offset into `text`).
struct ProtectedText {
    QString text;
    std::vector<QTextCharFormat> formats;
    std::vector<int> ends;
};

ProtectedText protectedText(const QTextDocument& document) {
    ProtectedText found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int length = static_cast<int>(found.text.size());
            if (!fragment.charFormat().boolProperty(rtf::TextDocumentAdapter::ProtectedProperty)) {
                if (found.ends.empty() || found.ends.back() != length) found.ends.push_back(length);
                continue;
            }
            found.text += fragment.text();
            found.formats.insert(found.formats.end(), fragment.length(), fragment.charFormat());
        }
        if (found.ends.empty() || found.ends.back() != found.text.size())
            found.ends.push_back(static_cast<int>(found.text.size()));
    }
    return found;
}

// True when `now` holds the same protected characters in the same formats
// as `links`, and no link has been split (links may come to stand side by
// side once the text between them is gone).
bool sameLinks(const ProtectedText& now, const ProtectedText& links) {
    return now.text == links.text && now.formats == links.formats &&
           std::all_of(now.ends.begin(), now.ends.end(), [&](int end) {
               return std::find(links.ends.begin(), links.ends.end(), end) != links.ends.end();
           });
}

class RandomInput {
public:
    explicit RandomInput(unsigned seed) : random_(seed) {}

    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    // One character from anywhere in Unicode, weighted towards the kinds
    // that have slipped past checks: controls, format characters, private
    // use, surrogate pairs and U+FFFC.
    QString character() {
        static const char16_t kFormat[] = {0x00AD, 0x200B, 0x200C, 0x200D, 0x200E, 0x200F,
                                           0x202A, 0x202E, 0x2060, 0xFEFF};
        static const char16_t kSpecial[] = {0xFFFC, 0x2028, 0x2029, u'\t', u'\r', u'\n', u'\v', 0xFDD0, 0xFFFF};
        switch (pick(9)) {
        case 0: return QString(QChar(0x20 + pick(0x5F)));
        case 1: return QString(QChar(pick(2) ? pick(0x20) : 0x7F + pick(0x21)));
        case 2: return QString(QChar(static_cast<char16_t>(pick(0x10000))));  // lone surrogates too
        case 3: return QString(QChar(kFormat[pick(std::size(kFormat))]));
        case 4: return QString(QChar(0xE000 + pick(0x1900)));
        case 5: {
            char32_t astral = 0x10000 + static_cast<char32_t>(pick(0x100000));
            return QString::fromUcs4(&astral, 1);
        }
        case 6: return QString(QChar(kSpecial[pick(std::size(kSpecial))]));
        default: return QString(QChar(u'a' + pick(26)));
        }
    }

    QString text(int most) {
        QString out;
        for (int n = pick(most + 1); n > 0; --n) out += character();
        return out;
    }

    Qt::KeyboardModifiers modifiers() {
        Qt::KeyboardModifiers m;
        for (Qt::KeyboardModifier one :
             {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier, Qt::KeypadModifier})
            if (pick(4) == 0) m |= one;
        return m;
    }

private:
    std::mt19937 random_;
};

// Thousands of random keys (every modifier, characters from all planes,
// Insert toggling overwrite mode) and input-method events (with and without
// replacement ranges and preedit), with the selection placed at random also
// across the links: after each, every link has its characters and format,
// no other text is protected, no U+FFFC is text, and a key that changed the
// text raised KeyDown.
TEST_F(RichTextBoxProtectionTest, RandomKeysAndInputMethodsNeverChangeLinks) {
    linkSample("see LINK and\r\nMORE links\r\nend of LAST", 4);
    box.select(14, 4);
    box.setSelUnderline(true);
    box.setSelProtected(true);
    box.select(33, 4);
    box.setSelProtected(true);
    const ProtectedText links = protectedText(*box.document());
    ASSERT_EQ(links.text, QString("LINKMORELAST"));
    ASSERT_EQ(links.ends, std::vector<int>({0, 4, 8, 12}));
    beeps = 0;
    int keyDowns = 0;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int&) {
        ++keyDowns;
        if (code == 45) box.setOverwriteMode(!box.overwriteMode());  // as the program may bind Insert
    });
    static const int kKeys[] = {Qt::Key_A, Qt::Key_X, Qt::Key_V, Qt::Key_C, Qt::Key_Z, Qt::Key_K, Qt::Key_0,
                                Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Backspace, Qt::Key_Delete,
                                Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Insert, Qt::Key_Insert, Qt::Key_Left,
                                Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Escape, Qt::Key_F2, 0};
    RandomInput in(20240611);
    int textChanges = 0;
    for (int step = 0; step < 3000; ++step) {
        const int total = static_cast<int>(box.Text().size());
        if (in.pick(3) == 0) {
            box.select(in.pick(total + 1), in.pick(3) == 0 ? in.pick(12) : 0);
        }
        QApplication::clipboard()->setText(in.text(3));  // paste brings plain text only
        const QString before = box.Text();
        const int keyDownsBefore = keyDowns;
        const bool key = in.pick(3) != 0;
        QString what = QString("selection %1+%2 overwrite %3: ").arg(box.SelStart()).arg(box.SelLength()).arg(box.overwriteMode());
        if (key) {
            const int k = kKeys[in.pick(std::size(kKeys))];
            const QString text = in.pick(2) == 0 ? in.text(2) : (k >= Qt::Key_A && k <= Qt::Key_Z ? QString(QChar(k)) : QString());
            const Qt::KeyboardModifiers modifiers = in.modifiers();
            what += QString("key %1 modifiers %2 text %3").arg(k, 0, 16).arg(modifiers.toInt(), 0, 16).arg(QString(text.toUtf8().toHex()));
            press(k, modifiers, text);
        } else {
            QList<QInputMethodEvent::Attribute> attributes;
            if (in.pick(4) == 0) attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, in.pick(3), 1);
            QInputMethodEvent event(in.pick(3) == 0 ? in.text(2) : QString(), attributes);
            if (in.pick(3) != 0)
                event.setCommitString(in.text(3), in.pick(2) ? 0 : in.pick(11) - 5, in.pick(2) ? 0 : in.pick(6));
            what += QString("input method commit %1 at %2+%3 preedit %4")
                        .arg(QString(event.commitString().toUtf8().toHex()))
                        .arg(event.replacementStart())
                        .arg(event.replacementLength())
                        .arg(QString(event.preeditString().toUtf8().toHex()));
            QApplication::sendEvent(&box, &event);
        }
        const QString after = box.Text();
        textChanges += after != before;
        const ProtectedText now = protectedText(*box.document());
        const std::string context = "step " + std::to_string(step) + ", " + what.toStdString() + "\nbefore: " +
                                    before.toUtf8().toHex().toStdString() + "\nafter:  " + after.toUtf8().toHex().toStdString();
        ASSERT_TRUE(sameLinks(now, links)) << context << "\nlinks now: " << now.text.toStdString();
        ASSERT_FALSE(after.contains(kObject)) << context;
        if (key && after != before) { ASSERT_GT(keyDowns, keyDownsBefore) << context; }
    }
    EXPECT_GT(textChanges, 1000);
    EXPECT_GT(beeps, 50);
}

}  // namespace
}  // namespace tamix::controls
