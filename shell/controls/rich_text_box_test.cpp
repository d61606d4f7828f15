#include "rich_text_box.h"

#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "controls_test_app.h"
#include "tamix_error.h"

namespace tamix::controls {
namespace {

class RichTextBoxTest : public WithTestApp, public ::testing::Test {
protected:
    void SetUp() override {
        box.resize(400, 300);
        box.setBeep([this] { ++beeps; });
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    // "aaa LINK bbb" with LINK (positions 4..7) protected.
    void protectedSample() {
        box.setText("aaa LINK bbb");
        box.select(4, 4);
        box.setSelProtected(true);
    }

    // Pixel centre of the character at editor position `pos`.
    QPoint pointOf(int pos) {
        QTextCursor c(box.document());
        c.setPosition(box.toDocumentPosition(pos));
        QRect left = box.cursorRect(c);
        c.movePosition(QTextCursor::NextCharacter);
        QRect right = box.cursorRect(c);
        return {(left.x() + right.x()) / 2, left.center().y()};
    }

    RichTextBox box;
    int beeps = 0;
};

// --- Positions -----------------------------------------------------------

TEST_F(RichTextBoxTest, TypedParagraphsCountEachBreakAsTwo) {
    QTest::keyClicks(&box, "ab");
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "cd");
    EXPECT_EQ(box.Text(), QString("ab\r\ncd"));
    EXPECT_EQ(box.SelStart(), 6);
    box.select(4, 2);
    EXPECT_EQ(box.SelText(), QString("cd"));
    box.select(1, 4);
    EXPECT_EQ(box.SelText(), QString("b\r\nc"));
    EXPECT_EQ(box.SelLength(), 4);
}

TEST_F(RichTextBoxTest, NoPositionFallsBetweenCrAndLf) {
    box.setText("ab\r\ncd");
    box.setSelStart(3);
    EXPECT_EQ(box.SelStart(), 2);
    box.select(0, 3);
    EXPECT_EQ(box.SelText(), QString("ab"));
    box.setSelStart(100);
    EXPECT_EQ(box.SelStart(), 6);
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
    QString text = box.Text();
    EXPECT_EQ(text, QString("a\tb\vc") + QChar(QChar::ObjectReplacementCharacter) + "\r\nz");
    EXPECT_EQ(box.SelStart(), 9);
    EXPECT_EQ(box.Find("z"), 8);
    box.select(0, static_cast<int>(text.size()));
    EXPECT_EQ(box.SelText(), text);
}

TEST_F(RichTextBoxTest, TextMidAtSelectionIsSelText) {
    box.setText("one\r\n\r\ntwo\vthree\r\nfour");
    const QString all = box.Text();
    for (int start = 0; start <= all.size(); ++start) {
        for (int length = 0; start + length <= all.size(); ++length) {
            box.select(start, length);
            EXPECT_EQ(all.mid(box.SelStart(), box.SelLength()), box.SelText()) << start << "+" << length;
        }
    }
}

TEST_F(RichTextBoxTest, CharFromPosFindsTheCharacterUnderThePoint) {
    EXPECT_EQ(box.CharFromPos({5, 5}), -1);  // nothing to point at
    box.setText("first line\r\nsecond");
    EXPECT_EQ(box.CharFromPos(pointOf(3)), 3);
    EXPECT_EQ(box.CharFromPos(pointOf(14)), 14);  // "c" of "second"
}

// --- Protection -----------------------------------------------------------

TEST_F(RichTextBoxTest, TypingInsideProtectedTextBeepsAndChangesNothing) {
    protectedSample();
    QSignalSpy changes(&box, &RichTextBox::Change);
    box.setSelStart(6);
    QTest::keyClicks(&box, "x");
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(RichTextBoxTest, TypingOverASelectionThatTouchesProtectedTextIsRefused) {
    protectedSample();
    box.select(2, 4);
    QTest::keyClicks(&box, "x");
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 1);
}

TEST_F(RichTextBoxTest, TypingAtTheEdgeOfProtectedTextIsAllowed) {
    protectedSample();
    box.setSelStart(3);
    QTest::keyClicks(&box, "x");
    EXPECT_EQ(box.Text(), QString("aaax LINK bbb"));
    EXPECT_EQ(beeps, 0);
}

TEST_F(RichTextBoxTest, DeletingKeysRefuseProtectedCharacters) {
    protectedSample();
    box.setSelStart(8);
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.setSelStart(4);
    QTest::keyClick(&box, Qt::Key_Delete);
    box.setSelStart(8);
    QTest::keyClick(&box, Qt::Key_Backspace, Qt::ControlModifier);
    box.setSelStart(4);
    QTest::keyClick(&box, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 4);
    box.setSelStart(12);
    QTest::keyClick(&box, Qt::Key_Backspace);  // unprotected text still goes
    EXPECT_EQ(box.Text(), QString("aaa LINK bb"));
}

TEST_F(RichTextBoxTest, CutByKeysMenuAndProgramIsRefused) {
    protectedSample();
    QApplication::clipboard()->setText("before");
    box.select(3, 3);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete, Qt::ShiftModifier);
    box.Cut();
    std::unique_ptr<QMenu> menu(box.createContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->text() == "Cu&t" || action->text() == "Delete") {
            action->trigger();
        }
    }
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 5);
    EXPECT_EQ(QApplication::clipboard()->text(), QString("before"));
}

TEST_F(RichTextBoxTest, PasteOverOrIntoProtectedTextIsRefused) {
    protectedSample();
    QApplication::clipboard()->setText("PASTE");
    box.select(4, 2);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    box.setSelStart(6);
    box.Paste();
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 2);
    box.setSelStart(0);
    box.Paste();
    EXPECT_EQ(box.Text(), QString("PASTEaaa LINK bbb"));
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
    int protectedDrag = dragActionsFrom(box, pointOf(5));
    EXPECT_EQ(protectedDrag, static_cast<int>(Qt::CopyAction));
    EXPECT_TRUE(box.textInteractionFlags() & Qt::TextEditable);  // editable again afterwards
    box.select(8, 4);
    int plainDrag = dragActionsFrom(box, pointOf(9));
    EXPECT_TRUE(plainDrag & Qt::MoveAction);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
}

TEST_F(RichTextBoxTest, InputMethodCommitInsideProtectedTextIsRefused) {
    protectedSample();
    box.setSelStart(6);
    QInputMethodEvent commit;
    commit.setCommitString(QString(QChar(0x4E2D)));
    QApplication::sendEvent(&box, &commit);
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(beeps, 1);
    box.setSelStart(0);
    QInputMethodEvent allowed;
    allowed.setCommitString("z");
    QApplication::sendEvent(&box, &allowed);
    EXPECT_EQ(box.Text(), QString("zaaa LINK bbb"));
}

TEST_F(RichTextBoxTest, ProgramEditsObeyProtectionUntilItIsLifted) {
    protectedSample();
    box.select(4, 4);
    box.setSelText("NEW");
    box.setSelBold(true);
    box.setSelRTF("{\\rtf1 x}");
    EXPECT_EQ(box.Text(), QString("aaa LINK bbb"));
    EXPECT_EQ(box.SelBold(), Tristate::Off);
    EXPECT_EQ(beeps, 3);
    box.setSelProtected(false);
    EXPECT_EQ(box.SelProtected(), Tristate::Off);
    box.setSelBold(true);
    EXPECT_EQ(box.SelBold(), Tristate::On);
    box.setSelText("NEW");
    EXPECT_EQ(box.Text(), QString("aaa NEW bbb"));
    EXPECT_EQ(box.SelStart(), 7);  // caret after the new text
    EXPECT_EQ(beeps, 3);
}

TEST_F(RichTextBoxTest, ProtectionSurvivesTheRtfRoundTrip) {
    protectedSample();
    std::string rtf = box.TextRTF();
    RichTextBox other;
    other.setTextRTF(rtf);
    other.select(5, 1);
    EXPECT_EQ(other.SelProtected(), Tristate::On);
    other.select(2, 4);
    EXPECT_EQ(other.SelProtected(), Tristate::Mixed);
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
    for (QAction* action : menu->actions()) {
        if (action->text().contains("Undo") || action->text().contains("Redo")) {
            EXPECT_FALSE(action->isEnabled());
        }
    }
}

// --- Events ----------------------------------------------------------------

TEST_F(RichTextBoxTest, ChangeFollowsEveryTextChangeAndProgramChangesToo) {
    QSignalSpy changes(&box, &RichTextBox::Change);
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(changes.count(), 2);
    box.setSelText("c");
    EXPECT_EQ(changes.count(), 3);
    box.setTextRTF("{\\rtf1 x}");
    EXPECT_EQ(changes.count(), 4);
    box.setSelStart(1);  // selection only
    EXPECT_EQ(changes.count(), 4);
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

TEST_F(RichTextBoxTest, TypingRaisesChangeBeforeSelChange) {
    QStringList order;
    QObject::connect(&box, &RichTextBox::Change, [&] { order << "change"; });
    QObject::connect(&box, &RichTextBox::SelChange, [&] { order << "sel"; });
    QTest::keyClicks(&box, "a");
    EXPECT_EQ(order, QStringList({"change", "sel"}));
}

TEST_F(RichTextBoxTest, KeyDownReportsCodesAndCanSwallowTheKey) {
    QList<QPair<int, int>> seen;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& code, int& shift) {
        if (code >= 16 && code <= 18) {
            return;  // the modifier keys themselves
        }
        seen.append({code, shift});
        if (code == 65) {
            code = 0;  // swallow "a"
        }
    });
    QTest::keyClick(&box, Qt::Key_A);
    QTest::keyClick(&box, Qt::Key_B, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Exclam, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(box.Text(), QString("b"));
    ASSERT_EQ(seen.size(), 5);
    EXPECT_EQ(seen[0], qMakePair(65, 0));
    EXPECT_EQ(seen[1], qMakePair(66, 1));
    EXPECT_EQ(seen[2], qMakePair(49, 1));
    EXPECT_EQ(seen[3], qMakePair(8, 0));
    EXPECT_EQ(seen[4], qMakePair(112, 6));
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

TEST_F(RichTextBoxTest, KeyUpReportsCodeAndShift) {
    QList<QPair<int, int>> seen;
    QObject::connect(&box, &RichTextBox::KeyUp, [&](int& code, int& shift) {
        if (code < 16 || code > 18) {
            seen.append({code, shift});
        }
    });
    QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), qMakePair(66, 2));
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
}

TEST_F(RichTextBoxTest, MouseMoveIsReportedWithoutAButtonHeld) {
    QList<QList<int>> moves;
    QObject::connect(&box, &RichTextBox::MouseMove,
                     [&](int b, int s, int x, int y) { moves.append({b, s, x, y}); });
    QPoint p(30, 12);
    QMouseEvent move(QEvent::MouseMove, QPointF(p), box.viewport()->mapToGlobal(QPointF(p)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &move);
    ASSERT_FALSE(moves.isEmpty());
    EXPECT_EQ(moves.last(), (QList<int>{0, 0, 30 * box.TwipsPerPixelX(), 12 * box.TwipsPerPixelY()}));
}

TEST_F(RichTextBoxTest, FocusEventsAreRaised) {
    QLineEdit other;
    other.show();
    int got = 0;
    int lost = 0;
    QObject::connect(&box, &RichTextBox::GotFocus, [&] { ++got; });
    QObject::connect(&box, &RichTextBox::LostFocus, [&] { ++lost; });
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(&box, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&box, &out);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(lost, 1);
}

// --- Formats ---------------------------------------------------------------

TEST_F(RichTextBoxTest, CharacterFormatsReportMixedOverTheSelection) {
    box.setText("plain bold");
    box.select(6, 4);
    box.setSelBold(true);
    box.setSelFontName("Serif");
    box.setSelFontSize(14);
    box.setSelColor(0x00FF0000);  // blue
    EXPECT_EQ(box.SelColor(), std::optional<quint32>(0x00FF0000));
    box.select(3, 5);
    EXPECT_EQ(box.SelBold(), Tristate::Mixed);
    EXPECT_EQ(box.SelFontName(), std::nullopt);
    EXPECT_EQ(box.SelFontSize(), std::nullopt);
    EXPECT_EQ(box.SelColor(), std::nullopt);
    EXPECT_EQ(box.SelItalic(), Tristate::Off);
    box.setSelBold(true);
    EXPECT_EQ(box.SelBold(), Tristate::On);
    box.select(0, 2);
    EXPECT_EQ(box.SelColor(), std::optional<quint32>(0));
    EXPECT_EQ(box.SelFontName(), box.FontName());
}

TEST_F(RichTextBoxTest, CaretReportsTheTypingFormat) {
    box.setText("ab");
    box.select(0, 1);
    box.setSelItalic(true);
    box.setSelStart(1);  // after the italic "a"
    EXPECT_EQ(box.SelItalic(), Tristate::On);
    box.setSelItalic(false);
    QTest::keyClicks(&box, "x");
    box.select(1, 1);
    EXPECT_EQ(box.SelItalic(), Tristate::Off);
}

TEST_F(RichTextBoxTest, ParagraphFormatsCoverEveryTouchedParagraph) {
    box.setText("one\r\ntwo\r\nthree");
    box.select(0, 6);  // "one" and the first letters of "two"
    box.setSelAlignment(2);
    EXPECT_EQ(box.SelAlignment(), std::optional<int>(2));
    box.select(0, box.Text().size());
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    box.setSelBullet(true);
    EXPECT_EQ(box.SelBullet(), Tristate::On);
    box.setSelStart(12);
    box.setSelBullet(false);
    box.select(0, box.Text().size());
    EXPECT_EQ(box.SelBullet(), Tristate::Mixed);
}

TEST_F(RichTextBoxTest, IndentsAreTwipsAndReachTheRtf) {
    box.setText("para");
    box.setSelIndent(720);
    box.setSelHangingIndent(360);
    box.setSelRightIndent(144);
    EXPECT_EQ(box.SelIndent(), std::optional<double>(720));
    EXPECT_EQ(box.SelHangingIndent(), std::optional<double>(360));
    EXPECT_EQ(box.SelRightIndent(), std::optional<double>(144));
    std::string rtf = box.TextRTF();
    EXPECT_NE(rtf.find("\\li1080"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fi-360"), std::string::npos) << rtf;
    box.setSelIndent(0);
    EXPECT_EQ(box.SelHangingIndent(), std::optional<double>(360));
}

TEST_F(RichTextBoxTest, BulletIndentIsKeptPerParagraph) {
    box.setText("item");
    box.setSelBullet(true);
    EXPECT_EQ(box.BulletIndent(), 360);
    box.setBulletIndent(540);
    EXPECT_EQ(box.BulletIndent(), 540);
    EXPECT_NE(box.TextRTF().find("\\pnindent540"), std::string::npos);
}

TEST_F(RichTextBoxTest, BaseFontGivesTheEmptyDocumentItsFont) {
    box.setFontName("DejaVu Serif");
    box.setFontSize(11);
    box.setText("");
    std::string rtf = box.TextRTF();
    EXPECT_NE(rtf.find("DejaVu Serif"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs22"), std::string::npos) << rtf;
    QTest::keyClicks(&box, "x");
    box.select(0, 1);
    EXPECT_EQ(box.SelFontSize(), std::optional<double>(11));
}

// --- Find -------------------------------------------------------------------

TEST_F(RichTextBoxTest, FindIgnoresCaseUnlessAskedAndSelectsTheMatch) {
    box.setText("first\r\nThe Word and word");
    EXPECT_EQ(box.Find("word"), 11);
    EXPECT_EQ(box.SelStart(), 11);
    EXPECT_EQ(box.SelText(), QString("Word"));
    EXPECT_EQ(box.Find("word", 0, -1, RichTextBox::kFindMatchCase), 20);
    EXPECT_EQ(box.Find("WORD", 0, -1, RichTextBox::kFindMatchCase), -1);
    EXPECT_EQ(box.SelStart(), 20);  // a miss leaves the selection alone
}

TEST_F(RichTextBoxTest, FindWholeWordSkipsWordsInsideWords) {
    box.setText("swordfish sword");
    EXPECT_EQ(box.Find("sword"), 0);
    EXPECT_EQ(box.Find("sword", 0, -1, RichTextBox::kFindWholeWord), 10);
    EXPECT_EQ(box.Find("SWORD", 0, -1, RichTextBox::kFindWholeWord | RichTextBox::kFindMatchCase), -1);
}

TEST_F(RichTextBoxTest, FindSearchesOnlyBetweenStartAndEnd) {
    box.setText("aXa aXa");
    EXPECT_EQ(box.Find("x", 2), 5);
    EXPECT_EQ(box.Find("x", 2, 5), -1);
    EXPECT_EQ(box.Find("x", 2, 6), 5);
    EXPECT_EQ(box.Find(""), -1);
}

// --- Files and clipboard -----------------------------------------------------

TEST_F(RichTextBoxTest, LoadFileReadsRtfOrPlainText) {
    QTemporaryDir dir;
    QString rtfPath = dir.filePath("a.rtf");
    QFile rtf(rtfPath);
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1\\ansi {\\b bold}\\par next}");
    rtf.close();
    box.LoadFile(rtfPath);
    EXPECT_EQ(box.Text(), QString("bold\r\nnext"));
    box.select(0, 4);
    EXPECT_EQ(box.SelBold(), Tristate::On);

    QString txtPath = dir.filePath("b.txt");
    QFile txt(txtPath);
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.write("caf\xE9\nline two\r\nend");  // Windows-1252, mixed breaks
    txt.close();
    box.setFontName("DejaVu Sans");
    box.LoadFile(txtPath);
    EXPECT_EQ(box.Text(), QString::fromUtf8("caf\xC3\xA9\r\nline two\r\nend"));
    box.select(0, 3);
    EXPECT_EQ(box.SelFontName(), std::optional<QString>("DejaVu Sans"));
}

TEST_F(RichTextBoxTest, LoadFileOfAMissingFileThrowsAndKeepsTheText) {
    box.setText("keep");
    try {
        box.LoadFile("/nonexistent/dir/x.rtf");
        FAIL() << "no error";
    } catch (const TamixError& e) {
        EXPECT_EQ(e.number(), kErrFileNotFound);
    }
    EXPECT_EQ(box.Text(), QString("keep"));
}

TEST_F(RichTextBoxTest, SaveFileWritesRtfThatLoadsBackOrCrLfText) {
    QTemporaryDir dir;
    box.setText("one\r\ntwo");
    box.select(0, 3);
    box.setSelUnderline(true);
    box.SaveFile(dir.filePath("x.rtf"), RichTextBox::kFileRtf);
    box.SaveFile(dir.filePath("x.txt"), RichTextBox::kFileText);
    QFile txt(dir.filePath("x.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    EXPECT_EQ(txt.readAll(), QByteArray("one\r\ntwo"));
    RichTextBox other;
    other.LoadFile(dir.filePath("x.rtf"));
    EXPECT_EQ(other.Text(), box.Text());
    other.select(0, 3);
    EXPECT_EQ(other.SelUnderline(), Tristate::On);
    EXPECT_THROW(box.SaveFile(dir.filePath("x.bin"), 7), TamixError);
}

TEST_F(RichTextBoxTest, CopyPutsRtfAndCrLfTextOnTheClipboard) {
    box.setText("ab\r\ncd");
    box.select(1, 4);
    box.setSelBold(true);
    box.Copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QString("b\r\nc"));
    EXPECT_TRUE(mime->data("text/rtf").startsWith("{\\rtf"));
    RichTextBox other;
    other.Paste();
    EXPECT_EQ(other.Text(), QString("b\r\nc"));
    other.select(0, 1);
    EXPECT_EQ(other.SelBold(), Tristate::On);
}

TEST_F(RichTextBoxTest, PastedPlainTextCountsItsBreaksAsTwo) {
    QApplication::clipboard()->setText("x\ny\n");
    box.Paste();
    EXPECT_EQ(box.Text(), QString("x\r\ny\r\n"));
    EXPECT_EQ(box.SelStart(), 6);
}

TEST_F(RichTextBoxTest, CutRemovesUnprotectedSelection) {
    box.setText("hello world");
    box.select(5, 6);
    QTest::keyClick(&box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), QString("hello"));
    EXPECT_EQ(QApplication::clipboard()->text(), QString(" world"));
}

TEST_F(RichTextBoxTest, MousePointerAndTabStop) {
    box.setMousePointer(1);
    EXPECT_EQ(box.viewport()->cursor().shape(), Qt::ArrowCursor);
    box.setMousePointer(0);
    EXPECT_EQ(box.viewport()->cursor().shape(), Qt::IBeamCursor);
    box.setTabStop(false);
    EXPECT_FALSE(box.TabStop());
}

}  // namespace
}  // namespace tamix::controls
