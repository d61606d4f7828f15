#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <vector>

#include "controls/tree_view_fixture.h"

namespace tamix::controls {
namespace {

// Geometry checks for scrolling: rows and labels against the viewport.
class TreeViewScrollTest : public TreeViewTest {
protected:
    // Whether the node's row lies wholly between the viewport's top and
    // bottom edges.
    bool rowInView(const Node* n) const {
        const QRect row = view.visualItemRect(n->item());
        return row.isValid() && row.top() >= 0 && row.bottom() < view.viewport()->height();
    }
    // Whether the node's label, as wide as the delegate asks for it, lies
    // wholly inside the viewport.
    bool labelInView(const Node* n) const {
        return rowInView(n) && view.visualItemRect(n->item()).left() >= 0 && labelEnd(n) <= view.viewport()->width();
    }
    // Where the node's label, as wide as the delegate asks for it, ends in
    // viewport coordinates.
    int labelEnd(const Node* n) const {
        return view.visualItemRect(n->item()).left() + view.sizeHintForIndex(view.indexFromItem(n->item())).width();
    }
    // Runs the event loop until pending layouts are done and the scroll bars
    // they show or hide (Qt does that queued behind the layout) are in place.
    static void settle() {
        for (int round = 0; round < 3; ++round) QApplication::processEvents();
    }

    // A chain of `levels` nodes, each the only child of the one before, all
    // expanded; returns the deepest.
    Node* addChain(int levels) {
        Node* n = nullptr;
        for (int level = 0; level < levels; ++level) {
            n = add(n, QString("c%1").arg(level), QString("level %1").arg(level));
            n->setExpanded(true);
        }
        return n;
    }

    // Delivers a tooltip request for the node's row to the viewport, a few
    // pixels into the row; returns what the tooltip then shows ("" when none).
    QString toolTipOver(const Node* n) {
        const QRect row = view.visualItemRect(n->item());
        const QPoint at(row.left() + 5, row.center().y());
        QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &help);
        return help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(TreeViewScrollTest, KeyboardMovesScrollTheSelectedRowIntoView) {
    std::vector<Node*> notes;
    for (int i = 0; i < 500; ++i) notes.push_back(add(nullptr, QString("n%1").arg(i), QString("note %1").arg(i)));
    view.setFocus();
    view.setSelectedItem(notes.front());
    settle();
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.SelectedItem(), notes.back());
    EXPECT_TRUE(rowInView(notes.back()));
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.SelectedItem(), notes.front());
    EXPECT_TRUE(rowInView(notes.front()));
    for (int page = 0; page < 3; ++page) {
        Node* before = view.SelectedItem();
        QTest::keyClick(&view, Qt::Key_PageDown);
        EXPECT_GT(view.SelectedItem()->Index(), before->Index());
        EXPECT_TRUE(rowInView(view.SelectedItem())) << "page " << page;
    }
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_TRUE(rowInView(notes.back()));
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_LT(view.SelectedItem()->Index(), 500);
    EXPECT_TRUE(rowInView(view.SelectedItem()));

    // The user scrolled the selection away; one step brings it back.
    view.setSelectedItem(notes[250]);
    bar->setValue(bar->maximum());
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.SelectedItem(), notes[249]);
    EXPECT_TRUE(rowInView(notes[249]));
    bar->setValue(0);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.SelectedItem(), notes[250]);
    EXPECT_TRUE(rowInView(notes[250]));
}

TEST_F(TreeViewScrollTest, DeepLabelIsReachableWithTheHorizontalScrollBar) {
    Node* deepest = addChain(30);
    settle();
    QScrollBar* across = view.horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    across->setValue(0);
    EXPECT_FALSE(labelInView(deepest));
    across->setValue(across->maximum());
    EXPECT_TRUE(labelInView(deepest));
    EXPECT_EQ(labelEnd(deepest), view.viewport()->width());  // the widest row: no scrolling past it

    QFont larger = view.font();
    larger.setPointSize(larger.pointSize() * 2);
    view.setFont(larger);  // every label is measured again
    settle();
    across->setValue(across->maximum());
    EXPECT_EQ(labelEnd(deepest), view.viewport()->width());
}

TEST_F(TreeViewScrollTest, ColumnFollowsTheWidestShownRowAnywhereInTheTree) {
    Node* root = add(nullptr, "r", "root");
    root->setExpanded(true);
    Node* far = nullptr;
    for (int i = 0; i < 1500; ++i) far = add(root, QString("n%1").arg(i));
    settle();
    QScrollBar* across = view.horizontalScrollBar();
    EXPECT_EQ(across->maximum(), 0);

    // A label renamed far below the rows in sight widens the column.
    far->setText("a name far longer than the view is wide, at the very bottom of a long list");
    settle();
    ASSERT_GT(across->maximum(), 0);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    across->setValue(across->maximum());
    EXPECT_TRUE(rowInView(far));
    EXPECT_EQ(labelEnd(far), view.viewport()->width());  // its end, and no more

    root->setExpanded(false);  // the wide row is no longer shown
    settle();
    EXPECT_EQ(across->maximum(), 0);
    far->setText("short again");
    root->setExpanded(true);
    settle();
    EXPECT_EQ(across->maximum(), 0);
}

TEST_F(TreeViewScrollTest, SelectingOrEnsuringADeepNodeScrollsItsLabelIntoView) {
    Node* deepest = addChain(30);
    Node* above = deepest->Parent();
    QScrollBar* across = view.horizontalScrollBar();

    deepest->EnsureVisible();
    EXPECT_TRUE(labelInView(deepest));
    across->setValue(0);
    view.verticalScrollBar()->setValue(0);
    view.setSelectedItem(deepest);
    EXPECT_TRUE(labelInView(deepest));

    view.setSelectedItem(above);
    across->setValue(0);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.SelectedItem(), deepest);
    EXPECT_TRUE(labelInView(deepest));

    // A neighbour whose label is already in sight leaves the offset alone.
    Node* sibling = view.Nodes().Add(deepest, Relationship::Next, "x", "x");
    settle();
    across->setValue(across->maximum());
    const int offset = across->value();
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.SelectedItem(), sibling);
    EXPECT_EQ(across->value(), offset);
    view.setSelectedItem(deepest);
    EXPECT_EQ(across->value(), offset);

    // The label editor opens over the label in sight and still applies.
    across->setValue(0);
    const int left = editLabel("bottom", Qt::Key_Return);
    EXPECT_GE(left, 0);
    EXPECT_LT(left, view.viewport()->width());
    EXPECT_EQ(deepest->Text(), "bottom");
}

TEST_F(TreeViewScrollTest, RowsSpanTheViewportWhenLabelsAreNarrow) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    root->setExpanded(true);
    for (int i = 0; i < 100; ++i) add(root, QString("n%1").arg(i), "b");  // enough for a vertical scroll bar
    settle();
    ASSERT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(view.viewport()->width() - 3, centerOf(a).y()));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(view.SelectedItem(), a);
}

TEST_F(TreeViewScrollTest, CutOffLabelShowsItsWholeTextAsToolTip) {
    const QString whole = "A note whose name runs on far beyond the right edge of a narrow tree view";
    Node* shortNode = add(nullptr, "s", "short");
    Node* longNode = add(nullptr, "l", whole);
    settle();
    EXPECT_EQ(toolTipOver(shortNode), QString());
    EXPECT_EQ(toolTipOver(longNode), whole);
    QToolTip::hideText();
}

}  // namespace
}  // namespace tamix::controls
