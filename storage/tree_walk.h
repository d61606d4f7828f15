#pragma once

#include "storage/c_node.h"
#include "storage/c_temp_tree.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tamix {

// How a tree of notes is read from a node store: every live record (not
// marked Deleted) is copied into a node header table in storage order, then
// the notes reachable from the root "k0000000001" are visited depth first,
// each after its parent, the children of a note from the last stored to the
// first. Records whose parent is not reached (orphans, cycles) are never
// visited. The walk keeps one pending position per level, so any number of
// siblings loads; a tree nested deeper than kMaxPending levels is refused
// with a clear error instead.
class TreeWalk {
public:
    static constexpr int kMaxPending = 2000;

    // Called for every visited note with its Key, Parent and NodeText.
    using Visit = std::function<void(const std::string& key, const std::string& parent, const std::string& text)>;

    // Walks the open node store with the help of table (which is emptied
    // again afterwards, its Current left on the root's first child) and
    // answers MaxKeyNumber: the highest key number of
    // the visited notes, 1 when there are none or the store reports the file
    // empty. A key number that does not fit 32 bits fails with kErrOverflow.
    static std::int32_t Load(cNode& node, cTempTree& table, const Visit& visit);
};

}  // namespace tamix
