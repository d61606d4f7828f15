#include "find/tree_search.h"

#include "find/body_text.h"
#include "find/search_matcher.h"
#include "storage/c_node.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/tree_walk.h"

#include <QString>

#include <algorithm>

namespace tamix {

namespace {

struct TreeNote {
    std::string key;
    QString fold;                  // the label case-folded: the tree's sort key
    std::vector<std::size_t> children;  // indexes into the note list, in label order
};

}  // namespace

std::vector<TreeSearch::Hit> TreeSearch::Run(cNode& node, cTempTree& table, const SearchMatcher& matcher,
                                             const std::string& startKey) {
    std::vector<TreeNote> notes{{NodeKey::kRoot, QString(), {}}};
    std::unordered_map<std::string, std::size_t> byKey{{NodeKey::kRoot, 0}};
    if (!node.FileIsEmpty()) {
        TreeWalk::Load(node, table, [&](const std::string& key, const std::string& parent, const std::string& text) {
            const auto up = byKey.find(parent);
            if (up == byKey.end()) return;
            const std::size_t at = notes.size();
            notes.push_back({key, QString::fromStdString(text).toCaseFolded(), {}});
            notes[up->second].children.push_back(at);
            byKey.emplace(key, at);
        });
    }
    // The tree inserts each note after every sibling whose label compares
    // less or equal: a stable sort of the arrival order.
    for (TreeNote& note : notes) {
        std::stable_sort(note.children.begin(), note.children.end(), [&](std::size_t a, std::size_t b) {
            return QString::compare(notes[a].fold, notes[b].fold, Qt::CaseSensitive) < 0;
        });
    }
    const auto start = byKey.find(startKey);
    if (start == byKey.end()) throw TamixError(kErrInvalidCall, "No note in the tree has the key " + startKey);

    const std::unordered_map<std::string, bool> bodyHits = ScanBodies(node, matcher);
    std::vector<Hit> out;
    std::vector<std::size_t> pending{start->second};
    while (!pending.empty()) {
        const TreeNote& note = notes[pending.back()];
        pending.pop_back();
        pending.insert(pending.end(), note.children.rbegin(), note.children.rend());
        const auto found = bodyHits.find(note.key);
        if (&note == &notes[0] || found == bodyHits.end() || !found->second || !node.FindKey(note.key)) continue;
        for (int position : matcher.hits(BodyText::of(node.RTFData()))) out.push_back({note.key, position});
    }
    return out;
}

std::unordered_map<std::string, bool> TreeSearch::ScanBodies(cNode& node, const SearchMatcher& matcher) {
    std::unordered_map<std::string, bool> hits;
    if (node.FileIsEmpty()) return hits;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        std::string key = node.Key();
        if (hits.contains(key)) continue;
        hits.emplace(std::move(key), matcher.bodyHoldsHit(node.RTFData()));
    }
    return hits;
}

}  // namespace tamix
