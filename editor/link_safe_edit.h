#pragma once

#include <functional>

namespace tamix {

class LinkHandler;
struct DatabaseState;

// The one way a command changes the format (or the text) of the editor's
// selection without breaking a link: links the selection touches are
// snapped to whole, their protection lifted for the change, and the
// editor's change handling marks them again afterwards.
class LinkSafeEdit {
public:
    LinkSafeEdit(DatabaseState& state, LinkHandler& links);

    // Runs `change` over the selection. When the selection touches a link it
    // first becomes whole links, unprotected, with the editor-change guard
    // set and the pending-relink flag raised. However `change` ends (also by
    // an exception, which passes on, or a cancelled dialog), the guard is
    // cleared and the change handling runs: the touched links are underlined,
    // coloured and protected again with the selection restored (or, when no
    // link was touched, every link is re-anchored), and the note is marked
    // changed.
    void Run(const std::function<void()>& change);

private:
    DatabaseState& state_;
    LinkHandler& links_;
};

}  // namespace tamix
