#include "links/link_commands.h"

#include "controls/rich_text_box.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "links/frm_link.h"
#include "links/link_detector.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"

namespace tamix {

void LinkCommands::Register(CommandTable& table, DatabaseState& state, LinkHandler& links, LinkDetector& detector,
                            controls::RichTextBox& editor, const controls::TreeView& tree, UserDialogs& dialogs,
                            TreeHost& host) {
    const auto noteShown = [&state] { return !state.ShownKey.isEmpty(); };
    table.bind(
        "mnuHyperLink", [&links, &editor, &tree, &dialogs, &host] { Hyperlink(links, editor, tree, dialogs, host); },
        [&state, noteShown] { return noteShown() && !state.Links.Full(); });
    table.bind(
        "mnuToolsLinks", [&detector, &host] { RunCommand(host, [&detector] { detector.DetectLinks(); }); }, noteShown);
}

void LinkCommands::Hyperlink(LinkHandler& links, controls::RichTextBox& editor, const controls::TreeView& tree,
                             UserDialogs& dialogs, TreeHost& host) {
    RunCommand(host, [&] {
        frmLink form(links, editor, tree, dialogs, editor.window());
        dialogs.runModal(form);
    });
    editor.setFocus(Qt::OtherFocusReason);
    host.RefreshFormatState();
}

}  // namespace tamix
