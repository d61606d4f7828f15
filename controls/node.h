#pragma once

#include <QString>

class QTreeWidgetItem;

namespace tamix::controls {

class TreeView;

// One node of a TreeView: a label with an optional key, a place among its
// siblings and an expanded state.
//
// Member style of this folder: a getter carries the member's plain name
// (`Text()`), its setter the name with "set" in front (`setText(v)`).
//
// Nodes are owned by their view. A Node* stays valid until its node (or an
// ancestor) is removed, the view is cleared or the view is destroyed.
class Node {
public:
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    // The key, unique among the view's nodes; "" means no key (any number of
    // nodes may have none). setKey throws TamixError (invalid call) when
    // another node has that key, and changes nothing then.
    QString Key() const { return key_; }
    void setKey(const QString& key);

    // The label. Under a sorted parent, a new label moves the node to its
    // place in label order.
    QString Text() const { return text_; }
    void setText(const QString& text);

    // Position in the view's node collection, from 1 in order of addition.
    // After a removal the remaining nodes close up like a collection's items.
    int Index() const { return index_; }

    // The parent node; nullptr for a top-level node. setParent moves the node
    // with its whole subtree to be the last child of `parent` (its place in
    // label order when `parent` is sorted); nullptr makes it top level.
    // Making a node a child of itself or of one of its descendants throws
    // TamixError (invalid call) and changes nothing.
    Node* Parent() const;
    void setParent(Node* parent);

    // First child in display order, or nullptr.
    Node* Child() const;
    // Next and previous sibling in display order, or nullptr.
    Node* Next() const { return next_; }
    Node* Previous() const { return prev_; }
    // First and last sibling (the node itself when it is an end).
    Node* FirstSibling() const;
    Node* LastSibling() const;
    // Number of direct children.
    int Children() const;

    // Whether the children are shown. The state is kept for nodes without
    // children too and takes effect when the first child arrives.
    bool Expanded() const { return expanded_; }
    void setExpanded(bool expanded);

    // Whether this node's children are kept in label order (case-insensitive,
    // stable: equal labels keep their order of arrival). Turning it on sorts
    // the present children once; afterwards adds, renames and moves keep the
    // order without re-sorting.
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);

    // Whether this node is the view's selected node. Setting it true is the
    // same as TreeView::setSelectedItem(this) and raises no NodeClick.
    bool Selected() const;
    void setSelected(bool selected);

    // Expands every ancestor and scrolls the view so the node is in sight.
    void EnsureVisible();

    // The view this node belongs to.
    TreeView* View() const { return view_; }
    // The Qt item that draws this node (owned by the view's QTreeWidget).
    QTreeWidgetItem* item() const { return item_; }

private:
    friend class TreeView;
    friend class Nodes;

    Node(TreeView* view, QTreeWidgetItem* item);

    // True when `other` is this node or lies below it.
    bool isSelfOrAncestorOf(const Node* other) const;
    // The child at display position `pos` (0-based; must exist).
    Node* childAt(int pos) const;
    // Display position of `child` (the child must be present).
    int positionOf(const Node* child) const;
    // Where a child with case-folded label `fold` belongs: after every child
    // whose label compares less or equal, so equal labels stay stable.
    int sortedPosition(const QString& fold) const;
    // Puts `child` at display position `pos` under this node's Qt item and
    // links it into the sibling chain.
    void insertChild(int pos, Node* child);
    // The reverse of insertChild; the child's subtree stays attached to it.
    void detachChild(Node* child);
    // Re-applies the expanded state to the Qt items of this subtree (Qt
    // forgets it when items leave the tree).
    void applyExpanded();

    TreeView* view_;
    QTreeWidgetItem* item_;   // the view's hidden root item for the hidden root node
    QString key_;             // "" or unique in the view's key index
    QString text_;            // equals item_'s text in column 0
    QString fold_;            // text_ case-folded: the sort key of sorted parents
    int labelWidth_ = -1;     // pixels the view's delegate asks for text_; -1 until measured
    int index_ = 0;           // 1-based place in the view's addition order; 0 for the hidden root
    Node* parent_ = nullptr;  // never nullptr except for the hidden root
    // Neighbours among the siblings, in display order. The children
    // themselves are item_'s Qt children (one list, never a copy).
    Node* prev_ = nullptr;
    Node* next_ = nullptr;
    bool expanded_ = false;
    bool sorted_ = false;     // when true, the children are in label order (by fold_)
    bool removed_ = false;    // set while a removal collects its subtree
};

}  // namespace tamix::controls
