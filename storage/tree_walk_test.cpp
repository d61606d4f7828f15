#include "tree_walk.h"

#include "node_key.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

class TreeWalkTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string name = dir.file("tree.TM2");
    cNode node;
    cTempTree table;
    std::vector<std::string> visited;  // "key<parent"

    void SetUp() override {
        node.Barriers(false);
        node.CreateFile(name);
    }
    void add(int key, int parent, bool deleted = false) {
        node.ClearNode();
        node.Key(NodeKey::Format(key));
        node.Parent(NodeKey::Format(parent));
        node.NodeText("n" + std::to_string(key));
        node.Deleted(deleted);
        node.SaveNewNode();
    }
    std::int32_t load() {
        node.OpenFile(name);
        return TreeWalk::Load(node, table, [&](const std::string& key, const std::string& parent, const std::string&) {
            visited.push_back(std::to_string(NodeKey::Number(key)) + "<" + std::to_string(NodeKey::Number(parent)));
        });
    }
};

TEST_F(TreeWalkTest, VisitsEachNoteAfterItsParentLastStoredSiblingFirst) {
    add(2, 1);
    add(3, 1);
    add(4, 2);
    add(5, 2);
    add(6, 3);
    EXPECT_EQ(load(), 6);
    EXPECT_EQ(visited, (std::vector<std::string>{"3<1", "6<3", "2<1", "5<2", "4<2"}));
}

TEST_F(TreeWalkTest, OrphansAndDeletedRecordsAreNeitherShownNorCounted) {
    add(2, 1);
    add(57, 99);        // parent not in the tree
    add(60, 1, true);   // marked deleted
    add(61, 60);        // child of the deleted record
    EXPECT_EQ(load(), 2);
    EXPECT_EQ(visited, std::vector<std::string>{"2<1"});
}

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
    try {
        load();
        FAIL();
    } catch (const TamixError& e) {
        EXPECT_NE(std::string(e.what()).find("more than 2000 levels"), std::string::npos) << e.what();
    }
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
