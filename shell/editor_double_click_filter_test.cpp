#include "shell/editor_double_click_filter.h"

#include "controls/rich_text_box.h"
#include "testing/test_app.h"

#include <QTest>
#include <gtest/gtest.h>

namespace tamix {
namespace {

class DoubleClickTest : public ::testing::Test {
protected:
    DoubleClickTest() : ready_((testApp(), true)) {
        editor_.resize(400, 200);
        editor_.setText("hello world");
        editor_.show();
    }
    // A double click in the middle of the first word.
    void doubleClickOnHello() {
        editor_.setSelStart(0);
        QTextCursor at(editor_.document());
        at.setPosition(2);
        const QPoint p = editor_.cursorRect(at).center();
        QTest::mouseDClick(editor_.viewport(), Qt::LeftButton, {}, p);
    }

    bool ready_;
    controls::RichTextBox editor_;
    int hovered_ = 0;
    QList<int> followed_;
    EditorDoubleClickFilter filter_{editor_, [this] { return hovered_; }, [this](int i) { followed_ << i; }};
};

TEST_F(DoubleClickTest, AwayFromLinksTheEditorSelectsTheWord) {
    filter_.install();
    doubleClickOnHello();
    EXPECT_TRUE(followed_.isEmpty());
    EXPECT_EQ(editor_.SelText(), "hello");
}

TEST_F(DoubleClickTest, OverALinkTheLinkIsFollowedAndNoWordSelected) {
    filter_.install();
    hovered_ = 3;
    doubleClickOnHello();
    EXPECT_EQ(followed_, QList<int>{3});
    EXPECT_EQ(editor_.SelLength(), 0);
}

TEST_F(DoubleClickTest, UninstalledFilterLeavesDoubleClicksToTheEditor) {
    filter_.install();
    filter_.uninstall();
    EXPECT_FALSE(filter_.installed());
    hovered_ = 3;
    doubleClickOnHello();
    EXPECT_TRUE(followed_.isEmpty());
    EXPECT_EQ(editor_.SelText(), "hello");
}

}  // namespace
}  // namespace tamix
