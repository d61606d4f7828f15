#pragma once

#include <functional>

namespace tamix {

class CommandTable;
class FormatBoxes;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// What the formatting toolbar, the Format menu and the editing commands show
// for the editor's selection. The rules are bound into the command table,
// so every enable pass of the menus applies them; Refresh fills the boxes.
//
// With the editor side active (the tree has lost the focus) the formatting
// commands are enabled, the bold, italic, strike-through, underline and
// bullet buttons are pressed where the selection is wholly so, and the
// button of the selection's alignment is pressed (none when mixed). With
// the tree active they are disabled and released, and the boxes empty.
class FormatState {
public:
    FormatState(const DatabaseState& state, const controls::RichTextBox& editor, FormatBoxes& boxes,
                std::function<bool()> editorActive);

    // Binds the enable and pressed rules: the Format menu and every
    // formatting command by FormatEnabled; Hyperlink by the edit condition
    // and room in the link table; Insert Date / Time by the edit condition;
    void Bind(CommandTable& table) const;

    // Shows the selection's font and size in the boxes (empty when mixed or
    // the tree is active). Does nothing while no database is open.
    void Refresh();

    // A database is open and the editor side is active.
    bool FormatEnabled() const;
    // The editor is enabled and the editor side is active.
    bool EditCondition() const;

private:
    const DatabaseState& state_;
    const controls::RichTextBox& editor_;
    FormatBoxes& boxes_;
    std::function<bool()> editorActive_;
};

}  // namespace tamix
