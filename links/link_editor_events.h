#pragma once

#include <QMetaObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

namespace tamix {

class CommandTable;
class LinkHandler;
class LinkOpener;
class NoteSelection;
class TreeHost;
class UserDialogs;
struct DatabaseState;
namespace controls {
class RichTextBox;
class TreeView;
}  // namespace controls

// The note editor's own events, which drive the link table: changes
// re-anchor the links, selection changes snap to whole links, keys that
// would break a link go through the link operations first, the mouse shows
// a link's target and double-clicks follow it.
class LinkEditorEvents {
public:
    // What the window provides: whether the editor side is active (the tree
    // has lost the focus), the status bar's text, and the Edit menu as a
    // pop-up at a global position.
    struct Window {
        std::function<bool()> editorActive;
        std::function<void(const QString&)> setStatusText;
        std::function<void(const QPoint&)> popupEditMenu;
    };

    LinkEditorEvents(DatabaseState& state, controls::RichTextBox& editor, controls::TreeView& tree,
                     NoteSelection& notes, LinkHandler& links, const LinkOpener& opener,
                     UserDialogs& dialogs, TreeHost& host, const CommandTable& commands, Window window);
    ~LinkEditorEvents();
    LinkEditorEvents(const LinkEditorEvents&) = delete;
    LinkEditorEvents& operator=(const LinkEditorEvents&) = delete;

    // Follows link i: a note link shows that note (the shown note is saved
    // first), a beep when the note is gone; any other target goes to the
    // desktop, or is refused with a message when it is a program.
    void FollowLink(int i);

    // The key-down handling (also reachable for tests): may swallow the key
    // by setting keyCode (and shift) to 0.
    void KeyDown(int& keyCode, int& shift);

private:
    void selChange();
    void mouseMove(int x, int y);
    void gotFocus();

    DatabaseState& state_;
    controls::RichTextBox& editor_;
    controls::TreeView& tree_;
    NoteSelection& notes_;
    LinkHandler& links_;
    const LinkOpener& opener_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    const CommandTable& commands_;
    Window window_;
    std::vector<QMetaObject::Connection> connections_;  // cut in the destructor
};

}  // namespace tamix
