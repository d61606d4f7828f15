#include "tree/tree_commands.h"

#include "dialogs/command_table.h"
#include "tree/database_state.h"
#include "tree/note_operations.h"
#include "tree/note_selection.h"
#include "tree/tree_manager.h"

namespace tamix {

QString TreeCommands::RecentCaption(int number, const QString& path) {
    if (path.isEmpty()) return QString();
    QString shown = path;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 ").arg(number) + shown;
}

void TreeCommands::Register(CommandTable& table, DatabaseState& state, TreeManager& manager,
                            NoteSelection& notes, NoteOperations& noteOps) {
    const auto open = [&state] { return state.DatabaseOpen; };
    table.bind("mnuFileNew", [&manager] { manager.NewDatabase(); });
    table.bind("mnuFileOpen", [&manager] { manager.OpenDatabase(); });
    table.bind("mnuFileSave", [&notes] { notes.SaveIfChanged(); });
    table.bind("mnuFileClose", [&manager] { manager.CloseCommand(); }, open);
    table.bind("mnuFileExit", [&manager] { manager.ExitProgram(); });
    for (int i = 0; i < DatabaseState::kRecentFileCount; ++i) {
        const QString name = DatabaseState::RecentName(i + 1);
        const auto index = static_cast<std::size_t>(i);
        table.bind(name, [&state, &manager, index] { manager.OpenRecentFile(state.RecentFiles[index]); });
        table.setText(name, [&state, index] { return RecentCaption(static_cast<int>(index) + 1, state.RecentFiles[index]); });
    }

    table.setEnabledRule("mnuNote", open);
    table.bind("mnuNoteEdit", [&noteOps] { noteOps.EditName(); }, open);
    table.bind("mnuNoteInsert", [&noteOps] { noteOps.InsertCommand(); }, open);
    table.bind("mnuNoteDelete", [&noteOps] { noteOps.DeleteCommand(); }, open);
    table.bind("mnuNoteExpand", [&noteOps] { noteOps.ExpandCommand(); }, open);
    table.bind("mnuNoteCollapse", [&noteOps] { noteOps.CollapseCommand(); }, open);
}

}  // namespace tamix
