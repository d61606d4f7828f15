#pragma once

#include <QString>
#include <vector>

namespace tamix {

struct AppOptions;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// Keeps the shown note's link table anchored to its characters while the
// text is edited, and marks and unmarks links in the editor. Between user
// actions every entry's characters LinkStart ... LinkEnd - 1 of the editor's
// text are its LinkText, underlined, in the link colour and protected.
//
// Every operation that changes the editor's selection or format sets the
// editor-change guard first, because the editor raises its change and
// selection-change events synchronously.
class LinkHandler {
public:
    LinkHandler(DatabaseState& state, controls::RichTextBox& editor, const AppOptions& options);

    // True when the selection holds protected text (wholly or partly).
    bool SelectionTouchesLink() const;
    // Makes a selection that covers part of a link cover all of it (when it
    // grew since the last snap) or none of it (when it shrank); records the
    // links it touches.
    void SnapSelectionToLinks();
    // Snaps, sets the guard and lifts the protection of the selection; the
    // caller clears the guard after its edit and sets PendingRelink.
    void PrepareLinkedSelection();
    // The editor's change handling (also called directly after a command's
    // own edit): marks the note changed, then re-marks the touched links
    // when PendingRelink is set, else re-anchors every link. Does nothing
    // while the guard is set.
    void rtfMain_Change();
    // Moves each link to the nearest place where its text now stands,
    // forward winning at equal distance; a link whose text is gone stays.
    void RelocateLinks();
    // Underlines, colours and protects the touched links again and restores
    // the saved selection.
    void RemarkTouchedLinks();
    // Before Delete, Backspace, cut or paste-text: the whole links the
    // selection touches become ordinary text and leave the table; the
    // later links move back by the selection's length.
    void RemoveSelectedLinks();
    // Removes entry i and unmarks the current selection.
    void DeleteLink(int i);
    // Moves the links at or after the selection back by its length (before
    // the selected text is removed), or forward by `count` characters
    // (before `count` characters are inserted there).
    void ShiftLinksBack();
    void ShiftLinksForward(int count);
    // An empty selection that would type in a link's format types plain
    // text in the default font instead.
    void ResetTypingFormat();
    // True for the keys that type a character: Enter and Space with any
    // modifiers; digits, letters and US punctuation with no modifier or
    // Shift alone.
    static bool IsTypingKey(int keyCode, int shift);

    // Makes the selection a link with `text` (replacing the selection when
    // it differs) and `target`: a new entry, or the entry being edited.
    // Answers false without a change when a new entry would exceed the
    // table's room.
    bool SetLink(const QString& text, const QString& target);
    // When the selection overlaps a link: selects it, starts editing it and
    // answers its target; otherwise answers the selected text.
    QString SelectLinkAtSelection();
    // Ends the editing of a link (the dialog closed).
    void EndEditingLink() { editingLink_ = 0; }
    // The index of the link being edited, 0 when none.
    int EditingLink() const { return editingLink_; }
    // True when some link has LinkStart <= p <= LinkEnd.
    bool IsInLink(int p) const;
    // The target of the link at the character nearest (x, y) twips in the
    // editor, "" when none; sets the hovered link and the mouse pointer
    // (arrow over a link).
    QString LinkAtPoint(int x, int y);
    // The link under the mouse as last seen, 0 when none.
    int HoveredLink() const { return hoveredLink_; }

private:
    // Runs `body` with the guard set, restoring its earlier value.
    template <typename F> void guarded(F&& body);

    DatabaseState& state_;
    controls::RichTextBox& editor_;
    const AppOptions& options_;
    std::vector<int> touched_;  // indices the last snap touched, increasing
    int savedStart_ = 0;        // the selection as the last snap left it
    int savedEnd_ = 0;
    int hoveredLink_ = 0;
    int editingLink_ = 0;       // 0: SetLink adds an entry
};

}  // namespace tamix
