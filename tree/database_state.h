#pragma once

#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "tree/key_stack.h"
#include "tree/link_table.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace tamix {

// The one open database of the running program and the state around it that
// the tree manager, the main window and the later commands share. Owned by
// the application and handed by reference to whoever needs it.
struct DatabaseState {
    // How many recent files the File menu lists.
    static constexpr int kRecentFileCount = 4;
    // The name of recent entry `number` (1-based), "MRU1"...: both its
    // menu item and its settings key.
    static QString RecentName(int number) { return QStringLiteral("MRU%1").arg(number); }

    // Full path of the open database (also the file a New or Open dialog has
    // just chosen).
    QString CurrentFileName;
    // True while a node store file is open; drives which commands are enabled.
    bool DatabaseOpen = false;
    // The highest key number known in the open tree; 1 after ClearTree. Only
    // grows while a database stays open, so no key is handed out twice.
    std::int32_t MaxKeyNumber = 1;
    // Pending keys while a tree is filled (import).
    tamix::KeyStack KeyStack;
    // The editor's text differs from the stored body of the shown note.
    bool NoteChanged = false;
    // True from the end of an open, new or start-up sequence until the
    // user's first note click.
    bool TreeUntouched = false;
    // RTF of an empty document in the default editor font.
    std::string EmptyNoteRTF;
    // The recent-file list, entry 0 newest; "" marks an empty entry.
    std::array<QString, kRecentFileCount> RecentFiles;
    // While true, changes of the editor are the program's own: they do not
    // mark the note changed and the link table is not re-anchored.
    bool EditorChangeGuard = false;
    // Set by a command that lifted the protection of the links its
    // selection touches; the next unguarded change handling marks them
    // again and clears it.
    bool PendingRelink = false;
    // The link table of the shown note.
    LinkTable Links;

    // The key of the note shown in the editor, whose record the node store's
    // current record must be when it is saved; "" when the editor shows no
    // note (root selected, nothing open, or a node without a record).
    QString ShownKey;

    // The node store of the open database; lives for the whole process and
    // is reopened file after file.
    cNode Node;
    // The node header table the tree loader fills.
    cTempTree TempTree;
};

}  // namespace tamix
