#pragma once

#include <QStringList>

namespace tamix {

class CommandTable;

// The program's commands as the main window shows them: every menu, item
// and toolbar button with its caption, shortcut, key, tool tip and icon, in
// menu order, and the order of the two toolbars. Handlers are bound by the
// features that run them.
class MainCommands {
public:
    // Declares every command into `table` (which must be empty).
    static void Declare(CommandTable& table, int recentFileCount);
    // The keys of toolbar `bar` (1 or 2) in order; "" stands for a separator.
    // On toolbar 2 the font and size boxes come first.
    static QStringList ToolbarLayout(int bar);
};

}  // namespace tamix
