#include "shell/features.h"

#include "editor/clipboard_commands.h"
#include "links/link_commands.h"
#include "links/link_detector.h"
#include "links/link_handler.h"
#include "links/link_opener.h"

namespace tamix {

Features::Features(Parts p)
    : links_(std::make_unique<LinkHandler>(p.state, p.editor, p.options)),
      opener_(std::make_unique<LinkOpener>()),
      linkEvents_(std::make_unique<LinkEditorEvents>(p.state, p.editor, p.tree, p.notes, *links_, *opener_,
                                                     p.dialogs, p.host, p.commands, p.window)),
      detector_(std::make_unique<LinkDetector>(p.state, p.editor, *links_, p.host)) {
    LinkCommands::Register(p.commands, p.state, *links_, *detector_, p.editor, p.tree, p.dialogs, p.host);
    clipboard_ = std::make_unique<ClipboardCommands>(p.state, p.editor, *links_, p.dialogs, p.host, p.commands,
                                                     p.window.editorActive);
}

Features::~Features() = default;

}  // namespace tamix
