#include "shell/features.h"

#include "links/link_handler.h"
#include "links/link_opener.h"

namespace tamix {

Features::Features(Parts p)
    : links_(std::make_unique<LinkHandler>(p.state, p.editor, p.options)),
      opener_(std::make_unique<LinkOpener>()),
      linkEvents_(std::make_unique<LinkEditorEvents>(p.state, p.editor, p.tree, p.notes, *links_, *opener_,
                                                     p.dialogs, p.host, p.commands, std::move(p.window))) {}

Features::~Features() = default;

}  // namespace tamix
