#include "tree_walk.h"

#include "node_key.h"
#include "tamix_error.h"

#include <vector>

namespace tamix {
namespace {

struct Level {
    std::string key;        // the note whose children this level visits
    std::int32_t position;  // table index of the child visited last; Count + 1 before the first
};

}  // namespace

std::int32_t TreeWalk::Load(cNode& node, cTempTree& table, const Visit& visit) {
    std::int32_t maxKeyNumber = NodeKey::kRootNumber;
    if (node.FileIsEmpty()) return maxKeyNumber;

    table.Init();
    node.MoveFirst();
    while (!node.AtEOF()) {
        if (!node.Deleted()) {
            table.AddNode();
            table.Key(node.Key());
            table.Parent(node.Parent());
            table.NodeText(node.NodeText());
        }
        node.MoveNext();
    }

    // Entering a level raises MaxKeyNumber over all of its children at once,
    // as pushing them all would.
    std::vector<Level> levels;
    auto enter = [&](const std::string& key) {
        bool any = false;
        for (bool more = table.FindFirstParent(key); more; more = table.FindNextParent(key)) {
            any = true;
            const std::int64_t number = NodeKey::Number(table.Key());
            if (number > maxKeyNumber) {
                if (number > INT32_MAX)
                    throw TamixError(kErrOverflow, "Overflow: the key " + table.Key() + " is too large");
                maxKeyNumber = static_cast<std::int32_t>(number);
            }
        }
        // A note without children needs no level of its own.
        if (!any) return;
        if (levels.size() >= static_cast<std::size_t>(kMaxPending))
            throw TamixError(kErrOutOfRange, "The notes are nested more than " + std::to_string(kMaxPending) +
                                                 " levels deep (at note " + key + "); the tree cannot be loaded");
        levels.push_back({key, table.Count() + 1});
    };

    enter(NodeKey::kRoot);
    while (!levels.empty()) {
        Level& level = levels.back();
        table.Goto(level.position);
        if (!table.FindPreviousParent(level.key)) {
            levels.pop_back();
            continue;
        }
        level.position = table.Current();
        const std::string key = table.Key();
        if (NodeKey::Number(key) != NodeKey::kRootNumber) {
            table.FindKey(key);
            visit(table.Key(), table.Parent(), table.NodeText());
        }
        enter(key);
    }
    table.Init();
    return maxKeyNumber;
}

}  // namespace tamix
