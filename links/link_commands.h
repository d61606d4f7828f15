#pragma once

namespace tamix {

class CommandTable;
class LinkDetector;
class LinkHandler;
class TreeHost;
class UserDialogs;
struct DatabaseState;
namespace controls {
class RichTextBox;
class TreeView;
}  // namespace controls

// Binds the hyperlink commands to their declared names: Edit > Hyperlink
// (the Hyperlink dialog, enabled while a note is shown and its link table
// has room) and Tools > Detect Links (enabled while a note is shown).
class LinkCommands {
public:
    static void Register(CommandTable& table, DatabaseState& state, LinkHandler& links, LinkDetector& detector,
                         controls::RichTextBox& editor, const controls::TreeView& tree, UserDialogs& dialogs,
                         TreeHost& host);

    // Shows the Hyperlink dialog modally over the editor's selection, then
    // gives the editor the focus.
    static void Hyperlink(LinkHandler& links, controls::RichTextBox& editor, const controls::TreeView& tree,
                          UserDialogs& dialogs, TreeHost& host);
};

}  // namespace tamix
