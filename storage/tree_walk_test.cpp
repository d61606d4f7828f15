#include "storage/tree_walk.h"

#include "storage/node_key.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tamix {
namespace {

class TreeWalkTest : public test::NodeFileTest {
protected:
    cTempTree table;
    std::vector<std::string> visited;  // "key<parent"

    void add(int key, int parent) {
        test::addNote(node, NodeKey::Format(key), NodeKey::Format(parent), "n" + std::to_string(key));
    }
    std::int32_t load() {
        node.OpenFile(name);
        return TreeWalk::Load(node, table, [&](const std::string& key, const std::string& parent, const std::string&) {
            visited.push_back(std::to_string(NodeKey::Number(key)) + "<" + std::to_string(NodeKey::Number(parent)));
        });
    }
};

TEST_F(TreeWalkTest, AnEmptyDatabaseHasOnlyTheRootAndKeyNumberOne) {
    EXPECT_EQ(load(), 1);
    EXPECT_TRUE(visited.empty());
}

TEST_F(TreeWalkTest, AnyNumberOfSiblingsLoads) {
    for (int i = 0; i < 5000; ++i) add(2 + i, 1);
    EXPECT_EQ(load(), 5001);
    EXPECT_EQ(visited.size(), 5000u);
    EXPECT_EQ(visited.front(), "5001<1");
}

TEST_F(TreeWalkTest, ATwoThousandLevelChainLoadsAndOneMoreLevelIsRefused) {
    for (int i = 0; i < TreeWalk::kMaxPending; ++i) add(2 + i, 1 + i);
    EXPECT_EQ(load(), TreeWalk::kMaxPending + 1);
    EXPECT_EQ(visited.size(), static_cast<std::size_t>(TreeWalk::kMaxPending));
    node.CloseFile();
    node.OpenFile(name);
    add(2 + TreeWalk::kMaxPending, 1 + TreeWalk::kMaxPending);
    test::expectError([&] { load(); }, kErrOutOfRange, {"more than 2000 levels"});
}

// What a walk yields: the visits ("key<parent:text"), MaxKeyNumber, where the
// table's cursor ends, or the error that stopped it.
struct Walked {
    std::vector<std::string> visits;
    std::int32_t maxKeyNumber = 0;
    std::int32_t current = 0;  // the table's cursor after a walk that succeeded
    std::string error;
    bool operator==(const Walked&) const = default;
};

void PrintTo(const Walked& w, std::ostream* out) {
    *out << "max " << w.maxKeyNumber << ", current " << w.current << ", error \"" << w.error << "\", "
         << w.visits.size() << " visits:";
    for (std::size_t i = 0; i < std::min<std::size_t>(w.visits.size(), 20); ++i) *out << " " << w.visits[i];
}

Walked walked(cTempTree& table, const std::function<std::int32_t(const TreeWalk::Visit&)>& walk) {
    Walked w;
    try {
        w.maxKeyNumber = walk([&](const std::string& key, const std::string& parent, const std::string& text) {
            w.visits.push_back(key + "<" + parent + ":" + text);
        });
    } catch (const TamixError& e) {
        w.error = e.what();
    }
    if (w.error.empty()) w.current = table.Current();
    return w;
}

// The walk driven by the table's own searches, one pending search position
// per level: the plain statement of what TreeWalk::Load yields.
std::int32_t searchDrivenWalk(cNode& node, cTempTree& table, const TreeWalk::Visit& visit) {
    std::int32_t maxKeyNumber = NodeKey::kRootNumber;
    if (node.FileIsEmpty()) return maxKeyNumber;
    table.Init();
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        if (node.Deleted()) continue;
        table.AddNode();
        table.Key(node.Key());
        table.Parent(node.Parent());
        table.NodeText(node.NodeText());
    }
    std::vector<std::pair<std::string, std::int32_t>> levels;
    auto enter = [&](const std::string& key) {
        bool any = false;
        for (bool more = table.FindFirstParent(key); more; more = table.FindNextParent(key)) {
            any = true;
            const std::int64_t number = NodeKey::Number(table.Key());
            if (number > maxKeyNumber) {
                if (number > INT32_MAX) throw TamixError(kErrOverflow, "Overflow: the key " + table.Key() + " is too large");
                maxKeyNumber = static_cast<std::int32_t>(number);
            }
        }
        if (!any) return;
        if (levels.size() >= static_cast<std::size_t>(TreeWalk::kMaxPending))
            throw TamixError(kErrOutOfRange, "The notes are nested more than " + std::to_string(TreeWalk::kMaxPending) +
                                                 " levels deep (at note " + key + "); the tree cannot be loaded");
        levels.push_back({key, table.Count() + 1});
    };
    enter(NodeKey::kRoot);
    while (!levels.empty()) {
        table.Goto(levels.back().second);
        if (!table.FindPreviousParent(levels.back().first)) {
            levels.pop_back();
            continue;
        }
        levels.back().second = table.Current();
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

TEST_F(TreeWalkTest, YieldsWhatTheTablesSearchesYieldOnRandomTrees) {
    // Few distinct keys, so that duplicates, cycles, orphans, records keyed
    // as the root, deleted parents and keys past 32 bits all turn up.
    const std::vector<std::string> keys = {"k0000000001", "k0000000002", "k0000000003", "k0000000004",
                                           "k0000000005", "k0000000006", "k0000000007", "k0000000042",
                                           "x0000000008", "k 9",         "k0000000099", "k9999999999"};
    std::mt19937 rng(7);
    int stopped = 0, loaded = 0;
    for (int round = 0; round < 300; ++round) {
        node.CreateFile(name);
        const int records = 1 + static_cast<int>(rng() % 14);
        for (int i = 0; i < records; ++i) {
            node.ClearNode();
            // Keys past 32 bits are rare, so that most trees load.
            node.Key(keys[rng() % (rng() % 8 == 0 ? keys.size() : keys.size() - 1)]);
            node.Parent(keys[rng() % 9]);
            node.NodeText("n" + std::to_string(i));
            node.Deleted(rng() % 6 == 0);
            node.SaveNewNode();
        }
        node.CloseFile();
        node.OpenFile(name);
        cTempTree expectedTable;
        const Walked expected = walked(expectedTable, [&](const TreeWalk::Visit& v) {
            return searchDrivenWalk(node, expectedTable, v);
        });
        node.CloseFile();
        node.OpenFile(name);
        cTempTree actualTable;
        const Walked actual = walked(actualTable, [&](const TreeWalk::Visit& v) {
            return TreeWalk::Load(node, actualTable, v);
        });
        ASSERT_EQ(actual, expected) << "round " << round;
        (expected.error.empty() ? loaded : stopped)++;
    }
    // Both outcomes were exercised.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(stopped, 10);
}

TEST(NodeKey, FormatsTenDigitsAndReadsTheNumberBack) {
    EXPECT_EQ(NodeKey::Format(1), "k0000000001");
    EXPECT_EQ(NodeKey::Format(4711), "k0000004711");
    EXPECT_EQ(NodeKey::Number("k0000000057"), 57);
    EXPECT_EQ(NodeKey::Number("x0000000057"), 57);  // the letter is not checked
    EXPECT_EQ(NodeKey::Number("k 12 3"), 123);
    EXPECT_EQ(NodeKey::Number("k12ab"), 12);
    EXPECT_EQ(NodeKey::Number("kabc"), 0);
    EXPECT_EQ(NodeKey::Number("k"), 0);
    EXPECT_THROW(NodeKey::Format(-1), TamixError);
}

}  // namespace
}  // namespace tamix
