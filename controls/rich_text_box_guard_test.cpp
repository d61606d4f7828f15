#include "controls/rich_text_box_guard.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "rtf/text_document_adapter.h"
#include "testing/test_app.h"

namespace tamix::controls {
namespace {

constexpr int kProtected = rtf::TextDocumentAdapter::ProtectedProperty;

// "aaa LINK bbb" with LINK (4..7) protected and blue, watched by a guard.
class RichTextBoxGuardTest : public WithTestApp, public ::testing::Test {
protected:
    void SetUp() override {
        document.setPlainText("aaa LINK bbb");
        protect(4, 8);
        guard.watch(&document);
        QObject::connect(&guard, &RichTextBoxGuard::changed, [this] { ++changes; });
        QObject::connect(&guard, &RichTextBoxGuard::refused, [this] { ++refusals; });
    }

    void protect(int from, int to) {
        QTextCharFormat format;
        format.setProperty(kProtected, true);
        format.setForeground(Qt::blue);
        range(from, to).mergeCharFormat(format);
    }

    QTextCursor range(int from, int to) {
        QTextCursor c(&document);
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        return c;
    }

    QString text() const { return document.toPlainText(); }

    QTextDocument document;
    RichTextBoxGuard guard;
    int changes = 0;
    int refusals = 0;
};

TEST_F(RichTextBoxGuardTest, TextAtARunsEdgesIsKeptAndTheRunFollowed) {
    range(8, 8).insertText("+");
    range(4, 4).insertText("-");
    range(0, 0).insertText("\n");
    EXPECT_EQ(text(), QString("\naaa -LINK+ bbb"));
    EXPECT_EQ(changes, 3);
    range(7, 8).removeSelectedText();  // "I", where the run is now
    EXPECT_EQ(text(), QString("\naaa -LINK+ bbb"));
    EXPECT_EQ(refusals, 1);
    EXPECT_FALSE(document.isUndoAvailable());  // the guard keeps no history
}

TEST_F(RichTextBoxGuardTest, AnEditThatMovesAnEqualRunIntoAnothersPlaceIsTakenBack) {
    document.setPlainText("Xa X");
    protect(0, 1);
    protect(3, 4);
    ASSERT_EQ(guard.runCount(), 2);
    range(0, 3).removeSelectedText();  // the second X lands where the first was
    EXPECT_EQ(text(), QString("Xa X"));
    EXPECT_EQ(refusals, 1);
}

TEST_F(RichTextBoxGuardTest, ProtectedTextAnEditAddsIsGuardedFromThen) {
    QTextCharFormat format;
    format.setProperty(kProtected, true);
    range(0, 0).insertText("NEW ", format);
    EXPECT_EQ(guard.runCount(), 2);
    range(1, 2).removeSelectedText();
    EXPECT_EQ(text(), QString("NEW aaa LINK bbb"));
    EXPECT_EQ(refusals, 1);
}

TEST_F(RichTextBoxGuardTest, LoadsAndTrustedEditsAreKept) {
    {
        RichTextBoxGuard::Trust trust(guard);
        range(4, 8).removeSelectedText();
    }
    EXPECT_EQ(text(), QString("aaa  bbb"));
    EXPECT_EQ(guard.runCount(), 0);
    protect(0, 3);  // not trusted, but it changes no protected text
    EXPECT_EQ(guard.runCount(), 1);
    document.setPlainText("loaded");  // turns the undo stack off while it loads
    document.clear();
    EXPECT_TRUE(document.isEmpty());
    EXPECT_EQ(refusals, 0);
    range(0, 0).insertText("after");
    EXPECT_EQ(text(), QString("after"));
    EXPECT_EQ(guard.runCount(), 0);
}

}  // namespace
}  // namespace tamix::controls
