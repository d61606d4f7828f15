#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace tamix {

class SearchMatcher;
class cNode;
class cTempTree;

// A whole search of a stored tree without any window: the hits the window's
// subtree or database search visits, in the order it visits them. The tree
// is the one the tree loader shows (TreeWalk from the root "k0000000001"),
// each note's children in label order as the tree keeps them (case-folded
// labels, equal labels in the order the loader adds them); notes are visited
// in pre-order and each note's hits in increasing position. The root holds
// no text of its own.
class TreeSearch {
public:
    struct Hit {
        std::string key;
        int position = 0;  // as the editor counts it (a paragraph break is two)
        bool operator==(const Hit&) const = default;
    };

    // The hits under and including the note `startKey` of the open node
    // store; `table` is working space of the tree walk. A start key that is
    // not in the tree throws TamixError kErrInvalidCall; storage errors
    // propagate.
    static std::vector<Hit> Run(cNode& node, cTempTree& table, const SearchMatcher& matcher,
                                const std::string& startKey);

    // Reads every stored body once, in storage order: for each key, whether
    // the body FindKey answers for it (the first record with that key)
    // holds a hit. Moves the node store's cursor; storage errors propagate.
    static std::unordered_map<std::string, bool> ScanBodies(cNode& node, const SearchMatcher& matcher);
};

}  // namespace tamix
