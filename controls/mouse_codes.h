#pragma once

#include <Qt>

namespace tamix::controls {

// The button and shift codes the tree view's mouse events carry: button 1
// left, 2 right, 4 middle (summed when several are held); shift 1 Shift,
// 2 Ctrl, 4 Alt.
class MouseCodes {
public:
    static int button(Qt::MouseButtons buttons);
    static int shift(Qt::KeyboardModifiers modifiers);
};

}  // namespace tamix::controls
