#pragma once

#include <QString>
#include <cstdint>

namespace tamix {

struct DatabaseState;
class NoteSelection;
class Settings;
class TreeHost;
class UserDialogs;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// The database lifecycle and the tree: creating, opening and closing the one
// open database, rebuilding the tree view from its node store under the root
// "k0000000001", the root's label, and the four recent files.
//
// The commands (NewDatabase, OpenDatabase, OpenRecentFile, OpenPath,
// CloseCommand) report their errors through the host and end silently on a
// cancelled dialog; the operations they are built of throw.
class TreeManager {
public:
    static constexpr const char* kFileFilter = "Tamix Database (*.TM2)|*.TM2";

    TreeManager(DatabaseState& state, NoteSelection& notes, controls::TreeView& tree,
                controls::RichTextBox& editor, UserDialogs& dialogs, TreeHost& host);

    // Empties the tree and recreates the bare root "My Notes" (selected),
    // MaxKeyNumber 1, and clears the editor.
    void ClearTree();
    // Rebuilds the whole tree from the open node store: the root labelled
    // with the file title, every note reachable from it in label order under
    // its parent; MaxKeyNumber becomes the highest key number shown. On an
    // error the window is enabled again and the nodes added so far stay.
    void LoadTree();
    // The index of the tree node with `key`, 0 when there is none; 1 for
    // any key whose number is 1.
    int FindTreeIndex(const QString& key) const;
    void PushKey(const QString& key);
    QString PopKey();

    // Opens CurrentFileName and puts it first in the recent list unless it
    // is already there (exact comparison; the list then keeps its order).
    bool OpenDatabaseFile();
    // Creates an empty database at CurrentFileName, deleting any file there
    // unless another program holds it open.
    bool CreateDatabaseFile();
    // The file dialogs; a chosen name becomes CurrentFileName. The new
    // dialog appends ".TM2" to a name without any "." and deletes an
    // existing file of the chosen name; a file another program holds open
    // is refused with the storage's in-use error and left as it is.
    // Cancel throws the cancel error.
    bool ShowNewDatabaseDialog();
    bool ShowOpenDatabaseDialog();
    // Saves the shown note if changed, closes the file, clears the tree and
    // refreshes the command state.
    void CloseDatabase();
    // Expands the root and repaints the tree.
    void ExpandRoot();
    // Unloads the main window.
    void ExitProgram();

    // The commands of the File menu and toolbar.
    void NewDatabase();
    void OpenDatabase();
    void OpenRecentFile(const QString& path);
    void CloseCommand();
    // Opens `path` without a dialog (a second instance's command line);
    // a path naming no file is reported as "PATH was not found".
    void OpenPath(const QString& path);
    // Start-up: opens `path` (OpenDatabaseFile, LoadTree, ExpandRoot),
    // reporting errors.
    void StartupOpen(const QString& path);
    // The start-up sequence of the tree: opens the command-line file when it
    // names an existing file (and says "PATH was not found" when not), else
    // the start-up file option when that names one, else nothing; then selects the root and shows it (the empty body,
    // editor disabled) with TreeUntouched set and NoteChanged clear.
    void StartupLoad(const QString& commandLine, const QString& startupFile);

    // The recent-file list from the settings ("Settings", "MRU1"...), and
    // back into them.
    void ReadRecentFiles(const Settings& settings);
    void SaveRecentFiles(Settings& settings) const;
    // `path` made absolute against the current folder and normalised; ""
    // stays "".
    static QString AbsolutePath(const QString& path);

    // "My Tamix (" + file title + ")", the file title being the file name
    // without its folder and its last four characters.
    static QString RootLabel(const QString& fileName);
    // The root node of the tree (never null after ClearTree).
    controls::Node* Root() const;

private:
    // Deletes an existing file at `name` to make room for a new database.
    // Throws the in-use error when another program holds it open (the
    // database open in this window does not count) and kErrPermission when
    // it cannot be deleted; nothing is deleted then.
    void removeForNewDatabase(const QString& name) const;
    // The open sequence after the file is chosen: close, open, load, select
    // the root with nothing shown, focus the tree. The path is made absolute
    // first; an existing file that will not open (damaged, held by another
    // program) is reported before the open database is closed, which then
    // stays open.
    void openSequence(const QString& path);
    // Reports a file named on a command line that does not exist.
    void reportNotFound(const QString& path);

    DatabaseState& state_;
    NoteSelection& notes_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    UserDialogs& dialogs_;
    TreeHost& host_;
};

}  // namespace tamix
