#pragma once

#include "find/find_state.h"
#include "find/search_matcher.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace tamix {

class CommandTable;
class NoteSelection;
class TreeHost;
class UserDialogs;
class frmFind2;
struct DatabaseState;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// Find: searching the shown note, the selected note's subtree or the whole
// database for a text, hit by hit. Each hit is shown by loading its note,
// selecting the hit in the editor and asking in the hit window whether to go
// on; a search that runs to its end says "End of Search".
//
// A tree search visits the notes in pre-order, children in the tree's
// (label) order, and gives each searched child subtree its expanded state
// back unless the search stopped inside it. Only notes whose stored body
// holds a hit (decided from the body's editor text, BodyText, with the
// editor's own matching rules, SearchMatcher) and the note the walk ends on
// are loaded into the editor. Every other note visited has on the tree
// exactly the effect selecting it would have (its ancestors expanded), and a
// subtree without a note to load is not entered, since searching it would
// leave nothing but its parent expanded; so the hits, their order, the
// selection and the expanded states are those of loading every note.
//
// No note is saved or marked changed while a search moves from note to
// note: the editor-change guard is set for the whole search.
class Finder {
public:
    Finder(DatabaseState& state, controls::TreeView& tree, controls::RichTextBox& editor, NoteSelection& notes,
           UserDialogs& dialogs, TreeHost& host);
    ~Finder();
    Finder(const Finder&) = delete;
    Finder& operator=(const Finder&) = delete;

    // Binds Edit > Find (Ctrl+F, the "find" button), enabled while a
    // database is open.
    void Register(CommandTable& table);

    // The command: saves the shown note if changed, asks with the find
    // dialog, then searches. Errors go to the shared error report.
    void FindCommand();
    // Searches as the find state says, when the dialog was confirmed; then
    // marks the dialog unconfirmed again.
    void RunSearch();
    // Searches the editor's text from SearchPosition on, showing each hit,
    // until the end of the text or the user cancels.
    void SearchDocument();
    // Searches `start` and everything below it (see the class comment);
    // only while RunSearch runs.
    void SearchTree(controls::Node* start);
    // Shows the hit window modally; answers SearchContinue.
    bool ShowSearchHit();

    // The find options and progress, kept between searches.
    FindState& state() { return find_; }

private:
    // What selecting and searching `node` amounts to: the real note click
    // and document search when the note may hold a hit or ends the walk,
    // else only the tree's side of selecting it.
    void visit(controls::Node* node);
    // The pre-order walk of SearchTree from `node`, along the plan.
    void walk(controls::Node* node);
    // Decides before a tree walk from `start` which notes it loads: those
    // that may hold a hit and the one it ends on (loaded_), and which
    // subtrees it enters: those holding such a note (onPath_).
    void planWalk(controls::Node* start);
    // False only when the stored body shown for `node` surely holds no hit.
    bool mayHoldHit(controls::Node* node);
    // Reads every stored body once in storage order: for each key, whether
    // the body a note click would load for it (the first record with that
    // key) holds a hit. Nothing when the store cannot be read through; the
    // notes are then looked up one by one.
    std::optional<std::unordered_map<std::string, bool>> scanBodies();

    DatabaseState& state_;
    controls::TreeView& tree_;
    controls::RichTextBox& editor_;
    NoteSelection& notes_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    FindState find_;
    // Set only while RunSearch runs.
    frmFind2* hitWindow_ = nullptr;
    std::optional<SearchMatcher> matcher_;   // the running search's text and flags
    controls::Node* last_ = nullptr;         // the node the running tree walk ends on
    bool rootHoldsHit_ = false;              // the empty body shown for the root holds a hit
    // For a search over much of the tree: scanBodies() of this search.
    std::optional<std::unordered_map<std::string, bool>> bodyHits_;
    std::unordered_set<const controls::Node*> loaded_;  // planWalk of this search
    std::unordered_set<const controls::Node*> onPath_;  // every node of loaded_ with its ancestors
};

}  // namespace tamix
