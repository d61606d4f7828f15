#include "controls/text_search.h"

#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

constexpr int kWord = TextSearch::kWholeWord;
constexpr int kCase = TextSearch::kMatchCase;

TEST(TextSearchTest, CaseIsIgnoredUnlessMatchCase) {
    EXPECT_EQ(TextSearch::find("Apple apple", "apple", 0, -1, 0), 0);
    EXPECT_EQ(TextSearch::find("Apple apple", "apple", 0, -1, kCase), 6);
    EXPECT_EQ(TextSearch::find("Apple", "APPLE", 0, -1, kCase), -1);
}

TEST(TextSearchTest, WholeWordNeedsNonWordNeighbours) {
    EXPECT_EQ(TextSearch::find("pineapple apple", "apple", 0, -1, kWord), 10);
    EXPECT_EQ(TextSearch::find("apple_pie apple2 (apple)", "apple", 0, -1, kWord), 18);
    EXPECT_EQ(TextSearch::find("apples", "apple", 0, -1, kWord), -1);
    EXPECT_EQ(TextSearch::find("x\r\napple\r\n", "apple", 0, -1, kWord | kCase), 3);
}

TEST(TextSearchTest, MatchMustLieInsideTheRange) {
    EXPECT_EQ(TextSearch::find("abcabc", "abc", 1, -1, 0), 3);
    EXPECT_EQ(TextSearch::find("abcabc", "abc", 1, 5, 0), -1);
    EXPECT_EQ(TextSearch::find("abcabc", "abc", -7, 3, 0), 0);
    EXPECT_EQ(TextSearch::find("abc", "abc", 9, -1, 0), -1);
    EXPECT_EQ(TextSearch::find("abc", "", 0, -1, 0), -1);
}

TEST(TextSearchTest, OverlappingMatchesAreFoundFromOneAfterTheLast) {
    EXPECT_EQ(TextSearch::find("aaaa", "aa", 0, -1, 0), 0);
    EXPECT_EQ(TextSearch::find("aaaa", "aa", 1, -1, 0), 1);
    EXPECT_EQ(TextSearch::find("aaaa", "aa", 3, -1, 0), -1);
}

TEST(TextSearchTest, NoMatchSplitsAParagraphBreak) {
    EXPECT_EQ(TextSearch::find("a\r\nb", "\nb", 0, -1, 0), -1);
    EXPECT_EQ(TextSearch::find("a\r\nb", "a\r", 0, -1, 0), -1);
    EXPECT_EQ(TextSearch::find("a\r\nb", "a\r\nb", 0, -1, 0), 0);
}

}  // namespace
}  // namespace tamix::controls
