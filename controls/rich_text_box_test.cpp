#include "controls/rich_text_box.h"

#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <random>

#include "controls/rich_text_box_fixture.h"

namespace tamix::controls {
namespace {

// --- Positions -----------------------------------------------------------

TEST_F(RichTextBoxTest, TypedParagraphsCountEachBreakAsTwo) {
    QTest::keyClicks(&box, "ab");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "cd");
    EXPECT_EQ(box.Text(), QString("ab\r\ncd"));
    EXPECT_EQ(box.SelStart(), 6);
    box.select(1, 4);
    EXPECT_EQ(box.SelText(), QString("b\r\nc"));
}

TEST_F(RichTextBoxTest, SoftBreakTabAndPictureCountOneEach) {
    box.setText("a\tb");
    box.setSelStart(3);
    box.setSelText("\vc");
    auto* mime = new QMimeData;
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    mime->setImageData(image);
    QApplication::clipboard()->setMimeData(mime);
    box.Paste();
    box.setSelText("\r\nz");
    const QString text = box.Text();
    EXPECT_EQ(text, QString("a\tb\vc") + QChar(QChar::ObjectReplacementCharacter) + "\r\nz");
    EXPECT_EQ(box.SelStart(), 9);
    EXPECT_EQ(box.Find("z"), 8);
    box.select(0, static_cast<int>(text.size()));
    EXPECT_EQ(box.SelText(), text);
}

TEST_F(RichTextBoxTest, TextMidAtSelectionIsSelText) {
    box.setText("one\r\n\r\ntwo\vthree\r\nfour");
    const QString all = box.Text();
    for (int start = 0; start <= all.size(); ++start)
        for (int length = 0; start + length <= all.size(); ++length) {
            box.select(start, length);
            EXPECT_EQ(all.mid(box.SelStart(), box.SelLength()), box.SelText()) << start << "+" << length;
        }
}

TEST_F(RichTextBoxTest, CharFromPosFindsTheCharacterUnderThePoint) {
    EXPECT_EQ(box.CharFromPos({5, 5}), -1);  // nothing to point at
    box.setText("first line\r\nsecond");
    EXPECT_EQ(box.CharFromPos(pointOf(3)), 3);
    EXPECT_EQ(box.CharFromPos(pointOf(14)), 14);  // "c" of "second"
}

// --- Protection -----------------------------------------------------------

// An edit by keys, menu, clipboard, input method or program, made over a
// selection of the protected sample.
struct Edit {
    const char* name;
    int start, length;
    std::function<void(RichTextBox&)> make;
};

std::function<void(RichTextBox&)> key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
    return [=](RichTextBox& box) { QTest::keyClick(&box, k, modifiers); };
}

std::function<void(RichTextBox&)> menuItem(const QString& text) {
    return [=](RichTextBox& box) {
        std::unique_ptr<QMenu> menu(box.createContextMenu());
        for (QAction* action : menu->actions())
            if (action->text() == text) action->trigger();
    };
}

std::function<void(RichTextBox&)> commit(const QString& text) {
    return [=](RichTextBox& box) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&box, &event);
    };
}

// An edit through the QTextEdit base class or straight on the document,
// which bypasses every check of the box's own members.
std::function<void(RichTextBox&)> base(std::function<void(QTextEdit&)> edit) {
    return [=](RichTextBox& box) { edit(box); };
}

void deleteCharAt7(QTextEdit& edit) {
    QTextCursor direct(edit.document());
    direct.setPosition(7);
    direct.deleteChar();
}

TEST_F(RichTextBoxTest, EditsTouchingProtectedTextBeepOnceAndChangeNothing) {
    const Edit edits[] = {
        {"typing inside", 6, 0, key(Qt::Key_X)},
        {"Return inside", 6, 0, key(Qt::Key_Return)},
        {"typing over a selection reaching in", 2, 4, key(Qt::Key_X)},
        {"Backspace after", 8, 0, key(Qt::Key_Backspace)},
        {"Delete before", 4, 0, key(Qt::Key_Delete)},
        {"Ctrl+Backspace after", 8, 0, key(Qt::Key_Backspace, Qt::ControlModifier)},
        {"Ctrl+Delete before", 4, 0, key(Qt::Key_Delete, Qt::ControlModifier)},
        {"Ctrl+X", 3, 3, key(Qt::Key_X, Qt::ControlModifier)},
        {"Shift+Delete", 3, 3, key(Qt::Key_Delete, Qt::ShiftModifier)},
        {"Cut", 3, 3, [](RichTextBox& box) { box.Cut(); }},
        {"menu Cut", 3, 3, menuItem("Cu&t")},
        {"menu Delete", 3, 3, menuItem("Delete")},
        {"Ctrl+V over", 4, 2, key(Qt::Key_V, Qt::ControlModifier)},
        {"Paste inside", 6, 0, [](RichTextBox& box) { box.Paste(); }},
        {"input method inside", 6, 0, commit(QString(QChar(0x4E2D)))},
        {"setSelText", 4, 4, [](RichTextBox& box) { box.setSelText("NEW"); }},
        {"setSelBold", 4, 4, [](RichTextBox& box) { box.setSelBold(true); }},
        {"setSelRTF", 4, 4, [](RichTextBox& box) { box.setSelRTF("{\\rtf1 x}"); }},
        {"base cut", 2, 4, base([](QTextEdit& e) {
             e.cut();  // it copies before the removal is refused
             QApplication::clipboard()->setText("PASTE");
         })},
        {"base insertPlainText over", 2, 4, base([](QTextEdit& e) { e.insertPlainText("x"); })},
        {"base insertHtml over", 2, 4, base([](QTextEdit& e) { e.insertHtml("<b>x</b>"); })},
        {"base setTextColor", 5, 2, base([](QTextEdit& e) { e.setTextColor(Qt::green); })},
        {"base insertPlainText inside", 6, 0, base([](QTextEdit& e) { e.insertPlainText("x"); })},
        {"a document cursor deleting", 0, 0, base(deleteCharAt7)},
    };
    protectedSample();
    const std::string before = box.TextRTF();
    QSignalSpy changes(&box, &RichTextBox::Change);
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        QApplication::clipboard()->setText("PASTE");
        box.select(edit.start, edit.length);
        beeps = 0;
        edit.make(box);
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(box.TextRTF(), before);
        EXPECT_EQ(QApplication::clipboard()->text(), QString("PASTE"));
    }
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(RichTextBoxTest, EditsBesideProtectedTextGoThroughWithoutABeep) {
    const struct {
        Edit edit;
        const char* text;
        const char* clipboard = "PASTE";
    } cases[] = {
        {{"typing at its start", 4, 0, key(Qt::Key_X)}, "aaa xLINK bbb"},
        {{"Backspace at the end", 12, 0, key(Qt::Key_Backspace)}, "aaa LINK bb"},
        {{"Ctrl+X after", 8, 4, key(Qt::Key_X, Qt::ControlModifier)}, "aaa LINK", " bbb"},
        {{"Paste at the start", 0, 0, [](RichTextBox& box) { box.Paste(); }}, "PASTEaaa LINK bbb"},
        {{"input method at the start", 0, 0, commit("z")}, "zaaa LINK bbb"},
        {{"base insertPlainText at the end", 12, 0, base([](QTextEdit& e) { e.insertPlainText("!"); })},
         "aaa LINK bbb!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit.name);
        protectedSample();
        QSignalSpy changes(&box, &RichTextBox::Change);
        QApplication::clipboard()->setText("PASTE");
        box.select(c.edit.start, c.edit.length);
        c.edit.make(box);
        EXPECT_EQ(box.Text(), QString(c.text));
        EXPECT_EQ(QApplication::clipboard()->text(), QString(c.clipboard));
        EXPECT_EQ(changes.count(), 1);
        EXPECT_EQ(beeps, 0);
    }
    QTextCursor(box.document()).insertText("");  // no edit at all
    EXPECT_EQ(beeps, 0);
}

TEST_F(RichTextBoxTest, DropInsideProtectedTextIsRefused) {
    protectedSample();
    QMimeData mime;
    mime.setText("DROP");
    // Qt delivers drops to the widget that accepted the drag's entry.
    QDragEnterEvent enter(pointOf(1), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent over(pointOf(6), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &over);
    EXPECT_FALSE(over.isAccepted());
    QDropEvent inside(QPointF(pointOf(6)), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &inside);
    EXPECT_FALSE(inside.isAccepted());
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 1);
    QApplication::sendEvent(box.viewport(), &enter);
    QDropEvent outside(QPointF(pointOf(1)) - QPointF(2, 0), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &outside);
    EXPECT_TRUE(box.Text().contains("DROP"));
}

// Presses inside the selection at `pos` and drags; answers the actions the
// drag offered (the offscreen platform ends every drag at once).
int dragActionsFrom(RichTextBox& box, QPoint pos) {
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, pos);
    QPoint to = pos + QPoint(60, 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), box.viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &move);
    int actions = 0;
    for (QDrag* drag : box.findChildren<QDrag*>()) {
        actions |= static_cast<int>(drag->supportedActions());
        delete drag;
    }
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, to);
    return actions;
}

TEST_F(RichTextBoxTest, DraggingProtectedTextOutOffersOnlyACopy) {
    protectedSample();
    box.select(4, 4);
    EXPECT_EQ(dragActionsFrom(box, pointOf(5)), static_cast<int>(Qt::CopyAction));
    EXPECT_TRUE(box.textInteractionFlags() & Qt::TextEditable);  // editable again afterwards
    box.select(8, 4);
    EXPECT_TRUE(dragActionsFrom(box, pointOf(9)) & Qt::MoveAction);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
}

TEST_F(RichTextBoxTest, ProgramEditsGoThroughOnceProtectionIsLifted) {
    protectedSample();
    box.select(4, 4);
    box.setSelProtected(false);
    EXPECT_EQ(box.SelProtected(), Tristate::Off);
    box.setSelBold(true);
    EXPECT_EQ(box.SelBold(), Tristate::On);
    box.setSelText("NEW");
    EXPECT_EQ(box.Text(), QString("aaa NEW bbb"));
    EXPECT_EQ(box.SelStart(), 7);  // caret after the new text
    EXPECT_EQ(beeps, 0);
}

TEST_F(RichTextBoxTest, ProtectionSurvivesTheRtfRoundTrip) {
    protectedSample();
    RichTextBox other;
    other.setTextRTF(box.TextRTF());
    other.select(5, 1);
    EXPECT_EQ(other.SelProtected(), Tristate::On);
    other.select(2, 4);
    EXPECT_EQ(other.SelProtected(), Tristate::Mixed);
}

// Random edits by keys, clipboard and program over a document with one
// protected word: the word always survives whole and protected, and every
// refused edit beeps.
TEST_F(RichTextBoxTest, RandomEditsNeverChangeProtectedText) {
    box.setText("one two LINK three\r\nfour");
    box.select(8, 4);
    box.setSelProtected(true);
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 400; ++step) {
        const int total = static_cast<int>(box.Text().size());
        box.select(pick(total + 1), pick(4));
        switch (pick(9)) {
        case 0: QTest::keyClick(&box, Qt::Key_X); break;
        case 1: QTest::keyClick(&box, Qt::Key_Backspace); break;
        case 2: QTest::keyClick(&box, Qt::Key_Delete); break;
        case 3: QTest::keyClick(&box, Qt::Key_Return); break;
        case 4: box.setSelText("yz"); break;
        case 5: box.Cut(); break;
        case 6: box.Copy(); break;
        case 7: box.Paste(); break;
        default: box.setSelBold(pick(2) == 0); break;
        }
        const QString text = box.Text();
        const int at = static_cast<int>(text.indexOf("LINK"));
        ASSERT_GE(at, 0) << "step " << step << ": " << text.toStdString();
        box.select(at, 4);
        ASSERT_EQ(box.SelProtected(), Tristate::On) << "step " << step;
    }
    EXPECT_GT(beeps, 0);
}

TEST_F(RichTextBoxTest, ThereIsNoUndo) {
    QTest::keyClicks(&box, "abc");
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), QString("abc"));
    EXPECT_FALSE(box.document()->isUndoAvailable());
    box.setTextRTF("{\\rtf1 hello}");
    QTest::keyClicks(&box, "x");
    QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), QString("xhello"));
    std::unique_ptr<QMenu> menu(box.createContextMenu());
    for (QAction* action : menu->actions())
        if (action->text().contains("Undo") || action->text().contains("Redo")) { EXPECT_FALSE(action->isEnabled()); }
}

// --- Events ----------------------------------------------------------------

TEST_F(RichTextBoxTest, ChangeFollowsEveryTextChangeAndComesBeforeSelChange) {
    QSignalSpy changes(&box, &RichTextBox::Change);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(changes.count(), 2);
    box.setSelText("c");
    EXPECT_EQ(changes.count(), 3);
    box.setTextRTF("{\\rtf1 x}");
    EXPECT_EQ(changes.count(), 4);
    box.setSelStart(1);  // selection only
    EXPECT_EQ(changes.count(), 4);

    QStringList order;  // typing raises Change before SelChange
    QObject::connect(&box, &RichTextBox::Change, [&] { order << "change"; });
    QObject::connect(&box, &RichTextBox::SelChange, [&] { order << "sel"; });
    QTest::keyClicks(&box, "a");
    EXPECT_EQ(order, QStringList({"change", "sel"}));
}

TEST_F(RichTextBoxTest, SelChangeFollowsSelectionChangesOnly) {
    box.setText("hello world");
    QSignalSpy selections(&box, &RichTextBox::SelChange);
    box.setSelStart(3);
    EXPECT_EQ(selections.count(), 1);
    box.setSelStart(3);
    EXPECT_EQ(selections.count(), 1);
    box.setSelLength(2);
    EXPECT_EQ(selections.count(), 2);
    QTest::keyClick(&box, Qt::Key_Right);
    EXPECT_EQ(selections.count(), 3);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, pointOf(8));
    EXPECT_EQ(selections.count(), 4);
}

TEST_F(RichTextBoxTest, KeyDownAndKeyUpReportCodesAndKeyDownCanSwallowTheKey) {
    QList<QPair<int, int>> seen, ups;
    QObject::connect(&box, &RichTextBox::KeyUp, [&](int& code, int& shift) {
        if (code < 16 || code > 18) ups.append({code, shift});
    });
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int& shift) {
        if (code >= 16 && code <= 18) return;  // the modifier keys themselves
        seen.append({code, shift});
        if (code == 65) code = 0;  // swallow "a"
    });
    QTest::keyClick(&box, Qt::Key_A);
    QTest::keyClick(&box, Qt::Key_B, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Exclam, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(box.Text(), QString("b"));
    const QList<QPair<int, int>> expected{{65, 0}, {66, 1}, {49, 1}, {8, 0}, {112, 6}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(ups, expected);
}

TEST_F(RichTextBoxTest, EditsMadeByAKeyDownHandlerReportAtOnce) {
    box.setText("abc");
    box.setSelStart(1);
    bool inHandler = false;
    int changesInHandler = 0;
    QObject::connect(&box, &RichTextBox::Change, [&] { changesInHandler += inHandler; });
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int&) {
        if (code == 46) {
            inHandler = true;
            box.select(0, 1);
            box.setSelUnderline(true);
            inHandler = false;
        }
    });
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(changesInHandler, 1);
}

TEST_F(RichTextBoxTest, AKeyDownHandlerCanUnprotectBeforeTheKeyActs) {
    protectedSample();
    box.setSelStart(8);  // right after the protected run
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int&) {
        if (code == 8) {
            box.select(4, 4);
            box.setSelProtected(false);
        }
        if (code == 65 && box.SelProtected() == Tristate::On)
            box.setSelProtected(false);  // typing after protected text starts plain text
    });
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), QString("aaa  bbb"));
    EXPECT_EQ(beeps, 0);

    protectedSample();
    box.setSelStart(8);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_EQ(box.Text(), QString("aaa LINKa bbb"));
    box.select(8, 1);
    EXPECT_EQ(box.SelProtected(), Tristate::Off);
}

TEST_F(RichTextBoxTest, MouseEventsCarryTwips) {
    box.setText("hello");
    QList<QList<int>> ups;
    QObject::connect(&box, &RichTextBox::MouseUp,
                     [&](int b, int s, int x, int y) { ups.append({b, s, x, y}); });
    QPoint p(20, 10);
    QTest::mouseClick(box.viewport(), Qt::RightButton, Qt::ControlModifier, p);
    ASSERT_EQ(ups.size(), 1);
    EXPECT_EQ(ups[0], (QList<int>{2, 2, 20 * box.TwipsPerPixelX(), 10 * box.TwipsPerPixelY()}));

    QList<QList<int>> moves;  // moves are reported without a button held
    QObject::connect(&box, &RichTextBox::MouseMove, [&](int b, int s, int x, int y) { moves.append({b, s, x, y}); });
    QPoint m(30, 12);
    QMouseEvent move(QEvent::MouseMove, QPointF(m), box.viewport()->mapToGlobal(QPointF(m)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &move);
    ASSERT_FALSE(moves.isEmpty());
    EXPECT_EQ(moves.last(), (QList<int>{0, 0, 30 * box.TwipsPerPixelX(), 12 * box.TwipsPerPixelY()}));
}

}  // namespace
}  // namespace tamix::controls
