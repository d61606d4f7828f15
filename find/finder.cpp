#include "find/finder.h"

#include "controls/node.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "find/body_text.h"
#include "find/frm_find.h"
#include "find/frm_find2.h"
#include "find/tree_search.h"
#include "storage/c_node.h"
#include "storage/tamix_error.h"
#include "tree/database_state.h"
#include "tree/note_selection.h"
#include "tree/tree_host.h"

namespace tamix {

namespace {

// Sets the editor-change guard for its lifetime and clears it afterwards,
// however the search ends.
class GuardScope {
public:
    explicit GuardScope(DatabaseState& state) : state_(state) { state_.EditorChangeGuard = true; }
    ~GuardScope() { state_.EditorChangeGuard = false; }
    GuardScope(const GuardScope&) = delete;
    GuardScope& operator=(const GuardScope&) = delete;

private:
    DatabaseState& state_;
};

// True when the subtree of `node` holds at least `count` nodes.
bool holdsAtLeast(controls::Node* node, int count) {
    int seen = 0;
    for (controls::Node* n = node; n && seen < count;) {
        ++seen;
        if (controls::Node* child = n->Child()) {
            n = child;
            continue;
        }
        while (n != node && !n->Next()) n = n->Parent();
        n = n == node ? nullptr : n->Next();
    }
    return seen >= count;
}

// The last node of the pre-order walk of `node`'s subtree.
controls::Node* lastInPreOrder(controls::Node* node) {
    while (controls::Node* child = node->Child()) node = child->LastSibling();
    return node;
}

}  // namespace

Finder::Finder(DatabaseState& state, controls::TreeView& tree, controls::RichTextBox& editor, NoteSelection& notes,
               UserDialogs& dialogs, TreeHost& host)
    : state_(state), tree_(tree), editor_(editor), notes_(notes), dialogs_(dialogs), host_(host) {}

Finder::~Finder() = default;

void Finder::Register(CommandTable& table) {
    table.bind("mnuEditFind", [this] { FindCommand(); }, [this] { return state_.DatabaseOpen; });
}

void Finder::FindCommand() {
    notes_.SaveIfChanged();
    RunCommand(host_, [this] {
        frmFind form(find_, editor_.window());
        dialogs_.runModal(form);
        RunSearch();
    });
}

void Finder::RunSearch() {
    frmFind2 hitWindow(find_, editor_.window());
    hitWindow_ = &hitWindow;
    struct Unload {
        Finder& finder;
        ~Unload() {
            finder.hitWindow_ = nullptr;
            finder.matcher_.reset();
            finder.last_ = nullptr;
            finder.bodyHits_.reset();
            finder.loaded_.clear();
            finder.onPath_.clear();
        }
    } unload{*this};
    GuardScope guard(state_);
    find_.SearchContinue = true;
    if (find_.SearchCancelled) return;
    find_.SearchFlags = static_cast<std::uint8_t>((find_.SearchWholeWord ? controls::RichTextBox::kFindWholeWord : 0) +
                                                  (find_.SearchMatchCase ? controls::RichTextBox::kFindMatchCase : 0));
    matcher_.emplace(find_.SearchText, find_.SearchFlags);
    find_.SearchCancelled = true;  // set again however this search ends
    if (find_.SearchScope == FindState::kScopeDocument) {
        find_.SearchPosition = 0;
        SearchDocument();
    } else {
        controls::Node* root = tree_.Nodes().Count() > 0 ? tree_.Nodes().Item(1) : nullptr;
        controls::Node* start = find_.SearchScope == FindState::kScopeTree && tree_.SelectedItem()
                                    ? tree_.SelectedItem() : root;
        if (start) SearchTree(start);
    }
    if (find_.SearchContinue) dialogs_.message(QStringLiteral("End of Search"), MsgButtons::Ok);
}

void Finder::SearchDocument() {
    while (find_.SearchPosition >= 0) {
        find_.SearchPosition = editor_.Find(find_.SearchText, find_.SearchPosition, -1, find_.SearchFlags);
        if (find_.SearchPosition < 0) return;
        find_.SearchPosition += 1;
        if (!ShowSearchHit()) return;
    }
}

void Finder::SearchTree(controls::Node* start) {
    if (!matcher_) return;
    rootHoldsHit_ = matcher_->holdsHit(BodyText::of(state_.EmptyNoteRTF));
    last_ = lastInPreOrder(start);
    // Reading the whole store in its own order beats looking up more than a
    // quarter of its notes one by one.
    if (state_.DatabaseOpen && holdsAtLeast(start, tree_.Nodes().Count() / 4)) bodyHits_ = scanBodies();
    planWalk(start);
    walk(start);
}

void Finder::walk(controls::Node* node) {
    if (!find_.SearchContinue) return;
    visit(node);
    if (!find_.SearchContinue) return;
    for (controls::Node* child = node->Child(); child; child = child->Next()) {
        if (!onPath_.contains(child)) {
            // Searching this subtree would load no note; of selecting its
            // notes and folding it back only this node's expansion remains.
            if (!node->Expanded()) node->setExpanded(true);
            continue;
        }
        const bool expanded = child->Expanded();
        walk(child);
        if (!find_.SearchContinue) return;  // the stop's note stays in sight
        if (child->Expanded() != expanded) child->setExpanded(expanded);
    }
}

bool Finder::ShowSearchHit() {
    find_.SearchContinue = false;
    if (hitWindow_) dialogs_.runModal(*hitWindow_);
    return find_.SearchContinue;
}

void Finder::visit(controls::Node* node) {
    if (!loaded_.contains(node)) {
        // Selecting a node expands its ancestors; nothing else of it shows.
        for (controls::Node* up = node->Parent(); up; up = up->Parent()) {
            if (!up->Expanded()) up->setExpanded(true);
        }
        return;
    }
    tree_.setSelectedItem(node);
    state_.NoteChanged = false;
    notes_.tree_NodeClick(node);
    find_.SearchPosition = 0;
    SearchDocument();
}

void Finder::planWalk(controls::Node* start) {
    for (controls::Node* n = start; n;) {
        if (n == last_ || mayHoldHit(n)) {
            loaded_.insert(n);
            for (controls::Node* up = n; up && onPath_.insert(up).second && up != start;) up = up->Parent();
        }
        if (controls::Node* child = n->Child()) {
            n = child;
            continue;
        }
        while (n != start && !n->Next()) n = n->Parent();
        n = n == start ? nullptr : n->Next();
    }
}

bool Finder::mayHoldHit(controls::Node* node) {
    if (!matcher_) return true;
    if (node->Index() == 1 || !state_.DatabaseOpen) return rootHoldsHit_;
    if (bodyHits_) {
        // A node without a record is clicked for real, which reports it.
        const auto found = bodyHits_->find(node->Key().toStdString());
        return found == bodyHits_->end() || found->second;
    }
    try {
        // A node without a record is clicked for real, which reports it.
        if (!state_.Node.FindKey(node->Key().toStdString())) return true;
        return matcher_->bodyHoldsHit(state_.Node.RTFData());
    } catch (const TamixError&) {
        return true;  // the note click reports the damage
    }
}

std::optional<std::unordered_map<std::string, bool>> Finder::scanBodies() {
    BusyScope busy(host_);
    try {
        return TreeSearch::ScanBodies(state_.Node, *matcher_);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace tamix
