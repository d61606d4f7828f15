#include "editor/editor_drop.h"

#include "controls/rich_text_box.h"
#include "editor/clipboard_commands.h"
#include "editor/clipboard_content.h"
#include "links/link_handler.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"

#include <QMimeData>

namespace tamix {

EditorDrop::EditorDrop(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links,
                       ClipboardCommands& clipboard, TreeHost& host)
    : state_(state), editor_(editor), links_(links), clipboard_(clipboard), host_(host) {
    QObject::connect(&editor_, &controls::RichTextBox::DropData, &receiver_,
                     [this](const QMimeData* data, int position, bool move, bool& handled) {
                         handled = true;
                         RunCommand(host_, [&] { Drop(*data, position, move); });
                     });
}

void EditorDrop::Drop(const QMimeData& data, int position, bool move) {
    const QFont font = editor_.document()->defaultFont();
    if (!move) {
        placeCaret(position);
        clipboard_.InsertAtCaret(ClipboardContent::read(&data, font));
        return;
    }
    // The text that moves is the selection grown to whole links, read
    // before anything changes; the dragged data may hold less of a link.
    links_.SnapSelectionToLinks();
    const int start = editor_.SelStart();
    const int length = editor_.SelLength();
    if (length == 0 || (position >= start && position <= start + length)) return;
    const std::unique_ptr<QMimeData> moved = ClipboardContent::fromSelection(editor_);
    const ClipboardContent::Paste content = ClipboardContent::read(moved.get(), font);
    if (content.kind == ClipboardContent::Paste::Kind::Nothing) {
        clipboard_.InsertAtCaret(content);  // names the problem, changes nothing
        return;
    }
    const int before = editor_.TextLength();
    clipboard_.RemoveSelection();
    if (editor_.TextLength() == before) return;  // refused: nothing was taken away
    placeCaret(position > start ? position - length : position);
    clipboard_.InsertAtCaret(content);
}

void EditorDrop::placeCaret(int position) {
    // Under the guard: a caret placed by the user just after a link selects
    // the link, which the insertion would then replace.
    const bool guard = state_.EditorChangeGuard;
    state_.EditorChangeGuard = true;
    editor_.select(position, 0);
    state_.EditorChangeGuard = guard;
}

}  // namespace tamix
