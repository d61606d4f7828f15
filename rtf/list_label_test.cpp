#include "rtf/list_label.h"

#include <gtest/gtest.h>

namespace tamix::rtf {
namespace {

struct ParseCase {
    const char* text;
    ListStyle previous;
    int previousNumber;
    ListStyle style;
    int number;
    const char* before;
    const char* after;
};

TEST(ListLabelTest, LabelsTellTheirStyleNumberAndAffixes) {
    const ParseCase cases[] = {
        {" 1.\t", ListStyle::None, 0, ListStyle::Decimal, 1, "", "."},
        {"12", ListStyle::None, 0, ListStyle::Decimal, 12, "", ""},
        {"(b)", ListStyle::None, 0, ListStyle::LowerLetter, 2, "(", ")"},
        {"C.", ListStyle::None, 0, ListStyle::UpperLetter, 3, "", "."},
        {"i.", ListStyle::None, 0, ListStyle::LowerRoman, 1, "", "."},
        {"i.", ListStyle::LowerLetter, 8, ListStyle::LowerLetter, 9, "", "."},
        {"v)", ListStyle::LowerRoman, 4, ListStyle::LowerRoman, 5, "", ")"},
        {"v)", ListStyle::None, 0, ListStyle::LowerLetter, 22, "", ")"},
        {"XIV.", ListStyle::None, 0, ListStyle::UpperRoman, 14, "", "."},
        {"\xB7", ListStyle::None, 0, ListStyle::Bullet, 1, "", ""},
        {"-", ListStyle::None, 0, ListStyle::Bullet, 1, "", ""},
        {"  ", ListStyle::None, 0, ListStyle::None, 1, "", ""},
    };
    for (const ParseCase& c : cases) {
        const ListLabel l = ListLabel::Parse(c.text, c.previous, c.previousNumber);
        EXPECT_EQ(l.style, c.style) << c.text;
        EXPECT_EQ(l.number, c.number) << c.text;
        EXPECT_EQ(l.before, c.before) << c.text;
        EXPECT_EQ(l.after, c.after) << c.text;
    }
}

TEST(ListLabelTest, NumbersAreWrittenInTheirStyle) {
    EXPECT_EQ(ListLabel::Number(ListStyle::UpperRoman, 1994), "MCMXCIV");
    EXPECT_EQ(ListLabel::Number(ListStyle::LowerRoman, 4), "iv");
    EXPECT_EQ(ListLabel::Number(ListStyle::LowerLetter, 28), "bb");
    EXPECT_EQ(ListLabel::Number(ListStyle::UpperLetter, 0), "0");  // none to write: decimal
    EXPECT_EQ(ListLabel::Number(ListStyle::Decimal, 7), "7");
}

}  // namespace
}  // namespace tamix::rtf
