#include "links/link_check.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tamix::links {
namespace {

using Problem = LinkCheck::Problem;
using Bad = std::vector<std::pair<int, Problem>>;

// Entries whose end is start + the text's length.
std::vector<LinkCheck::Entry> at(const std::vector<std::pair<int, QString>>& links) {
    std::vector<LinkCheck::Entry> entries;
    for (const auto& [start, text] : links)
        entries.push_back({start, start + static_cast<std::int32_t>(text.size()), text, "k0000000002"});
    return entries;
}

Bad kinds(const std::vector<LinkCheck::Finding>& findings) {
    Bad out;
    for (const auto& f : findings) out.emplace_back(f.index, f.problem);
    return out;
}

class LinkCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "link_check_test";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
    }
};

// Every position below counts a paragraph break as two characters, a
// picture or object as one, and a \u character as its UTF-16 units.
TEST_F(LinkCheckTest, BodiesPlaceLinksWhereTheEditorCounts) {
    const std::string windows =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 Shopping\\par\r\n\\par\r\nsee Garden\\tab and Work\\par\r\n"
        "last Home\\par\r\n}\r\n";
    const std::string picture = "{\\rtf1 a{\\pict\\wmetafile8\\picw2540\\pich1270 0100090000}Plan\\par "
                                "{\\object\\objemb{\\*\\objdata 01}{\\result{\\pict\\wmetafile8\\picw9\\pich9 01}}}Budget}";
    const std::string unicode = "{\\rtf1\\uc1 \\u8364?\\u-10179?\\u-8704? Caf\\u233?e\\par \\u1046? Sea}";
    const struct {
        const char* name;
        const std::string& rtf;
        std::vector<LinkCheck::Entry> entries;
        Bad bad;
    } cases[] = {
        {"windows", windows, at({{0, "Shopping"}, {16, "Garden"}, {27, "Work"}, {38, "Home"}}), {}},
        // Positions counted with one character per break land one early per break.
        {"one per break", windows, at({{0, "Shopping"}, {14, "Garden"}, {24, "Work"}, {34, "Home"}}),
         {{2, Problem::Text}, {3, Problem::Text}, {4, Problem::Text}}},
        {"picture and object", picture, at({{2, "Plan"}, {9, "Budget"}}), {}},
        {"picture skipped", picture, at({{1, "Plan"}, {8, "Budget"}}), {{1, Problem::Text}, {2, Problem::Text}}},
        {"unicode", unicode, at({{4, QString::fromUtf8("Caf\xC3\xA9" "e")}, {13, "Sea"}}), {}},
        {"unicode as bytes", unicode, at({{3, QString::fromUtf8("Caf\xC3\xA9" "e")}}), {{1, Problem::Text}}},
        {"empty body", "", at({{0, "x"}}), {{1, Problem::Range}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kinds(LinkCheck::checkBody(c.rtf, c.entries)), c.bad) << c.name;
    }
}

TEST_F(LinkCheckTest, EachRuleReportsWhatItExpectedAndWhatStands) {
    const QString text = "Call \"Bob\"\r\nat home" + QString(QChar::ObjectReplacementCharacter);
    const struct {
        const char* name;
        LinkCheck::Entry entry;
        Problem problem;
        QString expected, found;
    } cases[] = {
        {"end short", {5, 9, "\"Bob\"", "k2"}, Problem::End, "end 10", "end 9"},
        {"end before start", {5, 2, "\"Bob\"", "k2"}, Problem::End, "end 10", "end 2"},
        {"past the end", {17, 21, "home", "k2"}, Problem::Range, "17 to 21 inside the text", "the text ends at 20"},
        {"negative", {-1, 3, "Call", "k2"}, Problem::Range, "-1 to 3 inside the text", "the text ends at 20"},
        {"far past", {2147483600, 2147483604, "home", "k2"}, Problem::Range,
         "2147483600 to 2147483604 inside the text", "the text ends at 20"},
        {"wrong text", {5, 10, "\"Rob\"", "k2"}, Problem::Text, "\"\\\"Rob\\\"\"", "\"\\\"Bob\\\"\""},
        {"across the break", {8, 14, "ob\"\r\na", "k2"}, Problem::Text, "\"ob\\\"\\r\\na\"",
         "\"b\\\"\\r\\nat\""},
        {"picture", {19, 20, "!", "k2"}, Problem::Text, "\"!\"", "\"\\uFFFC\""},
    };
    for (const auto& c : cases) {
        const auto findings = LinkCheck::check(text, {c.entry});
        ASSERT_EQ(findings.size(), 1u) << c.name;
        EXPECT_EQ(findings[0].index, 1) << c.name;
        EXPECT_EQ(findings[0].problem, c.problem) << c.name;
        EXPECT_EQ(findings[0].expected.toStdString(), c.expected.toStdString()) << c.name;
        EXPECT_EQ(findings[0].found.toStdString(), c.found.toStdString()) << c.name;
    }
}

TEST_F(LinkCheckTest, EntriesPastTheHundredthAreBadEvenWhenTheyFit) {
    const QString text = "a link";
    std::vector<LinkCheck::Entry> entries(102, LinkCheck::Entry{2, 6, "link", "k0000000002"});
    entries[40].end = 5;
    EXPECT_EQ(kinds(LinkCheck::check(text, entries)),
              (Bad{{41, Problem::End}, {101, Problem::TooMany}, {102, Problem::TooMany}}));
    EXPECT_EQ(LinkCheck::check(text, entries).back().found.toStdString(), "link 102 of 102");
    entries.resize(100);
    entries[40].end = 6;
    EXPECT_TRUE(LinkCheck::check(text, entries).empty());
}

}  // namespace
}  // namespace tamix::links
