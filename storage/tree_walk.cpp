#include "storage/tree_walk.h"

#include "storage/node_key.h"
#include "storage/string_ids.h"
#include "storage/tamix_error.h"

#include <string_view>
#include <vector>

namespace tamix {
namespace {

// The entries 1 ... Count of a filled table grouped by Parent (each group's
// entries ascending), and the first entry of each Key. The table must not
// change while this is in use.
class Groups {
public:
    explicit Groups(const cTempTree& table)
        : table_(table),
          groupIds_(0,
                    [this](std::int32_t g) -> std::string_view { return table_.ParentAt(first_[g]); }),
          keyIds_(static_cast<std::size_t>(table.Count()),
                  [this](std::int32_t i) -> std::string_view { return table_.KeyAt(i); }) {
        const std::int32_t count = table.Count();
        std::vector<std::int32_t> groupOfEntry(static_cast<std::size_t>(count) + 1);
        std::vector<std::int32_t> sizes;
        for (std::int32_t i = 1; i <= count; ++i) {
            const std::string& parent = table.ParentAt(i);
            std::int32_t g = groupIds_.find(parent);
            if (g < 0) {
                g = static_cast<std::int32_t>(sizes.size());
                first_.push_back(i);
                sizes.push_back(0);
                groupIds_.add(parent, g);
            }
            groupOfEntry[i] = g;
            ++sizes[g];
            keyIds_.add(table.KeyAt(i), i);
        }
        begin_.assign(sizes.size() + 1, 0);
        for (std::size_t g = 0; g < sizes.size(); ++g) begin_[g + 1] = begin_[g] + sizes[g];
        entries_.resize(static_cast<std::size_t>(count));
        std::vector<std::int32_t> fill(begin_.begin(), begin_.end() - 1);
        for (std::int32_t i = 1; i <= count; ++i) entries_[fill[groupOfEntry[i]]++] = i;
    }

    Groups(const Groups&) = delete;
    Groups& operator=(const Groups&) = delete;

    // The group of the entries whose Parent is parent; -1 when there are none.
    std::int32_t group(std::string_view parent) const { return groupIds_.find(parent); }
    std::int32_t size(std::int32_t g) const { return begin_[g + 1] - begin_[g]; }
    // Entry k (from 0) of group g.
    std::int32_t entry(std::int32_t g, std::int32_t k) const { return entries_[begin_[g] + k]; }
    // The first entry whose Key is key (one with it must exist).
    std::int32_t firstWithKey(std::string_view key) const { return keyIds_.find(key); }

private:
    const cTempTree& table_;
    std::vector<std::int32_t> first_;    // per group, its first entry
    std::vector<std::int32_t> begin_;    // group g is entries_[begin_[g] ... begin_[g + 1] - 1]
    std::vector<std::int32_t> entries_;
    StringIds groupIds_;                 // Parent -> group
    StringIds keyIds_;                   // Key -> its first entry
};

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

    const Groups groups(table);
    // Entering a level raises MaxKeyNumber over all of its children at once,
    // as pushing them all would.
    std::vector<Level> levels;
    auto enter = [&](const std::string& key) {
        const std::int32_t g = groups.group(key);
        // A note without children needs no level of its own.
        if (g < 0) return;
        for (std::int32_t k = 0; k < groups.size(g); ++k) {
            const std::string& childKey = table.KeyAt(groups.entry(g, k));
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
        levels.push_back({g, groups.size(g)});
    };

    const std::string root = NodeKey::kRoot;
    enter(root);
    const std::int32_t rootGroup = groups.group(root);
    // Siblings are visited from the last stored to the first, each followed
    // by its whole subtree. A note is shown with the fields of the first
    // entry that carries its key.
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.left == 0) {
            levels.pop_back();
            continue;
        }
        --level.left;
        const std::string& key = table.KeyAt(groups.entry(level.group, level.left));
        if (NodeKey::Number(key) != NodeKey::kRootNumber) {
            const std::int32_t shown = groups.firstWithKey(key);
            visit(table.KeyAt(shown), table.ParentAt(shown), table.NodeTextAt(shown));
        }
        enter(key);
    }
    // Current is left on the root's first child, or on the last entry added
    // when the root has none.
    if (rootGroup >= 0) table.Goto(groups.entry(rootGroup, 0));
    table.Init();
    return maxKeyNumber;
}

}  // namespace tamix
