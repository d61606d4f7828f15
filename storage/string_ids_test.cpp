#include "storage/string_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamix {
namespace {

TEST(StringIds, FindsWhatWasAddedAndKeepsTheFirstIdOfAString) {
    std::vector<std::string> texts = {"k0000000002", "k0000000003", "k0000000002", ""};
    StringIds ids(4, [&](std::int32_t id) -> std::string_view { return texts[id]; });
    EXPECT_EQ(ids.find("k0000000002"), -1);
    EXPECT_EQ(ids.add(texts[0], 0), 0);
    EXPECT_EQ(ids.add(texts[1], 1), 1);
    EXPECT_EQ(ids.add(texts[2], 2), 0);  // an equal string keeps the id it has
    EXPECT_EQ(ids.add(texts[3], 3), 3);  // the empty string is a string like any other
    EXPECT_EQ(ids.find("k0000000002"), 0);
    EXPECT_EQ(ids.find("k0000000003"), 1);
    EXPECT_EQ(ids.find(""), 3);
    EXPECT_EQ(ids.find("k000000000"), -1);  // a prefix is not the string
    EXPECT_EQ(ids.size(), 3u);
}

TEST(StringIds, GrowsPastItsFirstSizeWithoutLosingAString) {
    std::vector<std::string> texts;
    for (int i = 0; i < 5000; ++i) texts.push_back("key " + std::to_string(i * 7919 % 10007));
    StringIds ids(0, [&](std::int32_t id) -> std::string_view { return texts[id]; });
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(ids.add(texts[i], i), i);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(ids.find(texts[i]), i) << texts[i];
    EXPECT_EQ(ids.find("key 10008"), -1);
    EXPECT_EQ(ids.size(), 5000u);
}

}  // namespace
}  // namespace tamix
