#include "controls/nodes.h"

#include "storage/tamix_error.h"
#include "controls/tree_view.h"

namespace tamix::controls {

Node* Nodes::Add(Node* relative, Relationship relationship, const QString& key, const QString& text) {
    return view_.addNode(relative, relationship, key, text);
}

Node* Nodes::Add(Node* relative, int relationship, const QString& key, const QString& text) {
    if (relationship < 0 || relationship > static_cast<int>(Relationship::Child)) {
        throw TamixError(kErrInvalidCall, "Invalid relationship for a new node.");
    }
    return view_.addNode(relative, static_cast<Relationship>(relationship), key, text);
}

Node* Nodes::Add(int relativeIndex, int relationship, const QString& key, const QString& text) {
    return Add(view_.nodeAt(relativeIndex), relationship, key, text);
}

Node* Nodes::Add(const QString& relativeKey, int relationship, const QString& key, const QString& text) {
    return Add(view_.nodeByKey(relativeKey), relationship, key, text);
}

void Nodes::Remove(int index) {
    view_.removeNode(view_.nodeAt(index));
}

void Nodes::Remove(const QString& key) {
    view_.removeNode(view_.nodeByKey(key));
}

int Nodes::Count() const {
    return view_.nodeCount();
}

void Nodes::Clear() {
    view_.clearNodes();
}

Node* Nodes::Item(int index) const {
    return view_.nodeAt(index);
}

Node* Nodes::Item(const QString& key) const {
    return view_.nodeByKey(key);
}

Node* Nodes::Find(const QString& key) const {
    return view_.keys_.value(key, nullptr);
}

}  // namespace tamix::controls
