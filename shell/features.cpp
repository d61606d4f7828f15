#include "shell/features.h"

#include "editor/clipboard_commands.h"
#include "editor/editor_drop.h"
#include "find/finder.h"
#include "links/link_commands.h"
#include "links/link_detector.h"
#include "links/link_handler.h"
#include "links/link_opener.h"
#include "options/options_command.h"
#include "print/print_commands.h"
#include "transfer/transfer_commands.h"

namespace tamix {

Features::Features(Parts p)
    : links_(std::make_unique<LinkHandler>(p.state, p.editor, p.options)),
      opener_(std::make_unique<LinkOpener>()),
      linkEvents_(std::make_unique<LinkEditorEvents>(p.state, p.editor, p.tree, p.notes, *links_, *opener_,
                                                     p.dialogs, p.host, p.commands, p.window)),
      detector_(std::make_unique<LinkDetector>(p.state, p.editor, *links_, p.host)),
      transfer_(std::make_unique<TransferCommands>(p.state, p.options, p.tree, p.editor, p.notes, p.dialogs, p.host,
                                                   p.window.setStatusText)),
      print_(std::make_unique<PrintCommands>(p.commands, p.state, p.editor, p.dialogs, p.host)),
      finder_(std::make_unique<Finder>(p.state, p.tree, p.editor, p.notes, p.dialogs, p.host)) {
    LinkCommands::Register(p.commands, p.state, *links_, *detector_, p.editor, p.tree, p.dialogs, p.host);
    OptionsCommand::Register(p.commands, p.options, p.settings, p.state, p.dialogs, p.host);
    formatting_ = std::make_unique<FormatFeature>(p.state, p.options, p.editor, *links_, p.dialogs, p.host, p.commands,
                                                  std::move(p.format));
    transfer_->Register(p.commands);
    finder_->Register(p.commands);
    clipboard_ = std::make_unique<ClipboardCommands>(p.state, p.editor, *links_, p.dialogs, p.host, p.commands,
                                                     p.window.editorActive);
    drop_ = std::make_unique<EditorDrop>(p.state, p.editor, *links_, *clipboard_, p.host);
}

Features::~Features() = default;

}  // namespace tamix
