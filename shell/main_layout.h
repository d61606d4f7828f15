#pragma once

class QStatusBar;
class QWidget;

namespace tamix {

class MainToolbars;
class SplitterBar;
namespace controls {
class RichTextBox;
class TreeView;
}  // namespace controls

// The main window's panes laid out by hand in twips inside the client area:
// the toolbars on top, the tree on the left, the splitter bar, the editor on
// the right and the status bar at the bottom; and the splitter drag that
// sets the tree's width. Twips and pixels convert as controls::Twips of the
// window (1440 / its logical DPI, rounded).
class MainLayout {
public:
    static constexpr int kSplitterWidth = 25;   // twips
    static constexpr int kMinPaneWidth = 60;    // twips, tree and editor side
    static constexpr int kNoDrag = 0x7FFFFFFF;  // dragX() while not dragging

    // Every part belongs to the window and outlives this object.
    MainLayout(QWidget& window, QWidget& client, MainToolbars& toolbars, QStatusBar& status,
               controls::TreeView& tree, controls::RichTextBox& editor, SplitterBar& splitter);

    int twipsPerPixelX() const;
    int twipsPerPixelY() const;
    // The client area's width and height in twips.
    int scaleWidth() const;
    int scaleHeight() const;
    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;

    // Places every pane for the tree's width, leaving room for the toolbars
    // and the status bar only when they are shown.
    void place(bool toolbars, bool statusBar);

    // The splitter's mouse handling (x in twips, in the splitter's
    // coordinates). Each returns true when it ended a drag: the tree's width
    // is then set from where the splitter was left, kept kMinPaneWidth from
    // either side, and the panes want placing again.
    bool mouseDown(int button, int x);
    void mouseMove(int x);
    bool mouseUp(int x);
    // Ends any drag without moving anything and restores the bar's colour.
    void resetDrag();

    int dragX() const { return dragX_; }
    // The tree's width in twips.
    int treeWidth() const { return treeWidth_; }
    void setTreeWidth(int twips) { treeWidth_ = twips; }

private:
    void moveSplitterBy(int x);

    QWidget& window_;
    QWidget& client_;
    MainToolbars& toolbars_;
    QStatusBar& status_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    SplitterBar& splitter_;

    int border_ = 1;          // twips
    int treeWidth_ = 3000;    // twips; >= 0
    int splitterLeft_ = 0;    // twips; the splitter's left edge in the client area
    int dragX_ = kNoDrag;
};

}  // namespace tamix
