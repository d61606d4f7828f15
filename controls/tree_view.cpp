#include "controls/tree_view.h"

#include "controls/twips.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "controls/label_edit_delegate.h"
#include "controls/mouse_codes.h"
#include "controls/node_item.h"
#include "controls/syncing.h"
#include "storage/tamix_error.h"

namespace tamix::controls {

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new LabelEditDelegate(this));
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setAutoScroll(false);
    setUniformRowHeights(true);
    setFocusPolicy(Qt::StrongFocus);
    // fitColumn sizes the one column; rows wider than the view scroll across.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);

    hiddenRoot_.reset(new Node(this, invisibleRootItem()));
    hiddenRoot_->expanded_ = true;

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (syncing_ == 0) {
            selected_ = nodeOf(current);
        }
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (Node* n = nodeOf(item); n != nullptr && syncing_ == 0) {
            n->expanded_ = true;
        }
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (Node* n = nodeOf(item); n != nullptr && syncing_ == 0) {
            n->expanded_ = false;
        }
    });
}

TreeView::~TreeView() {
    // Qt's teardown emits selection signals; the nodes must not hear them.
    blockSignals(true);
    ++syncing_;
    clear();
}

Node* TreeView::nodeOf(const QTreeWidgetItem* item) {
    if (item == nullptr || item->type() != NodeItem::kType) {
        return nullptr;
    }
    return static_cast<const NodeItem*>(item)->node();
}

Node* TreeView::addNode(Node* relative, Relationship relationship, const QString& key,
                        const QString& text) {
    if (!key.isEmpty() && keys_.contains(key)) {
        throw TamixError(kErrInvalidCall, "Key is not unique in collection: " + key.toStdString());
    }
    Node* parent = hiddenRoot_.get();
    int pos = parent->Children();
    if (relative != nullptr) {
        if (relative->view_ != this || relative->removed_) {
            throw TamixError(kErrInvalidCall, "The relative is not a node of this tree.");
        }
        switch (relationship) {
        case Relationship::Child:
            parent = relative;
            pos = parent->Children();
            break;
        case Relationship::First:
            parent = relative->parent_;
            pos = 0;
            break;
        case Relationship::Last:
            parent = relative->parent_;
            pos = parent->Children();
            break;
        case Relationship::Next:
            parent = relative->parent_;
            pos = parent->positionOf(relative) + 1;
            break;
        case Relationship::Previous:
            parent = relative->parent_;
            pos = parent->positionOf(relative);
            break;
        default:
            throw TamixError(kErrInvalidCall, "Invalid relationship for a new node.");
        }
    }
    QString fold = text.toCaseFolded();
    if (parent->sorted_) {
        pos = parent->sortedPosition(fold);
    }

    auto* item = new NodeItem(nullptr);
    std::unique_ptr<Node> node(new Node(this, item));
    item->setNode(node.get());
    item->setText(0, text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    node->key_ = key;
    node->text_ = text;
    node->fold_ = std::move(fold);
    node->index_ = static_cast<int>(order_.size()) + 1;

    Node* added = node.get();
    if (order_.size() == order_.capacity()) {
        order_.reserve(order_.size() * 2 + 64);  // before any change, so a failure leaves none
    }
    if (!key.isEmpty()) {
        keys_.insert(key, added);
    }
    {
        Syncing syncing(syncing_);
        parent->insertChild(pos, added);
    }
    order_.push_back(std::move(node));
    return added;
}

void TreeView::removeNode(Node* node) {
    std::vector<Node*> doomed{node};
    for (std::size_t i = 0; i < doomed.size(); ++i) {
        for (int k = 0; k < doomed[i]->Children(); ++k) {
            doomed.push_back(doomed[i]->childAt(k));
        }
    }
    bool selectedGoes = selected_ != nullptr && node->isSelfOrAncestorOf(selected_);
    Node* successor = nullptr;
    if (selectedGoes) {
        successor = node->next_ != nullptr ? node->next_ : node->prev_;
        if (successor == nullptr) {
            successor = node->Parent();
        }
    }

    Syncing syncing(syncing_);
    QTreeWidgetItem* item = node->item_;
    node->parent_->detachChild(node);
    delete item;  // deletes the items of the whole subtree
    for (Node* d : doomed) {
        d->removed_ = true;
        if (!d->key_.isEmpty()) {
            keys_.remove(d->key_);
        }
        if (d == dropHighlight_) {
            dropHighlight_ = nullptr;
        }
        if (d == pressNode_) {
            pressNode_ = nullptr;
        }
        if (d == editNode_) {
            editNode_ = nullptr;
        }
    }
    order_.erase(std::remove_if(order_.begin(), order_.end(),
                                [](const std::unique_ptr<Node>& n) { return n->removed_; }),
                 order_.end());
    for (std::size_t i = 0; i < order_.size(); ++i) {
        order_[i]->index_ = static_cast<int>(i) + 1;
    }
    if (selectedGoes) {
        if (successor == nullptr && hiddenRoot_->Children() > 0) {
            successor = hiddenRoot_->childAt(0);
        }
        selected_ = successor;
    }
    syncCurrentItem();
}

void TreeView::clearNodes() {
    Syncing syncing(syncing_);
    clear();
    keys_.clear();
    selected_ = nullptr;
    dropHighlight_ = nullptr;
    pressNode_ = nullptr;
    editNode_ = nullptr;
    order_.clear();
}

Node* TreeView::nodeAt(int index) const {
    if (index < 1 || index > nodeCount()) {
        throw TamixError(kErrOutOfRange, "Index out of bounds: " + std::to_string(index));
    }
    return order_[static_cast<std::size_t>(index) - 1].get();
}

Node* TreeView::nodeByKey(const QString& key) const {
    Node* n = keys_.value(key, nullptr);
    if (n == nullptr) {
        throw TamixError(kErrOutOfRange, "Element not found: " + key.toStdString());
    }
    return n;
}

void TreeView::renameKey(Node* node, const QString& key) {
    if (!key.isEmpty()) {
        Node* holder = keys_.value(key, nullptr);
        if (holder != nullptr && holder != node) {
            throw TamixError(kErrInvalidCall, "Key is not unique in collection: " + key.toStdString());
        }
    }
    if (!node->key_.isEmpty()) {
        keys_.remove(node->key_);
    }
    node->key_ = key;
    if (!key.isEmpty()) {
        keys_.insert(key, node);
    }
}

void TreeView::setSelectedItem(Node* node) {
    if (node != nullptr && (node->view_ != this || node->removed_)) {
        throw TamixError(kErrInvalidCall, "The node is not a node of this tree.");
    }
    selected_ = node;
    if (node != nullptr) {
        for (Node* p = node->Parent(); p != nullptr; p = p->Parent()) {
            p->setExpanded(true);
        }
    }
    syncCurrentItem();
    if (node != nullptr) {
        scrollToNode(node);
    }
}

void TreeView::syncCurrentItem() {
    Syncing syncing(syncing_);
    if (selected_ != nullptr) {
        setCurrentItem(selected_->item_);
        selected_->item_->setSelected(true);
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
}

void TreeView::setDropHighlight(Node* node) {
    if (node == dropHighlight_) {
        return;
    }
    Syncing syncing(syncing_);
    if (dropHighlight_ != nullptr) {
        dropHighlight_->item_->setData(0, Qt::BackgroundRole, QVariant());
        dropHighlight_->item_->setData(0, Qt::ForegroundRole, QVariant());
    }
    dropHighlight_ = node;
    if (node != nullptr) {
        node->item_->setBackground(0, palette().highlight());
        node->item_->setForeground(0, palette().highlightedText());
    }
}

Node* TreeView::HitTest(int x, int y) const {
    return nodeOf(itemAt(QPoint(x / TwipsPerPixelX(), y / TwipsPerPixelY())));
}

void TreeView::StartLabelEdit() {
    if (selected_ != nullptr) {
        scrollToNode(selected_);
        editItem(selected_->item_, 0);
    }
}

void TreeView::Refresh() {
    viewport()->update();
}

bool TreeView::TabStop() const {
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void TreeView::setTabStop(bool tabStop) {
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TreeView::Drag() {
    pressNode_ = nullptr;
    if (selected_ == nullptr) {
        return;
    }
    auto* mime = new QMimeData;
    mime->setData(kNodeMimeType, selected_->key_.toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TreeView::ScrollLine(bool up) {
    verticalScrollBar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                          : QAbstractSlider::SliderSingleStepAdd);
}

int TreeView::TwipsPerPixelX() const { return Twips(*this).perPixelX(); }

int TreeView::TwipsPerPixelY() const { return Twips(*this).perPixelY(); }

QPoint TreeView::toTwips(const QPoint& pixels) const { return Twips(*this).toTwips(pixels); }

void TreeView::mousePressEvent(QMouseEvent* event) {
    QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = itemAt(pos);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        pressNode_ = nodeOf(item);
        // Left of the row's rectangle lies the expand sign, which toggles
        // the node without choosing it.
        pressOnLabel_ = item != nullptr && pos.x() >= visualItemRect(item).left();
    }
    QTreeWidget::mousePressEvent(event);
    if (selected_ != nullptr && !selected_->item_->isSelected()) {
        syncCurrentItem();  // Qt deselects on a click into empty space
    }
    QPoint tw = toTwips(pos);
    emit MouseDown(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()), tw.x(), tw.y());
}

void TreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    QPoint tw = toTwips(event->position().toPoint());
    emit MouseDown(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()), tw.x(), tw.y());
}

void TreeView::mouseMoveEvent(QMouseEvent* event) {
    // With a button held Qt would drag the selection along; the tree's
    // selection moves only by clicks and keys.
    if (event->buttons() == Qt::NoButton) {
        QTreeWidget::mouseMoveEvent(event);
    }
    QPoint tw = toTwips(event->position().toPoint());
    emit MouseMove(MouseCodes::button(event->buttons()), MouseCodes::shift(event->modifiers()), tw.x(), tw.y());
}

void TreeView::mouseReleaseEvent(QMouseEvent* event) {
    QPoint pos = event->position().toPoint();
    QTreeWidget::mouseReleaseEvent(event);
    if (selected_ != nullptr && !selected_->item_->isSelected()) {
        syncCurrentItem();  // Qt deselects on a click into empty space
    }
    QPoint tw = toTwips(pos);
    emit MouseUp(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()), tw.x(), tw.y());
    // A completed click on a label, left or right, chooses that note: the
    // Note menu a right click shows then acts on the note it was asked on.
    Node* pressed = pressNode_;
    pressNode_ = nullptr;
    if ((event->button() == Qt::LeftButton || event->button() == Qt::RightButton) && pressed != nullptr &&
        pressOnLabel_ && nodeOf(itemAt(pos)) == pressed) {
        emit NodeClick(pressed);
    }
    emit MouseUpDone();
}

void TreeView::keyPressEvent(QKeyEvent* event) {
    Node* before = selected_;
    QTreeWidget::keyPressEvent(event);
    if (selected_ == nullptr) {
        return;
    }
    // Auto-scroll is off (no scrolling during drags), so the view brings
    // the selection into sight itself after every cursor key.
    static constexpr int kCursorKeys[] = {Qt::Key_Up,   Qt::Key_Down, Qt::Key_Left,   Qt::Key_Right,
                                          Qt::Key_Home, Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown};
    if (selected_ != before || std::find(std::begin(kCursorKeys), std::end(kCursorKeys), event->key()) !=
                                   std::end(kCursorKeys)) {
        scrollToNode(selected_);
    }
    if (selected_ != before) {
        emit NodeClick(selected_);
    }
}

void TreeView::focusInEvent(QFocusEvent* event) {
    {
        // Qt makes the first item current when focus arrives without one;
        // the selection stays what the program or the user made it.
        Syncing syncing(syncing_);
        QTreeWidget::focusInEvent(event);
    }
    syncCurrentItem();
    if (focusToEditor_) {
        focusToEditor_ = false;  // back from our own label editor
        return;
    }
    emit GotFocus();
}

void TreeView::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    QWidget* now = QApplication::focusWidget();
    if (now != nullptr && now != this && isAncestorOf(now)) {
        focusToEditor_ = true;
        return;
    }
    emit LostFocus();
}

void TreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(kNodeMimeType)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QPoint tw = toTwips(event->position().toPoint());
    emit DragOver(event->source(), tw.x(), tw.y(), 0);
}

void TreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(kNodeMimeType)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QPoint tw = toTwips(event->position().toPoint());
    emit DragOver(event->source(), tw.x(), tw.y(), 2);
}

void TreeView::dragLeaveEvent(QDragLeaveEvent*) {
    emit DragOver(nullptr, -1, -1, 1);
}

void TreeView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kNodeMimeType)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QPoint tw = toTwips(event->position().toPoint());
    emit DragDrop(event->source(), tw.x(), tw.y());
}

void TreeView::labelEdited(Node* node, const QString& text) {
    editNode_ = node;
    editText_ = text;
    editCommitted_ = node != nullptr;
}

void TreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (!editCommitted_) {
        return;
    }
    editCommitted_ = false;
    bool cancel = false;
    QString text = editText_;
    emit AfterLabelEdit(cancel, text);
    // A handler may have removed the node (editNode_ is cleared then).
    Node* node = editNode_;
    editNode_ = nullptr;
    if (!cancel && node != nullptr) {
        node->setText(text);
    }
}

}  // namespace tamix::controls
