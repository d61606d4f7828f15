#include "controls/text_search.h"

#include <gtest/gtest.h>

namespace tamix::controls {
namespace {

constexpr int kWord = TextSearch::kWholeWord;
constexpr int kCase = TextSearch::kMatchCase;

TEST(TextSearchTest, FindsTheFirstMatchInRangeHonouringTheFlags) {
    const struct {
        const char *why, *text, *what;
        int from, to, flags, found;
    } cases[] = {
        {"case is ignored", "Apple apple", "apple", 0, -1, 0, 0},
        {"unless matching case", "Apple apple", "apple", 0, -1, kCase, 6},
        {"no match in case", "Apple", "APPLE", 0, -1, kCase, -1},
        {"whole word after a word", "pineapple apple", "apple", 0, -1, kWord, 10},
        {"whole word needs non-word neighbours", "apple_pie apple2 (apple)", "apple", 0, -1, kWord, 18},
        {"whole word at the end", "apples", "apple", 0, -1, kWord, -1},
        {"breaks are non-word", "x\r\napple\r\n", "apple", 0, -1, kWord | kCase, 3},
        {"from inside the text", "abcabc", "abc", 1, -1, 0, 3},
        {"match must end inside the range", "abcabc", "abc", 1, 5, 0, -1},
        {"negative start", "abcabc", "abc", -7, 3, 0, 0},
        {"start past the end", "abc", "abc", 9, -1, 0, -1},
        {"empty search", "abc", "", 0, -1, 0, -1},
        {"overlapping, first", "aaaa", "aa", 0, -1, 0, 0},
        {"overlapping, one after", "aaaa", "aa", 1, -1, 0, 1},
        {"overlapping, none left", "aaaa", "aa", 3, -1, 0, -1},
        {"no match starts inside a break", "a\r\nb", "\nb", 0, -1, 0, -1},
        {"no match ends inside a break", "a\r\nb", "a\r", 0, -1, 0, -1},
        {"a whole break matches", "a\r\nb", "a\r\nb", 0, -1, 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TextSearch::find(c.text, c.what, c.from, c.to, c.flags), c.found) << c.why;
}

}  // namespace
}  // namespace tamix::controls
