#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "controls/node.h"
#include "controls/nodes.h"

namespace tamix::controls {

// The note tree: a QTreeWidget driven through Node and Nodes.
//
// Member style: getters carry the plain name (`SelectedItem()`), setters
// "set" + name (`setSelectedItem(n)`).
//
// Coordinates of mouse events, HitTest and the drag events are twips relative
// to the top-left corner of the view's drawing area; twips per pixel =
// 1440 / the screen's logical DPI (TwipsPerPixelX/Y).
//
// Events are Qt signals raised synchronously. Connect them directly (the
// default on one thread); handlers may change the arguments passed by
// reference.
//
// Guarantees callers rely on:
// - setSelectedItem (and Node::setSelected) never raises NodeClick; a user's
//   click on a node's label or row, or a key that moves the selection, does.
// - Selecting a node expands its ancestors and scrolls it into sight, across
//   too; so does every cursor key.
// - Rows wider than the view scroll horizontally; a label the view cuts off
//   shows its whole text as tooltip.
// - Labels are edited only through StartLabelEdit (or F2). The new label is
//   offered to AfterLabelEdit first; it is applied only if no handler sets
//   the cancel flag.
// - Drags start only by Drag() (manual drag start). While a drag is over the
//   view, DragOver is raised; a drop raises DragDrop. The view itself never
//   moves nodes on a drop and never scrolls during a drag.
class TreeView : public QTreeWidget {
    Q_OBJECT

public:
    // Mime type of drags started by Drag(); holds the dragged node's key.
    static constexpr const char* kNodeMimeType = "application/x-tamix-tree-node";

    explicit TreeView(QWidget* parent = nullptr);
    ~TreeView() override;

    // The node collection.
    tamix::controls::Nodes& Nodes() { return nodes_; }
    const tamix::controls::Nodes& Nodes() const { return nodes_; }

    // The selected node, or nullptr. Setting it selects the node, expands its
    // ancestors and scrolls it into sight; nullptr clears the selection.
    // Never raises NodeClick.
    Node* SelectedItem() const { return selected_; }
    void setSelectedItem(Node* node);

    // The node highlighted as drop target, or nullptr.
    Node* DropHighlight() const { return dropHighlight_; }
    void setDropHighlight(Node* node);

    // The node at (x, y) twips, or nullptr.
    Node* HitTest(int x, int y) const;

    // Opens the label editor on the selected node (nothing when none).
    void StartLabelEdit();

    // Repaints the view.
    void Refresh();

    // Whether Tab moves the focus into the view.
    bool TabStop() const;
    void setTabStop(bool tabStop);

    // Starts dragging the selected node (manual drag start). Returns when the
    // drag ends, after any DragDrop.
    void Drag();

    // Scrolls one line up (true) or down (false), as a scroll bar arrow does.
    void ScrollLine(bool up);

    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;

    // The node a Qt item draws, or nullptr for an item the view does not own.
    static Node* nodeOf(const QTreeWidgetItem* item);

signals:
    // The user selected `node` with the mouse or the keyboard.
    void NodeClick(tamix::controls::Node* node);
    // The user finished editing a label. Set `cancel` to keep the old label;
    // `newText` may be changed and is what the node gets.
    void AfterLabelEdit(bool& cancel, QString& newText);
    // Mouse events: button 1 left, 2 right, 4 middle (for MouseMove the
    // buttons held); shift 1 Shift, 2 Ctrl, 4 Alt; x, y in twips.
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    // A mouse release has been handled whole (after MouseUp and any
    // NodeClick it makes).
    void MouseUpDone();
    // A drag is over the view: state 0 entered, 1 left, 2 moved over.
    // `source` is the widget the drag started from (nullptr when it came
    // from another program).
    void DragOver(QObject* source, int x, int y, int state);
    // Something was dropped on the view.
    void DragDrop(QObject* source, int x, int y);
    void GotFocus();
    void LostFocus();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;

private:
    friend class Node;
    friend class tamix::controls::Nodes;
    friend class LabelEditDelegate;

    // Collection operations (Nodes forwards to these).
    Node* addNode(Node* relative, Relationship relationship, const QString& key, const QString& text);
    void removeNode(Node* node);
    void clearNodes();
    Node* nodeAt(int index) const;
    Node* nodeByKey(const QString& key) const;
    int nodeCount() const { return static_cast<int>(order_.size()); }
    void renameKey(Node* node, const QString& key);

    // Scrolls so that the node's row is in sight and its label lies across
    // the viewport (its start first when wider); the horizontal offset moves
    // only when the label is out of sight.
    void scrollToNode(Node* node);
    // Sizes the column to the widest shown row (indentation and label), and
    // at least to the viewport so that a click right of a short label still
    // hits its row. Measures each label once (see Node::labelWidth_).
    void fitColumn();
    // Makes the widget's current item agree with selected_ without raising
    // anything.
    void syncCurrentItem();
    // Called by the delegate when an edit is committed.
    void labelEdited(Node* node, const QString& text);
    // The twips point of a widget event position in the drawing area.
    QPoint toTwips(const QPoint& viewportPixels) const;

    tamix::controls::Nodes nodes_{*this};
    std::unique_ptr<Node> hiddenRoot_;           // parent of the top-level nodes
    std::vector<std::unique_ptr<Node>> order_;   // order of addition; order_[i]->index_ == i + 1
    QHash<QString, Node*> keys_;                 // every non-empty key, each once
    Node* selected_ = nullptr;                   // the selected node; the widget's current item mirrors it
    Node* dropHighlight_ = nullptr;              // drawn highlighted while set
    int syncing_ = 0;                            // > 0 while the view moves Qt items itself
    Node* pressNode_ = nullptr;                  // node under a left press that may become a click
    bool pressOnLabel_ = false;                  // the press was on the row, not on the expand sign
    Node* editNode_ = nullptr;                   // node whose committed label waits for closeEditor
    QString editText_;
    bool editCommitted_ = false;
    bool focusToEditor_ = false;                 // focus went to our own label editor
};

}  // namespace tamix::controls
