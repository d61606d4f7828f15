#include "find/search_matcher.h"

#include "find/body_text.h"

#include <gtest/gtest.h>

#include <random>

namespace tamix {
namespace {

constexpr int kWord = 2;
constexpr int kCase = 4;

// Telling a body from its bytes never loses a hit the editor's text holds:
// letters that come only from escapes, a character that folds to an ASCII
// letter, words split by formatting.
TEST(SearchMatcherTest, BodiesToldFromTheirBytesKeepEveryHit) {
    struct Row {
        const char* body;
        const char* what;
        int flags;
        bool hit;
    };
    const Row rows[] = {
        {"{\\rtf1 ama\\'7aing}", "amazing", 0, true},
        {"{\\rtf1 ama\\u90?ing}", "amazing", 0, true},
        {"{\\rtf1 ama\\u90?ing}", "amazing", kCase, false},
        {"{\\rtf1 \\u8490?ilo}", "kilo", 0, true},
        {"{\\rtf1 ama{\\b z}ing}", "amazing", kWord | kCase, true},
        {"{\\rtf1 amasing \\\\'7a}", "amazing", 0, false},
        {"{\\rtf1\\fs20 plain text}", "zephyr", 0, false},
        {"{\\rtf1 ZEPHYR}", "zephyr", kCase, false},
    };
    for (const Row& row : rows) {
        const SearchMatcher matcher(QString::fromUtf8(row.what), row.flags);
        const bool editor = matcher.holdsHit(BodyText::of(row.body));
        EXPECT_EQ(editor, row.hit) << row.body;
        EXPECT_EQ(matcher.bodyHoldsHit(row.body), editor) << row.body;
    }
}

// The same over bodies damaged at random, for words whose letters come from
// literal bytes, escapes and \u values.
TEST(SearchMatcherTest, DamagedBodiesKeepEveryHit) {
    const std::string written = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ap{\\b pl}e\\par Z\\'7a\\u122?\\u8490? "
                                "caf\\'e9 \\u969?}";
    const char bytes[] = "{}\\'0123456789abcdefpluz -?";
    const SearchMatcher matchers[] = {{"apple", 0}, {"zz", kCase}, {"k", 0}, {"Zz", kWord}, {"CAFÉ", 0}};
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        std::string body = written;
        for (int edit = 0; edit < 1 + round % 3; ++edit) {
            const std::size_t at = random() % body.size();
            if (random() % 2 == 0) body.erase(at, 1);
            else body[at] = bytes[random() % (sizeof bytes - 1)];
        }
        const QString text = BodyText::of(body);
        for (const SearchMatcher& matcher : matchers) {
            EXPECT_EQ(matcher.bodyHoldsHit(body), matcher.holdsHit(text)) << body << " " << matcher.what().toStdString();
        }
    }
}

TEST(SearchMatcherTest, HitsStepOneCharacterAfterEachStart) {
    EXPECT_EQ(SearchMatcher("aa", 0).hits("aaaa a"), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(SearchMatcher("", 0).hits("text").empty());
}

}  // namespace
}  // namespace tamix
