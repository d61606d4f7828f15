#pragma once

#include <QString>

namespace tamix::controls {

class Node;
class TreeView;

// Where Nodes::Add puts a new node relative to an existing one.
enum class Relationship : int {
    First = 0,     // first sibling of the relative
    Last = 1,      // last sibling of the relative
    Next = 2,      // right after the relative
    Previous = 3,  // right before the relative
    Child = 4,     // last child of the relative
};

// The node collection of a TreeView. Items are numbered from 1 in order of
// addition; Item(i)->Index() == i always holds. Lookup by key is a hash
// lookup. Errors are TamixError: an index outside 1..Count() or an absent key
// is "out of range" (kErrOutOfRange), a duplicate key or a bad relationship
// is "invalid call" (kErrInvalidCall); a failing call changes nothing.
class Nodes {
public:
    explicit Nodes(TreeView& view) : view_(view) {}
    Nodes(const Nodes&) = delete;
    Nodes& operator=(const Nodes&) = delete;

    // Adds a node labelled `text` with key `key` ("" = no key). Without a
    // relative (nullptr) the node becomes the last top-level node. Under a
    // sorted parent the node takes its place in label order whatever the
    // relationship says. Answers the new node.
    Node* Add(Node* relative, Relationship relationship, const QString& key, const QString& text);
    Node* Add(Node* relative, int relationship, const QString& key, const QString& text);
    Node* Add(int relativeIndex, int relationship, const QString& key, const QString& text);
    Node* Add(const QString& relativeKey, int relationship, const QString& key, const QString& text);

    // Removes the node and its whole subtree; the nodes after it in the
    // collection move up to close the gap. When the selected node goes, a
    // neighbour (next sibling, previous sibling, parent, first node) becomes
    // selected without a NodeClick.
    void Remove(int index);
    void Remove(const QString& key);

    int Count() const;
    // Removes every node.
    void Clear();

    // The node at 1-based `index`, or with `key`. Throw when there is none.
    Node* Item(int index) const;
    Node* Item(const QString& key) const;
    // The node with `key`, or nullptr; never throws.
    Node* Find(const QString& key) const;

private:
    TreeView& view_;
};

}  // namespace tamix::controls
