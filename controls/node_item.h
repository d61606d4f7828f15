#pragma once

#include <QTreeWidgetItem>

namespace tamix::controls {

class Node;

// The Qt item that draws a Node; it knows its node so that a hit or an
// event on an item leads back to the node in constant time.
class NodeItem : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;

    explicit NodeItem(Node* node) : QTreeWidgetItem(kType), node_(node) {}

    Node* node() const { return node_; }
    void setNode(Node* node) { node_ = node; }

private:
    Node* node_;  // the node this item draws; set right after construction
};

}  // namespace tamix::controls
