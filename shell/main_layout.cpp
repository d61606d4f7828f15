#include "shell/main_layout.h"

#include "shell/main_toolbars.h"
#include "controls/rich_text_box.h"
#include "shell/splitter_bar.h"
#include "controls/tree_view.h"
#include "controls/twips.h"

#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace tamix {

MainLayout::MainLayout(QWidget& window, QWidget& client, MainToolbars& toolbars, QStatusBar& status,
                       controls::TreeView& tree, controls::RichTextBox& editor, SplitterBar& splitter)
    : window_(window), client_(client), toolbars_(toolbars), status_(status), tree_(tree), editor_(editor),
      splitter_(splitter) {}

int MainLayout::twipsPerPixelX() const { return controls::Twips(window_).perPixelX(); }
int MainLayout::twipsPerPixelY() const { return controls::Twips(window_).perPixelY(); }
int MainLayout::scaleWidth() const { return client_.width() * twipsPerPixelX(); }
int MainLayout::scaleHeight() const { return client_.height() * twipsPerPixelY(); }
int MainLayout::toPixelsX(int twips) const { return controls::Twips(window_).toPixelsX(twips); }
int MainLayout::toPixelsY(int twips) const { return controls::Twips(window_).toPixelsY(twips); }

void MainLayout::place(bool toolbars, bool statusBar) {
    const int tppY = twipsPerPixelY();
    const int m = border_;
    const int sw = scaleWidth();
    const int sh = scaleHeight();
    QToolBar& bar1 = *toolbars_.toolbar1();
    QToolBar& bar2 = *toolbars_.toolbar2();
    if (toolbars) {
        const int h1 = bar1.sizeHint().height();
        bar1.setGeometry(0, 0, client_.width(), h1);
        bar2.setGeometry(0, h1, client_.width(), bar2.sizeHint().height());
    }
    const int t = toolbars ? (bar1.sizeHint().height() + bar2.sizeHint().height()) * tppY : 0;
    const int statusHeight = status_.sizeHint().height();
    const int s = statusBar ? statusHeight * tppY : 0;
    if (statusBar) status_.setGeometry(0, client_.height() - statusHeight, client_.width(), statusHeight);

    const int y = m + t;
    const int h = std::max(0, sh - 2 * m - t - s);
    const int w = treeWidth_;
    tree_.setGeometry(toPixelsX(m - 1), toPixelsY(y), toPixelsX(w), toPixelsY(h));
    const int editorLeft = w + m + 24;
    editor_.setGeometry(toPixelsX(editorLeft), toPixelsY(y),
                        std::max(0, toPixelsX(sw - editorLeft - m + 1)), toPixelsY(h));
    splitterLeft_ = w + m - 1;
    splitter_.setGeometry(toPixelsX(splitterLeft_), toPixelsY(y), toPixelsX(kSplitterWidth), toPixelsY(h));
}

void MainLayout::moveSplitterBy(int x) {
    splitterLeft_ += x;
    const int m = border_;
    splitter_.setGeometry(toPixelsX(splitterLeft_), toPixelsY(m), toPixelsX(kSplitterWidth),
                          toPixelsY(scaleHeight() - 2 * m));
    splitter_.raise();
}

bool MainLayout::mouseDown(int button, int x) {
    if (button == 1) {
        splitter_.setColour(QColor(0x80, 0x80, 0x80));
        dragX_ = x;
        return false;
    }
    const bool ended = dragX_ != kNoDrag && mouseUp(x);
    dragX_ = kNoDrag;
    return ended;
}

void MainLayout::mouseMove(int x) {
    if (dragX_ == kNoDrag || x == dragX_) return;
    moveSplitterBy(x);
    dragX_ = x;
}

bool MainLayout::mouseUp(int x) {
    if (dragX_ == kNoDrag) return false;
    if (x != dragX_) moveSplitterBy(x);
    dragX_ = kNoDrag;
    splitter_.setColour(QColor());
    const int left = splitterLeft_;
    const int treeLeft = border_ - 1;
    const int sw = scaleWidth();
    if (left > kMinPaneWidth && left < sw - kMinPaneWidth)
        treeWidth_ = left - treeLeft;
    else if (left <= kMinPaneWidth)
        treeWidth_ = kMinPaneWidth;
    else
        treeWidth_ = sw - kMinPaneWidth;
    return true;
}

void MainLayout::resetDrag() {
    border_ = 1;
    splitter_.setColour(QColor());
    dragX_ = kNoDrag;
}

}  // namespace tamix
