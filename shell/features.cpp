#include "shell/features.h"

#include "find/finder.h"
#include "links/link_commands.h"
#include "links/link_detector.h"
#include "links/link_handler.h"
#include "links/link_opener.h"

namespace tamix {

Features::Features(Parts p)
    : links_(std::make_unique<LinkHandler>(p.state, p.editor, p.options)),
      opener_(std::make_unique<LinkOpener>()),
      linkEvents_(std::make_unique<LinkEditorEvents>(p.state, p.editor, p.tree, p.notes, *links_, *opener_,
                                                     p.dialogs, p.host, p.commands, std::move(p.window))),
      detector_(std::make_unique<LinkDetector>(p.state, p.editor, *links_, p.host)),
      finder_(std::make_unique<Finder>(p.state, p.tree, p.editor, p.notes, p.dialogs, p.host)) {
    LinkCommands::Register(p.commands, p.state, *links_, *detector_, p.editor, p.tree, p.dialogs, p.host);
    finder_->Register(p.commands);
}

Features::~Features() = default;

}  // namespace tamix
