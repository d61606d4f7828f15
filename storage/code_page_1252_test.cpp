#include "storage/code_page_1252.h"

#include "storage/test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

TEST(CodePage1252, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(CodePage1252::fromUtf8(CodePage1252::toUtf8(all)), all);
}

TEST(CodePage1252, MapsTheUpperControlsRangeToItsTypographicCharacters) {
    EXPECT_EQ(CodePage1252::toUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(CodePage1252::toUtf8("\x93"), "\xE2\x80\x9C");  // left double quotation mark
    EXPECT_EQ(CodePage1252::fromUtf8("\xC5\xA0"), "\x8A");    // S with caron
    EXPECT_EQ(CodePage1252::fromUtf8("caf\xC3\xA9"), "caf\xE9");
}

TEST(CodePage1252, RefusesACharacterItCannotHoldAndNamesIt) {
    test::expectError([] { CodePage1252::fromUtf8("abc \xE2\x86\x92 d"); }, kErrCodePage, {"U+2192"});  // rightwards arrow
    // U+0080 has no byte: 0x80 stands for the euro sign.
    EXPECT_THROW(CodePage1252::fromUtf8("\xC2\x80"), TamixError);
}

TEST(CodePage1252, RefusesMalformedUtf8) {
    EXPECT_THROW(CodePage1252::fromUtf8("\xC3"), TamixError);          // cut short
    EXPECT_THROW(CodePage1252::fromUtf8("\xC0\xAF"), TamixError);      // overlong
    EXPECT_THROW(CodePage1252::fromUtf8("\xED\xA0\x80"), TamixError);  // surrogate
    EXPECT_THROW(CodePage1252::fromUtf8("\xFF"), TamixError);
}

TEST(CodePage1252, CountsCharactersNotBytes) {
    EXPECT_EQ(CodePage1252::characterCount("\xE2\x82\xAC" "ab"), 3u);
}

TEST(CodePage1252, FoldsCaseOfAsciiAndLatinLetters) {
    EXPECT_EQ(CodePage1252::foldCase("AbC \xC3\x89T\xC3\x89 \xC5\xA0"), "abc \xC3\xA9t\xC3\xA9 \xC5\xA1");
    EXPECT_EQ(CodePage1252::foldCase("\xC3\x97"), "\xC3\x97");  // the multiplication sign has no case
}

}  // namespace
}  // namespace tamix
