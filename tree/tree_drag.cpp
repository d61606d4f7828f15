#include "tree/tree_drag.h"

#include "tree/database_state.h"
#include "controls/node.h"
#include "controls/nodes.h"
#include "tree/note_operations.h"
#include "tree/tree_host.h"
#include "controls/tree_view.h"
#include "dialogs/user_dialogs.h"

#include <QApplication>
#include <cstdlib>

namespace tamix {

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kDragLeft = 1;  // tree_DragOver state: the drag left the tree

}  // namespace

TreeDrag::TreeDrag(DatabaseState& state, controls::TreeView& tree, NoteOperations& operations,
                   UserDialogs& dialogs, TreeHost& host)
    : state_(state), tree_(tree), operations_(operations), dialogs_(dialogs), host_(host) {
    timer1_.setInterval(kScrollInterval);
    QObject::connect(&timer1_, &QTimer::timeout, &timer1_, [this] { Timer1_Timer(); });
    startDrag_ = [this] { tree_.Drag(); };
}

controls::Node* TreeDrag::DraggedNode() const {
    return draggedKey_.isEmpty() ? nullptr : tree_.Nodes().Find(draggedKey_);
}

void TreeDrag::startTimer() {
    if (!timer1_.isActive()) timer1_.start();
}

void TreeDrag::tree_MouseDown(int, int, int x, int y) {
    controls::Node* hit = tree_.HitTest(x, y);
    draggedKey_ = hit ? hit->Key() : QString();
    pressX_ = x;
    pressY_ = y;
    // Chosen, not shown: the note click comes only with a completed click.
    if (hit) tree_.setSelectedItem(hit);
    tree_.setDropHighlight(nullptr);
}

void TreeDrag::tree_MouseMove(int button, int, int x, int y) {
    if (!(button & kLeftButton) || dragging_ || !DraggedNode()) return;
    // A hand that shakes during a click does not start a drag.
    const int dx = std::abs(x - pressX_) / tree_.TwipsPerPixelX();
    const int dy = std::abs(y - pressY_) / tree_.TwipsPerPixelY();
    if (dx + dy < QApplication::startDragDistance()) return;
    dragging_ = true;
    dropped_ = false;
    startDrag_();
    // The drag is over, dropped or not. A drop is answered only now, so its
    // question is an ordinary modal dialog and not one inside the
    // platform's drag loop.
    dragging_ = false;
    timer1_.stop();
    if (dropped_) {
        dropped_ = false;
        drop();  // the target stays highlighted while the question is open
    }
    tree_.setDropHighlight(nullptr);
    if (dragEnded_) dragEnded_();
}

void TreeDrag::tree_MouseUp(int button, int, int x, int y) {
    timer1_.stop();
    if (button == kRightButton && contextMenu_) contextMenu_(x, y);
}

void TreeDrag::tree_DragOver(QObject*, int x, int y, int state) {
    if (!dragging_) return;
    if (state == kDragLeft) {
        // Outside the tree nothing scrolls and nothing is a target.
        timer1_.stop();
        tree_.setDropHighlight(nullptr);
        return;
    }
    tree_.setDropHighlight(tree_.HitTest(x, y));
    lastX_ = x;
    lastY_ = y;
    const int height = tree_.viewport()->height() * tree_.TwipsPerPixelY();
    if (y > 0 && y < kTopBand) {
        direction_ = Direction::Up;
        startTimer();
    } else if (y > height - kBottomBand && y < height) {
        direction_ = Direction::Down;
        startTimer();
    } else {
        timer1_.stop();
    }
}

void TreeDrag::Timer1_Timer() {
    tree_.setDropHighlight(tree_.HitTest(lastX_, lastY_));
    tree_.ScrollLine(direction_ == Direction::Up);
}

void TreeDrag::tree_DragDrop(QObject*, int x, int y) {
    if (!dragging_) return;
    lastX_ = x;
    lastY_ = y;
    controls::Node* target = tree_.DropHighlight();
    dropTargetKey_ = target ? target->Key() : QString();
    dropped_ = true;
    timer1_.stop();
}

void TreeDrag::drop() {
    RunCommand(host_, [&] {
        if (state_.TreeUntouched) return;  // nothing was chosen on purpose yet
        controls::Node* target = dropTargetKey_.isEmpty() ? nullptr : tree_.Nodes().Find(dropTargetKey_);
        controls::Node* dragged = DraggedNode();
        if (!target || !dragged || target->Index() == dragged->Index()) return;
        const QString targetKey = target->Key();
        const QString question = QStringLiteral("Are you sure you wish to drop ") + dragged->Text() +
                                 QStringLiteral(" into ") + target->Text() + QStringLiteral(" ?");
        if (dialogs_.message(question, MsgButtons::YesNoCancel, MsgIcon::Question) != MsgAnswer::Yes)
            return;
        // Look both up again: nodes are found by key, never kept across a dialog.
        dragged = DraggedNode();
        target = tree_.Nodes().Find(targetKey);
        if (dragged && target) operations_.MoveCommand(*dragged, *target);
    });
    draggedKey_.clear();
    dropTargetKey_.clear();
}

}  // namespace tamix
