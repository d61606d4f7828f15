#pragma once

#include <QPoint>
#include <QRect>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

#include "testing/test_app.h"
#include "controls/rich_text_box.h"

namespace tamix::controls {

// A shown editor whose beeps are counted.
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

}  // namespace tamix::controls
