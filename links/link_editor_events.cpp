#include "links/link_editor_events.h"

#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "links/link_handler.h"
#include "links/link_opener.h"
#include "tree/database_state.h"
#include "tree/note_selection.h"
#include "tree/tree_host.h"

#include <QCursor>

namespace tamix {

namespace {

constexpr int kCtrl = 2;
constexpr int kKeyI = 73, kKeyX = 88, kKeyC = 67, kKeyV = 86, kKeyZ = 90;
constexpr int kKeyDelete = 46, kKeyBackspace = 8;
constexpr int kRightButton = 2;

}  // namespace

LinkEditorEvents::LinkEditorEvents(DatabaseState& state, controls::RichTextBox& editor, controls::TreeView& tree,
                                   NoteSelection& notes, LinkHandler& links, const LinkOpener& opener,
                                   UserDialogs& dialogs, TreeHost& host, const CommandTable& commands,
                                   Window window)
    : state_(state), editor_(editor), tree_(tree), notes_(notes), links_(links), opener_(opener),
      dialogs_(dialogs), host_(host), commands_(commands), window_(std::move(window)) {
    using controls::RichTextBox;
    connections_ = {
        QObject::connect(&editor_, &RichTextBox::Change, [this] { links_.rtfMain_Change(); }),
        QObject::connect(&editor_, &RichTextBox::SelChange, [this] { selChange(); }),
        QObject::connect(&editor_, &RichTextBox::KeyDown, [this](int& key, int& shift) { KeyDown(key, shift); }),
        QObject::connect(&editor_, &RichTextBox::MouseMove, [this](int, int, int x, int y) { mouseMove(x, y); }),
        QObject::connect(&editor_, &RichTextBox::MouseUp,
                         [this](int button, int, int, int) {
                             if (button == kRightButton && window_.popupEditMenu)
                                 window_.popupEditMenu(QCursor::pos());
                         }),
        QObject::connect(&editor_, &RichTextBox::GotFocus, [this] { gotFocus(); }),
        QObject::connect(&editor_, &RichTextBox::LostFocus,
                         [this] {
                             if (window_.setStatusText) window_.setStatusText(QString());
                         }),
    };
}

LinkEditorEvents::~LinkEditorEvents() {
    for (const QMetaObject::Connection& c : connections_) QObject::disconnect(c);
}

void LinkEditorEvents::selChange() {
    if (state_.EditorChangeGuard) return;
    links_.SnapSelectionToLinks();
    host_.RefreshFormatState();
}

void LinkEditorEvents::KeyDown(int& keyCode, int& shift) {
    const bool ctrl = shift == kCtrl;
    const auto swallow = [&] {
        keyCode = 0;
        shift = 0;
    };
    if (ctrl && keyCode == kKeyI && window_.editorActive && window_.editorActive()) {
        keyCode = 0;
        return;
    }
    // The clipboard keys run the Edit menu's commands, which keep the link
    // table in step; while those are not there the keys do nothing.
    const std::pair<int, const char*> clipboard[] = {
        {kKeyX, "mnuEditCut"}, {kKeyC, "mnuEditCopy"}, {kKeyV, "mnuEditPaste"}};
    for (const auto& [key, command] : clipboard) {
        if (ctrl && keyCode == key) {
            swallow();
            commands_.run(QLatin1String(command));
            return;
        }
    }
    if (ctrl && keyCode == kKeyZ) {  // there is no undo
        swallow();
        return;
    }
    if (keyCode == kKeyDelete || keyCode == kKeyBackspace) links_.RemoveSelectedLinks();
    if (LinkHandler::IsTypingKey(keyCode, shift)) links_.ResetTypingFormat();
}

void LinkEditorEvents::mouseMove(int x, int y) {
    const QString target = links_.LinkAtPoint(x, y);
    if (window_.setStatusText) window_.setStatusText(target);
}

void LinkEditorEvents::gotFocus() {
    controls::Node* selected = tree_.SelectedItem();
    if (selected && selected->Index() == 1) {
        editor_.setEnabled(false);
        host_.FocusTree();
    }
}

void LinkEditorEvents::FollowLink(int i) {
    if (i < 1 || i > state_.Links.Count()) return;
    const LinkOpener::Target target = LinkOpener::Classify(state_.Links[i].LinkLink);
    switch (target.kind) {
    case LinkOpener::Kind::Note: {
        controls::Node* node = tree_.Nodes().Find(target.noteKey);
        if (!node || node->Index() == 1) {
            dialogs_.beep();
            return;
        }
        tree_.setSelectedItem(node);
        node->EnsureVisible();
        notes_.tree_NodeClick(node);
        return;
    }
    case LinkOpener::Kind::Address:
        opener_.Open(target.url);
        return;
    case LinkOpener::Kind::Refused:
        dialogs_.message(target.refusal, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
}

}  // namespace tamix
