#pragma once

#include <QObject>

class QMimeData;

namespace tamix {

class ClipboardCommands;
class LinkHandler;
class TreeHost;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// Drag and drop into the note editor, kept in step with the link table as
// cut and paste are: a drop inserts what a paste of the same data would,
// the links after the drop point moving forward; a move of the editor's own
// selection is a cut of it without the clipboard followed by that insertion
// where the text was dropped. Link text moved this way leaves the table and
// arrives as ordinary text, as it would through the clipboard. Dropping a
// selection onto itself changes nothing.
class EditorDrop {
public:
    EditorDrop(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links, ClipboardCommands& clipboard,
               TreeHost& host);
    EditorDrop(const EditorDrop&) = delete;
    EditorDrop& operator=(const EditorDrop&) = delete;

    // What the editor's drop event asks of the links: `position` counts as
    // the editor does; `move` when `data` is the editor's own selection.
    void Drop(const QMimeData& data, int position, bool move);

private:
    void placeCaret(int position);

    DatabaseState& state_;
    controls::RichTextBox& editor_;
    LinkHandler& links_;
    ClipboardCommands& clipboard_;
    TreeHost& host_;
    // Receives the editor's drop signal; destroyed with this object.
    QObject receiver_;
};

}  // namespace tamix
