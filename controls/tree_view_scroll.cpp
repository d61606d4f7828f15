#include "controls/tree_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <utility>
#include <vector>

// TreeView's extent across: the column's width and horizontal scrolling.

namespace tamix::controls {

void TreeView::scrollToNode(Node* node) {
    // QTreeView scrolls by whole columns across; a row keeps its horizontal
    // offset unless its label is out of sight.
    QScrollBar* across = horizontalScrollBar();
    const int kept = across->value();
    scrollToItem(node->item_);
    across->setValue(kept);

    const QRect row = visualItemRect(node->item_);
    const int labelLeft = row.left() + across->value();
    const int labelRight = labelLeft + sizeHintForIndex(indexFromItem(node->item_)).width();
    const int signLeft = std::max(0, labelLeft - indentation());
    int value = across->value();
    if (labelRight - value > viewport()->width()) {
        value = labelRight - viewport()->width();
    }
    if (signLeft < value) {
        value = signLeft;  // a label wider than the view shows its start
    }
    across->setValue(value);
}

void TreeView::updateGeometries() {
    fitColumn();
    QTreeWidget::updateGeometries();
}

void TreeView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        for (const std::unique_ptr<Node>& n : order_) {
            n->labelWidth_ = -1;
        }
    }
    QTreeWidget::changeEvent(event);
}

void TreeView::fitColumn() {
    // Shown rows only: the children of expanded nodes, level 1 at the top
    // when the top level has expand signs.
    int widest = 0;
    std::vector<std::pair<Node*, int>> pending;
    const int topLevel = rootIsDecorated() ? 1 : 0;
    for (Node* c = hiddenRoot_->Child(); c != nullptr; c = c->next_) {
        pending.emplace_back(c, topLevel);
    }
    while (!pending.empty()) {
        auto [node, level] = pending.back();
        pending.pop_back();
        if (node->labelWidth_ < 0) {
            node->labelWidth_ = sizeHintForIndex(indexFromItem(node->item_)).width();
        }
        widest = std::max(widest, level * indentation() + node->labelWidth_);
        if (node->Children() > 0 && node->item_->isExpanded()) {
            for (Node* c = node->Child(); c != nullptr; c = c->next_) {
                pending.emplace_back(c, level + 1);
            }
        }
    }
    const int width = std::max(widest, viewport()->width());
    if (header()->sectionSize(0) != width) {
        header()->resizeSection(0, width);
    }
}

}  // namespace tamix::controls
