#pragma once

#include <QString>

namespace tamix {

class CommandTable;
class NoteOperations;
class NoteSelection;
class TreeManager;
struct DatabaseState;

// Binds the tree manager's commands (the database commands of the File menu
// with its recent files, and the Note menu) to their declared names.
class TreeCommands {
public:
    static void Register(CommandTable& table, DatabaseState& state, TreeManager& manager,
                         NoteSelection& notes, NoteOperations& noteOps);

    // The text of recent-file item `number` (1-based) for `path`: "&n " +
    // path with its ampersands doubled so they show as written; "" for an
    // empty entry, which hides the item.
    static QString RecentCaption(int number, const QString& path);
};

}  // namespace tamix
