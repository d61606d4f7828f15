#include "controls/node.h"

#include <QTreeWidgetItem>
#include <algorithm>
#include <vector>

#include "controls/node_item.h"
#include "controls/syncing.h"
#include "storage/tamix_error.h"
#include "controls/tree_view.h"

namespace tamix::controls {

namespace {

// Label order of sorted children: case-insensitive, by comparing the
// case-folded labels kept in Node::fold_.
int compareFolded(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseSensitive);
}

}  // namespace

Node::Node(TreeView* view, QTreeWidgetItem* item) : view_(view), item_(item) {}

Node::~Node() = default;

void Node::setKey(const QString& key) {
    if (key == key_) {
        return;
    }
    view_->renameKey(this, key);
}

void Node::setText(const QString& text) {
    text_ = text;
    fold_ = text.toCaseFolded();
    labelWidth_ = -1;
    item_->setText(0, text);
    view_->scheduleDelayedItemsLayout();  // its end refits the column to the new label
    if (parent_ == nullptr || !parent_->sorted_) {
        return;
    }
    // Already in place: leave the Qt items alone.
    bool afterPrev = prev_ == nullptr || compareFolded(prev_->fold_, fold_) <= 0;
    bool beforeNext = next_ == nullptr || compareFolded(fold_, next_->fold_) <= 0;
    if (afterPrev && beforeNext) {
        return;
    }
    Syncing syncing(view_->syncing_);
    Node* parent = parent_;
    parent->detachChild(this);
    parent->insertChild(parent->sortedPosition(fold_), this);
    applyExpanded();
    view_->syncCurrentItem();
}

Node* Node::Parent() const {
    return parent_ == view_->hiddenRoot_.get() ? nullptr : parent_;
}

void Node::setParent(Node* parent) {
    Node* target = parent != nullptr ? parent : view_->hiddenRoot_.get();
    if (target->view_ != view_ || target->removed_) {
        throw TamixError(kErrInvalidCall, "The new parent is not a node of this tree.");
    }
    if (isSelfOrAncestorOf(target)) {
        throw TamixError(kErrInvalidCall,
                         "A node cannot become a child of itself or of one of its descendants.");
    }
    Syncing syncing(view_->syncing_);
    parent_->detachChild(this);
    int pos = target->sorted_ ? target->sortedPosition(fold_) : target->Children();
    target->insertChild(pos, this);
    applyExpanded();
    view_->syncCurrentItem();
}

Node* Node::Child() const {
    return item_->childCount() == 0 ? nullptr : childAt(0);
}

int Node::Children() const {
    return item_->childCount();
}

Node* Node::childAt(int pos) const {
    return static_cast<NodeItem*>(item_->child(pos))->node();
}

Node* Node::FirstSibling() const {
    return parent_ == nullptr ? const_cast<Node*>(this) : parent_->childAt(0);
}

Node* Node::LastSibling() const {
    return parent_ == nullptr ? const_cast<Node*>(this) : parent_->childAt(parent_->Children() - 1);
}

void Node::setExpanded(bool expanded) {
    expanded_ = expanded;
    if (parent_ != nullptr && Children() > 0) {
        Syncing syncing(view_->syncing_);
        item_->setExpanded(expanded);
    }
}

void Node::setSorted(bool sorted) {
    if (sorted == sorted_) {
        return;
    }
    sorted_ = sorted;
    const int count = Children();
    if (!sorted || count < 2) {
        return;
    }
    std::vector<Node*> current;
    current.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        current.push_back(childAt(i));
    }
    std::vector<Node*> ordered = current;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Node* a, const Node* b) {
        return compareFolded(a->fold_, b->fold_) < 0;
    });
    if (ordered == current) {
        return;
    }
    Syncing syncing(view_->syncing_);
    item_->takeChildren();
    QList<QTreeWidgetItem*> items;
    items.reserve(count);
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        Node* child = ordered[i];
        child->prev_ = i > 0 ? ordered[i - 1] : nullptr;
        child->next_ = i + 1 < ordered.size() ? ordered[i + 1] : nullptr;
        items.append(child->item_);
    }
    item_->addChildren(items);
    applyExpanded();
    view_->syncCurrentItem();
}

bool Node::Selected() const {
    return view_->selected_ == this;
}

void Node::setSelected(bool selected) {
    if (selected) {
        view_->setSelectedItem(this);
    } else if (Selected()) {
        view_->setSelectedItem(nullptr);
    }
}

void Node::EnsureVisible() {
    for (Node* p = Parent(); p != nullptr; p = p->Parent()) {
        p->setExpanded(true);
    }
    view_->scrollToNode(this);
}

bool Node::isSelfOrAncestorOf(const Node* other) const {
    for (const Node* n = other; n != nullptr; n = n->parent_) {
        if (n == this) {
            return true;
        }
    }
    return false;
}

int Node::positionOf(const Node* child) const {
    if (sorted_) {
        // Children are in label order: look from the first equal label on.
        int low = 0;
        int high = Children();
        while (low < high) {
            int mid = low + (high - low) / 2;
            if (compareFolded(childAt(mid)->fold_, child->fold_) < 0) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        for (int i = low; i < Children() && childAt(i)->fold_ == child->fold_; ++i) {
            if (childAt(i) == child) {
                return i;
            }
        }
    }
    return item_->indexOfChild(child->item_);
}

int Node::sortedPosition(const QString& fold) const {
    // After every child whose label compares less or equal.
    int low = 0;
    int high = Children();
    while (low < high) {
        int mid = low + (high - low) / 2;
        if (compareFolded(fold, childAt(mid)->fold_) < 0) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

void Node::insertChild(int pos, Node* child) {
    const int count = Children();
    child->parent_ = this;
    child->prev_ = pos > 0 ? childAt(pos - 1) : nullptr;
    child->next_ = pos < count ? childAt(pos) : nullptr;
    if (child->prev_ != nullptr) {
        child->prev_->next_ = child;
    }
    if (child->next_ != nullptr) {
        child->next_->prev_ = child;
    }
    item_->insertChild(pos, child->item_);
    if (count == 0 && expanded_ && parent_ != nullptr) {
        item_->setExpanded(true);
    }
}

void Node::detachChild(Node* child) {
    const int pos = positionOf(child);
    if (child->prev_ != nullptr) {
        child->prev_->next_ = child->next_;
    }
    if (child->next_ != nullptr) {
        child->next_->prev_ = child->prev_;
    }
    child->prev_ = nullptr;
    child->next_ = nullptr;
    child->parent_ = nullptr;
    item_->takeChild(pos);
}

void Node::applyExpanded() {
    std::vector<Node*> pending{this};
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        const int count = n->Children();
        if (count == 0) {
            continue;
        }
        // Qt forgot the states of items that left the tree, also below a
        // collapsed node whose descendants stay expanded for later.
        if (n->expanded_ && n->parent_ != nullptr) {
            n->item_->setExpanded(true);
        }
        for (int i = 0; i < count; ++i) {
            pending.push_back(n->childAt(i));
        }
    }
}

}  // namespace tamix::controls
