#include "tree_walk.h"

#include "node_key.h"
#include "tamix_error.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace tamix {
namespace {

// The children of every parent key, as runs of ascending table indices.
struct Children {
    std::vector<std::int32_t> begin;    // per group; run of group g is [begin[g], begin[g + 1])
    std::vector<std::int32_t> indices;  // table indices, grouped, ascending within a group
    std::unordered_map<std::string_view, std::int32_t> groupOf;  // parent key -> group

    // The group of the entries whose Parent is key; -1 when there are none.
    std::int32_t group(std::string_view key) const {
        const auto it = groupOf.find(key);
        return it == groupOf.end() ? -1 : it->second;
    }
};

// Groups entries 1 ... Count of the filled table by Parent. The views point
// into the table, which is not changed while they are used.
Children groupByParent(const cTempTree& table) {
    Children c;
    const std::int32_t count = table.Count();
    c.groupOf.reserve(static_cast<std::size_t>(count));
    std::vector<std::int32_t> groupOfEntry(static_cast<std::size_t>(count) + 1);
    std::vector<std::int32_t> sizes;
    for (std::int32_t i = 1; i <= count; ++i) {
        const auto [it, added] = c.groupOf.try_emplace(table.ParentAt(i), static_cast<std::int32_t>(sizes.size()));
        if (added) sizes.push_back(0);
        groupOfEntry[i] = it->second;
        ++sizes[it->second];
    }
    c.begin.assign(sizes.size() + 1, 0);
    for (std::size_t g = 0; g < sizes.size(); ++g) c.begin[g + 1] = c.begin[g] + sizes[g];
    c.indices.resize(static_cast<std::size_t>(count));
    std::vector<std::int32_t> fill(c.begin.begin(), c.begin.end() - 1);
    for (std::int32_t i = 1; i <= count; ++i) c.indices[fill[groupOfEntry[i]]++] = i;
    return c;
}

struct Level {
    std::int32_t group;   // the children this level visits
    std::int32_t left;    // how many of them, from the first, are still to visit
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

    const Children children = groupByParent(table);
    // The first entry with each key: a note is shown with the fields of the
    // first record that carries its key.
    std::unordered_map<std::string_view, std::int32_t> firstWithKey;
    firstWithKey.reserve(static_cast<std::size_t>(table.Count()));
    for (std::int32_t i = 1; i <= table.Count(); ++i) firstWithKey.try_emplace(table.KeyAt(i), i);

    // Entering a level raises MaxKeyNumber over all of its children at once,
    // as pushing them all would.
    std::vector<Level> levels;
    auto enter = [&](const std::string& key) {
        const std::int32_t g = children.group(key);
        // A note without children needs no level of its own.
        if (g < 0) return;
        for (std::int32_t k = children.begin[g]; k < children.begin[g + 1]; ++k) {
            const std::string& childKey = table.KeyAt(children.indices[k]);
            const std::int64_t number = NodeKey::Number(childKey);
            if (number > maxKeyNumber) {
                if (number > INT32_MAX)
                    throw TamixError(kErrOverflow, "Overflow: the key " + childKey + " is too large");
                maxKeyNumber = static_cast<std::int32_t>(number);
            }
        }
        if (levels.size() >= static_cast<std::size_t>(kMaxPending))
            throw TamixError(kErrOutOfRange, "The notes are nested more than " + std::to_string(kMaxPending) +
                                                 " levels deep (at note " + key + "); the tree cannot be loaded");
        levels.push_back({g, children.begin[g + 1] - children.begin[g]});
    };

    const std::string root = NodeKey::kRoot;
    enter(root);
    const std::int32_t rootGroup = children.group(root);
    // Siblings are visited from the last stored to the first, each followed
    // by its whole subtree.
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.left == 0) {
            levels.pop_back();
            continue;
        }
        --level.left;
        const std::string& key = table.KeyAt(children.indices[children.begin[level.group] + level.left]);
        if (NodeKey::Number(key) != NodeKey::kRootNumber) {
            const std::int32_t shown = firstWithKey.find(key)->second;
            visit(table.KeyAt(shown), table.ParentAt(shown), table.NodeTextAt(shown));
        }
        enter(key);
    }
    // Current is left on the root's first child, or on the last entry added
    // when the root has none.
    if (rootGroup >= 0) table.Goto(children.indices[children.begin[rootGroup]]);
    table.Init();
    return maxKeyNumber;
}

}  // namespace tamix
