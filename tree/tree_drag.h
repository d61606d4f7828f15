#pragma once

#include <QString>
#include <QTimer>
#include <functional>

class QObject;

namespace tamix {

struct DatabaseState;
class NoteOperations;
class TreeHost;
class UserDialogs;
namespace controls {
class Node;
class TreeView;
}  // namespace controls

// Mouse handling and drag and drop in the note tree: a mouse down chooses
// the node to drag (selecting it without showing it), a move with the left
// button starts the drag, hovering near the top or bottom edge scrolls the
// tree every 200 ms (Timer1), and a drop on another node asks whether to
// move the dragged note there.
//
// Coordinates are twips in the tree's drawing area, as the tree's events
// give them. Only a drag this object started counts: drags from elsewhere
// (another program's tree) are never dropped.
class TreeDrag {
public:
    static constexpr int kScrollInterval = 200;  // ms between auto-scroll steps
    static constexpr int kTopBand = 100;         // twips: 0 < y < this scrolls up
    static constexpr int kBottomBand = 200;      // twips above the bottom edge scroll down

    enum class Direction { Up, Down };

    TreeDrag(DatabaseState& state, controls::TreeView& tree, NoteOperations& operations,
             UserDialogs& dialogs, TreeHost& host);
    TreeDrag(const TreeDrag&) = delete;
    TreeDrag& operator=(const TreeDrag&) = delete;

    // Shows the Note menu as a context menu at (x, y) twips in the tree.
    void setContextMenu(std::function<void(int x, int y)> show) { contextMenu_ = std::move(show); }
    // Runs when a drag has ended, dropped, refused or released elsewhere.
    void setDragEnded(std::function<void()> ended) { dragEnded_ = std::move(ended); }
    // Runs the platform drag of the selected node and returns when it ends;
    // the tree's own Drag() unless replaced (tests deliver the drag events
    // from here).
    void setDragStarter(std::function<void()> start) { startDrag_ = std::move(start); }

    // The tree's mouse events (button 1 left, 2 right, 4 middle).
    void tree_MouseDown(int button, int shift, int x, int y);
    void tree_MouseMove(int button, int shift, int x, int y);
    void tree_MouseUp(int button, int shift, int x, int y);
    // The tree's drag events: state 0 entered, 1 left, 2 moved over.
    void tree_DragOver(QObject* source, int x, int y, int state);
    void tree_DragDrop(QObject* source, int x, int y);
    // One auto-scroll step: highlights the node at the last drag position
    // and scrolls one line in the current direction.
    void Timer1_Timer();

    const QTimer& Timer1() const { return timer1_; }
    Direction ScrollDirection() const { return direction_; }
    // The node chosen by the last mouse down, or nullptr (none, or gone).
    controls::Node* DraggedNode() const;
    // True while a drag started here is in progress.
    bool Dragging() const { return dragging_; }

private:
    // The drop after the drag has ended: asks, moves on Yes, and forgets
    // the drag.
    void drop();
    // Starts Timer1 unless it runs already (a restart would postpone the
    // next step while the pointer keeps moving in the band).
    void startTimer();

    DatabaseState& state_;
    controls::TreeView& tree_;
    NoteOperations& operations_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    std::function<void(int, int)> contextMenu_;
    std::function<void()> dragEnded_;  // run once each drag is over
    std::function<void()> startDrag_;

    QTimer timer1_;                       // runs only while a drag hovers in a scroll band
    QString draggedKey_;                  // key of the node chosen by mouse down; "" for none
    int pressX_ = 0, pressY_ = 0;         // twips, where that mouse down was
    int lastX_ = 0, lastY_ = 0;           // twips, the last drag position over the tree
    Direction direction_ = Direction::Up;
    bool dragging_ = false;               // inside startDrag_
    bool dropped_ = false;                // a drop arrived during the current drag
    QString dropTargetKey_;               // key of the node highlighted at that drop
};

}  // namespace tamix
