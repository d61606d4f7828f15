#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <random>

#include "controls/tree_view_fixture.h"

namespace tamix::controls {
namespace {

TEST_F(TreeViewTest, RemoveTakesSubtreeAndRenumbersLikeACollection) {
    Node* root = add(nullptr, "k1", "root");
    Node* x = add(root, "k2");
    add(x, "k3");
    add(x, "k4");
    Node* y = add(root, "k5", "y");
    Node* z = add(y, "k6");
    view.Nodes().Remove(2);
    EXPECT_EQ(view.Nodes().Count(), 3);
    EXPECT_EQ(y->Index(), 2);
    EXPECT_EQ(z->Index(), 3);
    EXPECT_EQ(view.Nodes().Item(2), y);
    EXPECT_EQ(view.Nodes().Find("k3"), nullptr);
    EXPECT_EQ(view.Nodes().Find("k2"), nullptr);
    EXPECT_EQ(view.Nodes().Item("k6"), z);
    EXPECT_EQ(childLabels(root), QStringList({"y"}));
    expectItemsMirrorNodes();
}

TEST_F(TreeViewTest, AbsentKeyAndIndexFailWithErrors) {
    add(nullptr, "k1");
    expectError([&] { view.Nodes().Item("k9"); }, kErrOutOfRange);
    EXPECT_THROW(view.Nodes().Item(0), TamixError);
    EXPECT_THROW(view.Nodes().Item(2), TamixError);
    EXPECT_THROW(view.Nodes().Remove(2), TamixError);
    EXPECT_EQ(view.Nodes().Count(), 1);
}

TEST_F(TreeViewTest, DuplicateKeyIsRefusedAndAddsNothing) {
    Node* root = add(nullptr, "k1");
    add(root, "k2");
    EXPECT_THROW(add(root, "k2", "again"), TamixError);
    EXPECT_EQ(view.Nodes().Count(), 2);
    EXPECT_EQ(root->Children(), 1);
    EXPECT_EQ(root->item()->childCount(), 1);
    Node* b = add(root, "k3");
    EXPECT_THROW(b->setKey("k2"), TamixError);
    EXPECT_EQ(b->Key(), "k3");
    b->setKey("k7");
    EXPECT_EQ(view.Nodes().Item("k7"), b);
    EXPECT_EQ(view.Nodes().Find("k3"), nullptr);
    Node* c = add(root, "", "c");  // nodes without a key never clash
    add(root, "", "d");
    c->setKey("k8");
    EXPECT_EQ(view.Nodes().Item("k8"), c);
}

TEST_F(TreeViewTest, RelationshipsPlaceNodesAmongSiblings) {
    Node* root = add(nullptr, "r");
    Node* m = add(root, "m");
    view.Nodes().Add(m, Relationship::First, "f", "first");
    view.Nodes().Add(m, Relationship::Last, "l", "last");
    view.Nodes().Add(m, Relationship::Next, "n", "next");
    view.Nodes().Add(m, Relationship::Previous, "p", "prev");
    EXPECT_EQ(childLabels(root), QStringList({"first", "prev", "m", "next", "last"}));
    EXPECT_THROW(view.Nodes().Add(m, 7, "x", "x"), TamixError);
    expectItemsMirrorNodes();
}

TEST_F(TreeViewTest, SortedParentKeepsCaseInsensitiveStableOrder) {
    Node* root = add(nullptr, "r");
    for (const char* label : {"c", "B", "a", "b"}) add(root, QString("k") + label + label, label);
    EXPECT_EQ(childLabels(root), QStringList({"c", "B", "a", "b"}));
    root->setSorted(true);  // sorts the present children once
    EXPECT_EQ(childLabels(root), QStringList({"a", "B", "b", "c"}));
    add(root, "5", "A");  // after its equals
    add(root, "6", "ALPHA");
    add(root, "7", "alpha");
    EXPECT_EQ(childLabels(root), QStringList({"a", "A", "ALPHA", "alpha", "B", "b", "c"}));
    root->setSorted(false);
    add(root, "0");
    EXPECT_EQ(childLabels(root).last(), "0");
    expectItemsMirrorNodes();
}

TEST_F(TreeViewTest, MoveCarriesSubtreeIntoSortedPlace) {
    Node* root = add(nullptr, "r");
    Node* left = add(root, "L");
    Node* right = add(root, "R");
    right->setSorted(true);
    add(right, "a", "apple");
    add(right, "c", "cherry");
    Node* moved = add(left, "b", "banana");
    Node* leaf = add(moved, "s");
    moved->setExpanded(true);
    moved->setParent(right);
    EXPECT_EQ(moved->Parent(), right);
    EXPECT_EQ(leaf->Parent(), moved);
    EXPECT_EQ(left->Children(), 0);
    EXPECT_EQ(childLabels(right), QStringList({"apple", "banana", "cherry"}));
    EXPECT_TRUE(moved->Expanded());
    EXPECT_TRUE(moved->item()->isExpanded());
    moved->setParent(nullptr);
    EXPECT_EQ(moved->Parent(), nullptr);
    EXPECT_EQ(view.topLevelItemCount(), 2);
    expectItemsMirrorNodes();
}

TEST_F(TreeViewTest, ReparentingIntoItselfOrADescendantIsRefused) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    Node* b = add(a, "b");
    Node* c = add(b, "c");
    for (Node* target : {a, b, c}) expectError([&] { a->setParent(target); }, kErrInvalidCall);
    EXPECT_EQ(a->Parent(), root);
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(c->Parent(), b);
    EXPECT_EQ(root->Children(), 1);
    expectItemsMirrorNodes();
}

TEST_F(TreeViewTest, SelectingByProgramRaisesNoNodeClickButAUserClickDoes) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    Node* b = add(root, "b");
    root->setExpanded(true);
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    view.setSelectedItem(a);
    b->setSelected(true);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(view.SelectedItem(), b);
    for (int n : {1, 2}) {  // clicking the node already selected is a click too
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, centerOf(a));
        ASSERT_EQ(clicks.count(), n);
        EXPECT_EQ(clicks.last().at(0).value<Node*>(), a);
        EXPECT_EQ(view.SelectedItem(), a);
        EXPECT_TRUE(a->Selected());
    }
}

TEST_F(TreeViewTest, KeyboardSelectionRaisesNodeClick) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    root->setExpanded(true);
    view.setFocus();
    view.setSelectedItem(root);
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    QTest::keyClick(&view, Qt::Key_Down);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<Node*>(), a);
    QTest::keyClick(&view, Qt::Key_Down);  // nowhere further to go
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(TreeViewTest, ClicksOnTheExpandSignOrIntoEmptySpaceAreNoNodeClicks) {
    Node* root = add(nullptr, "r");
    add(root, "a");
    view.setSelectedItem(root);
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    const QRect row = view.visualItemRect(root->item());
    const QPoint sign(row.left() - view.indentation() / 2, row.center().y());
    ASSERT_GE(sign.x(), 0);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, sign);
    EXPECT_TRUE(root->Expanded());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(150, 350));
    EXPECT_EQ(view.SelectedItem(), root);  // the selection stays
    EXPECT_TRUE(root->item()->isSelected());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(TreeViewTest, SelectingADeepNodeExpandsItsAncestors) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    Node* b = add(a, "b");
    view.setSelectedItem(b);
    for (Node* n : {root, a}) {
        EXPECT_TRUE(n->Expanded());
        EXPECT_TRUE(n->item()->isExpanded());
    }
    EXPECT_EQ(view.currentItem(), b->item());
}

TEST_F(TreeViewTest, ExpandedStateOfALeafWaitsForItsFirstChild) {
    Node* root = add(nullptr, "r");
    Node* leaf = add(root, "a");
    leaf->setExpanded(true);
    EXPECT_TRUE(leaf->Expanded());
    EXPECT_FALSE(root->Expanded());
    add(leaf, "b");
    EXPECT_TRUE(leaf->item()->isExpanded());
}

TEST_F(TreeViewTest, RemovingTheSelectedNodeSelectsANeighbour) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    Node* b = add(root, "b");
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    view.setSelectedItem(a);
    view.Nodes().Remove(a->Index());
    EXPECT_EQ(view.SelectedItem(), b);
    view.Nodes().Remove(b->Index());
    EXPECT_EQ(view.SelectedItem(), root);
    EXPECT_EQ(view.currentItem(), root->item());
    view.Nodes().Remove(1);
    EXPECT_EQ(view.SelectedItem(), nullptr);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(TreeViewTest, LabelEditOffersTheNewTextAndAppliesIt) {
    Node* root = add(nullptr, "r");
    root->setSorted(true);
    Node* a = add(root, "a", "alpha");
    add(root, "m", "mid");
    view.setSelectedItem(a);
    QString offered;
    QObject::connect(&view, &TreeView::AfterLabelEdit, [&](bool&, QString& text) { offered = text; });
    editLabel("zulu", Qt::Key_Return);
    EXPECT_EQ(offered, "zulu");
    EXPECT_EQ(a->Text(), "zulu");
    EXPECT_EQ(childLabels(root), QStringList({"mid", "zulu"}));
}

TEST_F(TreeViewTest, EscapeOrACancellingHandlerKeepsTheOldLabel) {
    Node* root = add(nullptr, "r", "root");
    view.setSelectedItem(root);
    int edits = 0;
    QObject::connect(&view, &TreeView::AfterLabelEdit, [&](bool& cancel, QString&) { ++edits, cancel = true; });
    editLabel("x", Qt::Key_Escape);
    EXPECT_EQ(edits, 0);  // Escape raises no event
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed editor
    editLabel("other", Qt::Key_Return);
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(root->Text(), "root");
    EXPECT_EQ(root->item()->text(0), "root");
}

TEST_F(TreeViewTest, HitTestAndMouseEventsUseTwips) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    root->setExpanded(true);
    const int tx = view.TwipsPerPixelX(), ty = view.TwipsPerPixelY();
    ASSERT_GT(tx, 0);
    const QPoint p = centerOf(a);
    EXPECT_EQ(view.HitTest(p.x() * tx, p.y() * ty), a);
    EXPECT_EQ(view.HitTest(p.x() * tx, 390 * ty), nullptr);
    QList<QList<int>> downs;
    QObject::connect(&view, &TreeView::MouseDown,
                     [&](int button, int shift, int x, int y) { downs.append({button, shift, x, y}); });
    QTest::mousePress(view.viewport(), Qt::RightButton, Qt::ShiftModifier, p);
    QTest::mouseRelease(view.viewport(), Qt::RightButton, Qt::ShiftModifier, p);
    ASSERT_EQ(downs.size(), 1);
    EXPECT_EQ(downs[0], (QList<int>{2, 1, p.x() * tx, p.y() * ty}));
}

TEST_F(TreeViewTest, DropHighlightFollowsTheProgramAndVanishesWithItsNode) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    view.setDropHighlight(a);
    EXPECT_EQ(view.DropHighlight(), a);
    EXPECT_NE(a->item()->data(0, Qt::BackgroundRole), QVariant());
    view.setDropHighlight(root);
    EXPECT_EQ(a->item()->data(0, Qt::BackgroundRole), QVariant());
    view.Nodes().Remove(1);
    EXPECT_EQ(view.DropHighlight(), nullptr);
}

TEST_F(TreeViewTest, NodeDragsRaiseDragOverAndDrop) {
    Node* root = add(nullptr, "r");
    const QPoint p = centerOf(root);
    QMimeData mime;
    mime.setData(TreeView::kNodeMimeType, "r");
    QList<int> states;
    int drops = 0;
    QObject::connect(&view, &TreeView::DragOver, [&](QObject*, int, int, int state) { states.append(state); });
    QObject::connect(&view, &TreeView::DragDrop, [&](QObject*, int x, int y) {
        ++drops;
        EXPECT_EQ(view.HitTest(x, y), root);
    });
    QDragEnterEvent enter(p, Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(p, Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(p), Qt::MoveAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &drop);
    EXPECT_EQ(states, (QList<int>{0, 2}));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(view.Nodes().Count(), 1);  // the view itself moves nothing
    QMimeData text;
    text.setText("plain");
    QDragMoveEvent foreign(p, Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &foreign);
    EXPECT_FALSE(foreign.isAccepted());
}

TEST_F(TreeViewTest, ManualDragCarriesTheSelectedNodesKey) {
    Node* root = add(nullptr, "r");
    view.Drag();  // nothing selected: no drag
    EXPECT_TRUE(view.findChildren<QDrag*>().isEmpty());
    view.setSelectedItem(root);
    view.Drag();  // the offscreen platform ends it at once
    const QList<QDrag*> drags = view.findChildren<QDrag*>();
    ASSERT_EQ(drags.size(), 1);
    EXPECT_EQ(drags[0]->mimeData()->data(TreeView::kNodeMimeType), QByteArray("r"));
    EXPECT_EQ(drags[0]->source(), &view);
    delete drags[0];
}

TEST_F(TreeViewTest, HoldingAButtonWhileMovingDoesNotMoveTheSelection) {
    Node* root = add(nullptr, "r");
    Node* a = add(root, "a");
    root->setExpanded(true);
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, centerOf(root));
    const QPoint to = centerOf(a);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view.viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    EXPECT_EQ(view.SelectedItem(), root);
    QSignalSpy clicks(&view, &TreeView::NodeClick);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(clicks.count(), 0);  // released on another node: no click
}

TEST_F(TreeViewTest, FocusEventsSkipTheLabelEditor) {
    view.setSelectedItem(add(nullptr, "r"));
    view.activateWindow();
    view.setFocus();
    QApplication::processEvents();
    int got = 0, lost = 0;
    QObject::connect(&view, &TreeView::GotFocus, [&] { ++got; });
    QObject::connect(&view, &TreeView::LostFocus, [&] { ++lost; });
    editLabel("", Qt::Key_Escape);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(got, 0);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(&view, &out);
    EXPECT_EQ(lost, 1);
}

// Random adds, removes, moves, renames and sort switches; after each step the
// collection, the key index, the sibling chains, the label order of sorted
// parents and the Qt items must all agree.
TEST_F(TreeViewTest, RandomEditsKeepEveryInvariant) {
    std::mt19937 random(20240131);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const QStringList words = {"alpha", "Beta", "beta", "gamma", "Delta", "ALPHA", "omega", "Zeta"};
    auto word = [&] { return words[pick(static_cast<int>(words.size()))]; };
    int nextKey = 1;
    for (int step = 0; step < 600; ++step) {
        const int count = view.Nodes().Count();
        auto any = [&] { return view.Nodes().Item(1 + pick(count)); };
        const int op = count == 0 ? 0 : pick(10);
        if (op <= 4) {
            Node* parent = count == 0 || pick(5) == 0 ? nullptr : any();
            Node* n = view.Nodes().Add(parent, Relationship::Child, QString("k%1").arg(nextKey++), word());
            if (pick(3) == 0) n->setSorted(true);
        } else if (op == 5) {
            view.Nodes().Remove(1 + pick(count));
        } else if (op == 6) {
            Node* n = any();
            Node* target = any();
            try {
                n->setParent(target);
                EXPECT_EQ(n->Parent(), target);
            } catch (const TamixError&) {
                EXPECT_TRUE(n == target || n->Parent() != target);
            }
        } else if (op == 7) {
            any()->setText(word());
        } else if (op == 8) {
            Node* n = any();
            n->setSorted(!n->Sorted());
        } else {
            view.setSelectedItem(any());
        }

        ASSERT_NO_FATAL_FAILURE(expectItemsMirrorNodes()) << "step " << step;
        for (int i = 1; i <= view.Nodes().Count(); ++i) {
            Node* n = view.Nodes().Item(i);
            ASSERT_EQ(view.Nodes().Find(n->Key()), n);
            int children = 0;
            Node* previous = nullptr;
            for (Node* c = n->Child(); c; previous = c, c = c->Next(), ++children) {
                ASSERT_EQ(c->Previous(), previous);
                ASSERT_EQ(c->Parent(), n);
                if (n->Sorted() && previous) {
                    ASSERT_LE(QString::compare(previous->Text(), c->Text(), Qt::CaseInsensitive), 0) << "step " << step;
                }
            }
            ASSERT_EQ(children, n->Children());
            if (previous) { ASSERT_EQ(n->Child()->LastSibling(), previous); }
        }
        if (view.SelectedItem()) { ASSERT_EQ(view.currentItem(), view.SelectedItem()->item()); }
    }
}

TEST_F(TreeViewTest, ClearEmptiesEverything) {
    Node* root = add(nullptr, "r");
    add(root, "a");
    view.setSelectedItem(root);
    view.Nodes().Clear();
    EXPECT_EQ(view.Nodes().Count(), 0);
    EXPECT_EQ(view.SelectedItem(), nullptr);
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_EQ(view.Nodes().Find("r"), nullptr);
    EXPECT_EQ(add(nullptr, "r")->Index(), 1);
}

}  // namespace
}  // namespace tamix::controls
