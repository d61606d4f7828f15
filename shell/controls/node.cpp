#include "node.h"

#include <QTreeWidgetItem>
#include <algorithm>

#include "syncing.h"
#include "tamix_error.h"
#include "tree_view.h"

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
    item_->setText(0, text);
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
    std::size_t pos = target->sorted_ ? target->sortedPosition(fold_) : target->children_.size();
    target->insertChild(pos, this);
    applyExpanded();
    view_->syncCurrentItem();
}

Node* Node::FirstSibling() const {
    return parent_ == nullptr ? const_cast<Node*>(this) : parent_->children_.front();
}

Node* Node::LastSibling() const {
    return parent_ == nullptr ? const_cast<Node*>(this) : parent_->children_.back();
}

void Node::setExpanded(bool expanded) {
    expanded_ = expanded;
    if (parent_ != nullptr && !children_.empty()) {
        Syncing syncing(view_->syncing_);
        item_->setExpanded(expanded);
    }
}

void Node::setSorted(bool sorted) {
    if (sorted == sorted_) {
        return;
    }
    sorted_ = sorted;
    if (!sorted || children_.size() < 2) {
        return;
    }
    std::vector<Node*> ordered = children_;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Node* a, const Node* b) {
        return compareFolded(a->fold_, b->fold_) < 0;
    });
    if (ordered == children_) {
        return;
    }
    Syncing syncing(view_->syncing_);
    item_->takeChildren();
    children_ = std::move(ordered);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(children_.size()));
    for (std::size_t i = 0; i < children_.size(); ++i) {
        Node* child = children_[i];
        child->prev_ = i > 0 ? children_[i - 1] : nullptr;
        child->next_ = i + 1 < children_.size() ? children_[i + 1] : nullptr;
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
    view_->scrollToItem(item_);
}

bool Node::isSelfOrAncestorOf(const Node* other) const {
    for (const Node* n = other; n != nullptr; n = n->parent_) {
        if (n == this) {
            return true;
        }
    }
    return false;
}

std::size_t Node::positionOf(const Node* child) const {
    auto begin = children_.begin();
    if (sorted_) {
        // Children are in label order: start at the first equal label.
        begin = std::lower_bound(children_.begin(), children_.end(), child->fold_,
                                 [](const Node* n, const QString& fold) {
                                     return compareFolded(n->fold_, fold) < 0;
                                 });
    }
    auto it = std::find(begin, children_.end(), child);
    if (it == children_.end()) {
        it = std::find(children_.begin(), children_.end(), child);
    }
    return static_cast<std::size_t>(it - children_.begin());
}

std::size_t Node::sortedPosition(const QString& fold) const {
    auto it = std::upper_bound(children_.begin(), children_.end(), fold,
                               [](const QString& f, const Node* n) {
                                   return compareFolded(f, n->fold_) < 0;
                               });
    return static_cast<std::size_t>(it - children_.begin());
}

void Node::insertChild(std::size_t pos, Node* child) {
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(pos), child);
    child->parent_ = this;
    child->prev_ = pos > 0 ? children_[pos - 1] : nullptr;
    child->next_ = pos + 1 < children_.size() ? children_[pos + 1] : nullptr;
    if (child->prev_ != nullptr) {
        child->prev_->next_ = child;
    }
    if (child->next_ != nullptr) {
        child->next_->prev_ = child;
    }
    item_->insertChild(static_cast<int>(pos), child->item_);
    if (children_.size() == 1 && expanded_ && parent_ != nullptr) {
        item_->setExpanded(true);
    }
}

void Node::detachChild(Node* child) {
    std::size_t pos = positionOf(child);
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(pos));
    if (child->prev_ != nullptr) {
        child->prev_->next_ = child->next_;
    }
    if (child->next_ != nullptr) {
        child->next_->prev_ = child->prev_;
    }
    child->prev_ = nullptr;
    child->next_ = nullptr;
    child->parent_ = nullptr;
    item_->takeChild(static_cast<int>(pos));
}

void Node::applyExpanded() {
    std::vector<Node*> pending{this};
    while (!pending.empty()) {
        Node* n = pending.back();
        pending.pop_back();
        if (n->children_.empty()) {
            continue;
        }
        // Qt forgot the states of items that left the tree, also below a
        // collapsed node whose descendants stay expanded for later.
        if (n->expanded_ && n->parent_ != nullptr) {
            n->item_->setExpanded(true);
        }
        pending.insert(pending.end(), n->children_.begin(), n->children_.end());
    }
}

}  // namespace tamix::controls
