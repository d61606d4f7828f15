#include "editor/link_safe_edit.h"

#include "links/link_handler.h"
#include "tree/database_state.h"

namespace tamix {

LinkSafeEdit::LinkSafeEdit(DatabaseState& state, LinkHandler& links) : state_(state), links_(links) {}

void LinkSafeEdit::Run(const std::function<void()>& change) {
    if (links_.SelectionTouchesLink()) {
        links_.PrepareLinkedSelection();
        state_.PendingRelink = true;
    }
    // The marking must come back even when the change fails half way, or a
    // link would stay unprotected and the guard would silence the editor.
    struct Finish {
        DatabaseState& state;
        LinkHandler& links;
        ~Finish() {
            state.EditorChangeGuard = false;
            links.rtfMain_Change();
        }
    } finish{state_, links_};
    change();
}

}  // namespace tamix
