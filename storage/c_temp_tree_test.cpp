#include "storage/c_temp_tree.h"

#include "storage/tamix_error.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

void add(cTempTree& t, const std::string& key, const std::string& parent, const std::string& text = {}) {
    t.AddNode();
    t.Key(key);
    t.Parent(parent);
    t.NodeText(text);
}

TEST(cTempTree, AfterInitTheTableIsEmptyAndItsFieldsFail) {
    cTempTree t;
    add(t, "k1", "k0");
    t.Init();
    EXPECT_EQ(t.Count(), 0);
    EXPECT_FALSE(t.FindFirstParent("k0"));
    EXPECT_FALSE(t.FindKey("k1"));
    EXPECT_THROW(t.Key(), TamixError);
}

TEST(cTempTree, ChildrenComeInOrderOfAdditionAndAFailedSearchKeepsCurrent) {
    cTempTree t;
    add(t, "k1", "k0", "first");
    add(t, "k2", "k1");
    add(t, "k3", "k0");
    add(t, "k1", "k9", "second");
    ASSERT_TRUE(t.FindFirstParent("k0"));
    EXPECT_EQ(t.Current(), 1);
    ASSERT_TRUE(t.FindNextParent("k0"));
    EXPECT_EQ(t.Current(), 3);
    EXPECT_FALSE(t.FindNextParent("k0"));
    EXPECT_EQ(t.Current(), 3);
    EXPECT_EQ(t.Key(), "k3");
    ASSERT_TRUE(t.FindKey("k1"));  // the first of two equal keys
    EXPECT_EQ(t.NodeText(), "first");
}

TEST(cTempTree, ChangingAFieldMovesTheEntryBetweenSearches) {
    cTempTree t;
    add(t, "k1", "k0");
    add(t, "k2", "k0");
    add(t, "k3", "k0");
    ASSERT_TRUE(t.FindKey("k1"));
    t.Parent("k9");
    t.Key("k7");
    ASSERT_TRUE(t.FindFirstParent("k0"));
    EXPECT_EQ(t.Key(), "k2");
    EXPECT_FALSE(t.FindKey("k1"));
    ASSERT_TRUE(t.FindKey("k7"));
    EXPECT_EQ(t.Parent(), "k9");
}

TEST(cTempTree, SearchesBackwardsVisitChildrenInReverse) {
    cTempTree t;
    add(t, "a", "p");
    add(t, "b", "q");
    add(t, "c", "p");
    add(t, "d", "p");
    ASSERT_TRUE(t.FindLastParent("p"));
    EXPECT_EQ(t.Key(), "d");
    ASSERT_TRUE(t.FindPreviousParent("p"));
    EXPECT_EQ(t.Key(), "c");
    ASSERT_TRUE(t.FindPreviousParent("p"));
    EXPECT_EQ(t.Key(), "a");
    EXPECT_FALSE(t.FindPreviousParent("p"));
}

}  // namespace
}  // namespace tamix
