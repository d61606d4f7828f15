#pragma once

#include "transfer/transfer_progress.h"

#include <QString>

#include <functional>
#include <string>

namespace tamix {

class CommandTable;
class NoteSelection;
class TreeHost;
class UserDialogs;
struct AppOptions;
struct DatabaseState;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// The Tools > Export and Tools > Import commands of the main window: the
// shown note as a document, the selected subtree as a new database, another
// database or a document below the selected note. The copying is done by
// TreeExport, TreeImport and DocumentImport, which the command-line tool
// runs too; this class adds the dialogs, the tree and the editor.
//
// Copies show "N of M notes" in the status bar once they have run for
// half a second, and let the window repaint while they run; the window
// itself stays disabled with the hourglass.
class TransferCommands {
public:
    TransferCommands(DatabaseState& state, const AppOptions& options, controls::TreeView& tree,
                     controls::RichTextBox& editor, NoteSelection& notes, UserDialogs& dialogs, TreeHost& host,
                     std::function<void(const QString&)> setStatusText);

    // Binds the four commands: exporting the note while one is shown, the
    // others while a database is open.
    void Register(CommandTable& table);

    // The commands; each reports its errors and ends silently on Cancel.
    void ExportNote();
    void ExportTree();
    void ImportTree();
    void ImportDocument();

private:
    // A progress report for the status bar, starting its clock now.
    TransferProgress progress(const QString& verb);
    // Selects `key`'s node again (the root when it is gone) and shows it.
    void reselect(const QString& key);
    // The file an import reads, from the open dialog; empty when cancelled.
    QString chooseSource(const QString& title, const char* filter);
    static std::string nativePath(const QString& path);

    DatabaseState& state_;
    const AppOptions& options_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    NoteSelection& notes_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    std::function<void(const QString&)> setStatusText_;
};

}  // namespace tamix
