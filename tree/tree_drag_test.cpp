#include "tree_drag.h"

#include "note_test_fixture.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <functional>

namespace tamix {
namespace {

using testing::NoteFixture;
using testing::Record;
using testing::makeDatabase;
using testing::rtfOf;

class TreeDragTest : public NoteFixture {
protected:
    TreeDragTest() {
        QObject::connect(&tree_, &controls::TreeView::MouseDown,
                         [this](int b, int s, int x, int y) { drag_.tree_MouseDown(b, s, x, y); });
        QObject::connect(&tree_, &controls::TreeView::MouseMove,
                         [this](int b, int s, int x, int y) { drag_.tree_MouseMove(b, s, x, y); });
        QObject::connect(&tree_, &controls::TreeView::MouseUp,
                         [this](int b, int s, int x, int y) { drag_.tree_MouseUp(b, s, x, y); });
        QObject::connect(&tree_, &controls::TreeView::DragOver,
                         [this](QObject* src, int x, int y, int st) { drag_.tree_DragOver(src, x, y, st); });
        QObject::connect(&tree_, &controls::TreeView::DragDrop,
                         [this](QObject* src, int x, int y) { drag_.tree_DragDrop(src, x, y); });
        drag_.setContextMenu([this](int x, int y) { menus.push_back({x, y}); });
        drag_.setDragStarter([this] {
            ++drags;
            if (during) during();
        });
        sink_.resize(10, 10);
    }

    // Root with Alpha(2){Child(5)}, Beta(3){Gamma(57)}.
    void openSample() {
        makeDatabase(path("d.TM2"), {{2, 1, "Alpha", rtfOf("alpha")},
                                     {3, 1, "Beta", rtfOf("beta")},
                                     {5, 2, "Child", rtfOf("child")},
                                     {57, 3, "Gamma", rtfOf("gamma")}});
        open("d.TM2");
    }
    QPoint at(int key) {
        controls::Node* n = key == 1 ? root() : node(key);
        const QRect row = tree_.visualItemRect(n->item());
        EXPECT_TRUE(row.isValid()) << key;
        return row.center();
    }
    QPoint twips(QPoint pixels) const {
        return {pixels.x() * tree_.TwipsPerPixelX(), pixels.y() * tree_.TwipsPerPixelY()};
    }
    // What the platform delivers to the view while a drag is in progress.
    void deliver(QEvent::Type type, QPoint pixels) {
        QMimeData mime;
        mime.setData(controls::TreeView::kNodeMimeType, "k0000000002");
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree_.viewport(), &e);
        } else if (type == QEvent::DragMove) {
            QDragMoveEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree_.viewport(), &e);
        } else if (type == QEvent::Drop) {
            QDropEvent e(QPointF(pixels), Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree_.viewport(), &e);
        } else {
            QDragLeaveEvent e;
            QApplication::sendEvent(tree_.viewport(), &e);
        }
    }
    // Presses the left button on `from` and moves it far enough to drag;
    // `whileDragging` runs inside the drag. The button comes up elsewhere,
    // as it does at the end of a real drag.
    void dragFrom(int from, std::function<void()> whileDragging) {
        during = std::move(whileDragging);
        const QPoint p = at(from);
        QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, p);
        QTest::mouseMove(tree_.viewport(), p + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseRelease(&sink_, Qt::LeftButton, {}, QPoint(1, 1));
        during = nullptr;
    }
    void dropOn(int from, int to) {
        dragFrom(from, [&] {
            deliver(QEvent::DragEnter, at(from));
            deliver(QEvent::DragMove, at(to));
            deliver(QEvent::Drop, at(to));
        });
    }

    int drags = 0;
    std::function<void()> during;
    std::vector<QPoint> menus;
    QWidget sink_;
};

TEST_F(TreeDragTest, AMouseDownChoosesTheNodeWithoutShowingIt) {
    openSample();
    click(3);
    QTest::mousePress(tree_.viewport(), Qt::RightButton, {}, at(2));
    EXPECT_EQ(tree_.SelectedItem(), node(2));
    EXPECT_EQ(drag_.DraggedNode(), node(2));
    EXPECT_EQ(state_.ShownKey, "k0000000003");
    EXPECT_EQ(tree_.DropHighlight(), nullptr);
    QTest::mouseRelease(tree_.viewport(), Qt::RightButton, {}, at(2));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(tree_.HitTest(menus[0].x(), menus[0].y()), node(2));
    EXPECT_EQ(state_.ShownKey, "k0000000003");
}

TEST_F(TreeDragTest, ALeftClickStillShowsTheNoteAndOpensNoMenu) {
    openSample();
    QTest::mouseClick(tree_.viewport(), Qt::LeftButton, {}, at(3));
    EXPECT_EQ(state_.ShownKey, "k0000000003");
    EXPECT_TRUE(menus.empty());
    EXPECT_EQ(drags, 0);
}

TEST_F(TreeDragTest, APressOnEmptySpaceChoosesNothingToDrag) {
    openSample();
    const QPoint empty(5, tree_.viewport()->height() - 3);
    ASSERT_EQ(tree_.itemAt(empty), nullptr);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, empty);
    QTest::mouseMove(tree_.viewport(), empty - QPoint(0, 40));
    QTest::mouseRelease(&sink_, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(drag_.DraggedNode(), nullptr);
    EXPECT_EQ(drags, 0);
}

TEST_F(TreeDragTest, OnlyAMoveWithTheLeftButtonBeyondTheDragDistanceStartsADrag) {
    openSample();
    const QPoint p = at(2);
    QTest::mousePress(tree_.viewport(), Qt::LeftButton, {}, p);
    QTest::mouseMove(tree_.viewport(), p + QPoint(1, 0));
    EXPECT_EQ(drags, 0);
    QTest::mouseMove(tree_.viewport(), p + QPoint(QApplication::startDragDistance() + 1, 0));
    EXPECT_EQ(drags, 1);
    QTest::mouseRelease(&sink_, Qt::LeftButton, {}, QPoint(1, 1));

    QTest::mousePress(tree_.viewport(), Qt::RightButton, {}, p);
    QTest::mouseMove(tree_.viewport(), p + QPoint(30, 0));
    QTest::mouseRelease(tree_.viewport(), Qt::RightButton, {}, p + QPoint(30, 0));
    EXPECT_EQ(drags, 1);
    EXPECT_FALSE(drag_.Dragging());
}

TEST_F(TreeDragTest, ADropOnAnotherNoteAsksAndMovesOnYes) {
    openSample();
    click(57);
    yes();
    dropOn(2, 3);
    ASSERT_EQ(dialogs_.asked().size(), 1u);
    EXPECT_EQ(dialogs_.asked()[0].text, "Are you sure you wish to drop Alpha into Beta ?");
    EXPECT_EQ(dialogs_.asked()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(node(2)->Parent(), node(3));
    EXPECT_EQ(record(2).parent, "k0000000003");
    EXPECT_EQ(state_.ShownKey, "k0000000002");
    EXPECT_EQ(tree_.DropHighlight(), nullptr);
    EXPECT_EQ(drag_.DraggedNode(), nullptr);
    EXPECT_FALSE(drag_.Timer1().isActive());
}

TEST_F(TreeDragTest, NoAndCancelLeaveEverythingWhereItWas) {
    openSample();
    click(57);
    const std::vector<Record> before = records();
    no();
    dropOn(2, 3);
    dialogs_.answer(ScriptedAnswer::Message(MsgAnswer::Cancel));
    dropOn(2, 3);
    EXPECT_EQ(dialogs_.asked().size(), 2u);
    EXPECT_EQ(node(2)->Parent(), root());
    EXPECT_EQ(records(), before);
    EXPECT_EQ(state_.ShownKey, "k0000000057");
}

TEST_F(TreeDragTest, ADropOnItselfDoesNothing) {
    openSample();
    click(57);
    dropOn(2, 2);
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(node(2)->Parent(), root());
}

TEST_F(TreeDragTest, ADropRightAfterOpeningIsIgnored) {
    openSample();
    ASSERT_TRUE(state_.TreeUntouched);
    dropOn(2, 3);
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(record(2).parent, "k0000000001");
    EXPECT_EQ(tree_.DropHighlight(), nullptr);
    EXPECT_EQ(drag_.DraggedNode(), nullptr);
}

TEST_F(TreeDragTest, ADropOnADescendantIsRefusedAndTheFileIsUnchanged) {
    openSample();
    click(57);
    node(2)->setExpanded(true);
    const std::vector<Record> before = records();
    yes();
    dropOn(2, 5);
    EXPECT_EQ(host_.errors.size(), 1);
    EXPECT_EQ(node(2)->Parent(), root());
    EXPECT_EQ(records(), before);
}

TEST_F(TreeDragTest, DragsNotStartedHereAreIgnored) {
    openSample();
    click(57);
    deliver(QEvent::DragEnter, at(2));
    deliver(QEvent::DragMove, at(3));
    EXPECT_EQ(tree_.DropHighlight(), nullptr);
    deliver(QEvent::Drop, at(3));
    EXPECT_TRUE(dialogs_.asked().empty());
    EXPECT_EQ(node(2)->Parent(), root());
}

TEST_F(TreeDragTest, HoveringHighlightsTheTargetAndLeavingClearsIt) {
    openSample();
    controls::Node* highlighted = nullptr;
    controls::Node* afterLeave = node(2);
    dragFrom(2, [&] {
        deliver(QEvent::DragEnter, at(2));
        deliver(QEvent::DragMove, at(3));
        highlighted = tree_.DropHighlight();
        deliver(QEvent::DragLeave, QPoint());
        afterLeave = tree_.DropHighlight();
    });
    EXPECT_EQ(highlighted, node(3));
    EXPECT_EQ(afterLeave, nullptr);
    EXPECT_EQ(tree_.DropHighlight(), nullptr);
}

class TreeDragScrollTest : public TreeDragTest {
protected:
    // Sixty top-level notes: far more than the view shows.
    void openLong() {
        std::vector<testing::StoredNote> notes;
        for (int k = 2; k < 62; ++k) notes.push_back({k, 1, "Note", ""});
        makeDatabase(path("long.TM2"), notes);
        open("long.TM2");
        // Equal labels keep their order of arrival; the first row is shown.
        top = static_cast<int>(NodeKey::Number(root()->Child()->Key().toStdString()));
        click(top);
        ASSERT_EQ(tree_.verticalScrollBar()->value(), 0);
    }
    int top = 0;  // key number of the first note
    // Keeps hovering at `pixels` (a move every 50 ms, as a hand does) until
    // the scroll bar's value satisfies `done` or two seconds pass.
    bool hoverUntil(QPoint pixels, const std::function<bool(int)>& done) {
        QScrollBar* bar = tree_.verticalScrollBar();
        for (int i = 0; i < 40; ++i) {
            deliver(QEvent::DragMove, pixels);
            if (done(bar->value())) return true;
            QTest::qWait(50);
        }
        return done(bar->value());
    }
};

TEST_F(TreeDragScrollTest, TheTopBandScrollsUpAndTheBottomBandDown) {
    openLong();
    QScrollBar* bar = tree_.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const int height = tree_.viewport()->height();
    const QPoint upper(20, 2);                // 30 twips: inside 0 < y < 100
    const QPoint bottom(20, height - 3);      // 45 twips above the bottom edge
    const QPoint middle(20, height / 2);
    ASSERT_LT(twips(upper).y(), TreeDrag::kTopBand);
    ASSERT_GT(twips(bottom).y(), height * tree_.TwipsPerPixelY() - TreeDrag::kBottomBand);
    bool wentDown = false, wentUp = false, stoppedInMiddle = false, highlightFollows = false;
    TreeDrag::Direction downDirection{}, upDirection{};
    dragFrom(top, [&] {
        deliver(QEvent::DragEnter, middle);
        const int start = bar->value();
        wentDown = hoverUntil(bottom, [&](int v) { return v > start + 2; });
        downDirection = drag_.ScrollDirection();
        highlightFollows = tree_.DropHighlight() == tree_.HitTest(twips(bottom).x(), twips(bottom).y());
        const int lowest = bar->value();
        wentUp = hoverUntil(upper, [&](int v) { return v < lowest - 2; });
        upDirection = drag_.ScrollDirection();
        deliver(QEvent::DragMove, middle);
        stoppedInMiddle = !drag_.Timer1().isActive();
        deliver(QEvent::DragLeave, QPoint());
    });
    EXPECT_TRUE(wentDown);
    EXPECT_EQ(downDirection, TreeDrag::Direction::Down);
    EXPECT_TRUE(highlightFollows);
    EXPECT_TRUE(wentUp);
    EXPECT_EQ(upDirection, TreeDrag::Direction::Up);
    EXPECT_TRUE(stoppedInMiddle);
    EXPECT_EQ(drag_.Timer1().interval(), 200);
    EXPECT_FALSE(drag_.Timer1().isActive());
}

TEST_F(TreeDragScrollTest, LeavingTheTreeOrReleasingTheMouseStopsTheScrolling) {
    openLong();
    bool runningInBand = false, runningAfterLeave = true;
    dragFrom(top, [&] {
        deliver(QEvent::DragEnter, QPoint(20, 2));
        deliver(QEvent::DragMove, QPoint(20, 2));
        runningInBand = drag_.Timer1().isActive();
        deliver(QEvent::DragLeave, QPoint());
        runningAfterLeave = drag_.Timer1().isActive();
    });
    EXPECT_TRUE(runningInBand);
    EXPECT_FALSE(runningAfterLeave);
    EXPECT_FALSE(drag_.Timer1().isActive());
}

}  // namespace
}  // namespace tamix
