// Drives the built tamix-tool's link commands the way a script would.

#include "storage/c_node.h"
#include "tools/tool_fixture.h"

#include <cstdint>

namespace tamix {
namespace {

// A body as written on Windows: "Buy\r\n\r\nsee Garden and Café" in the editor.
constexpr const char* kBody = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
                              "\\pard\\f0\\fs20 Buy\\par\r\n\\par\r\nsee Garden and Caf\\'e9\\par\r\n}\r\n";

using LinkCommandsTest = ToolFixture;

TEST_F(LinkCommandsTest, SetLinksListInStorageOrderAndCheckClean) {
    const std::string a = add(root, "A", kBody), b = add(root, "B", "{\\rtf1 Work}"), c = add(root, "C", "{\\rtf1 none}");
    ASSERT_EQ(run({"links-set", db, b, "0|4|Work|" + a}).exit, 0);
    const Result set = run({"links-set", db, a, "11|17|Garden|" + b + ";22|26|Caf\xC3\xA9|" + c});
    ASSERT_EQ(set.exit, 0) << set.err;

    const std::string tableA = a + "\t1\t11\t17\tGarden\t" + b + "\n" + a + "\t2\t22\t26\tCaf\xC3\xA9\t" + c + "\n";
    EXPECT_EQ(run({"links", db, a}).out, tableA);
    EXPECT_EQ(run({"links", db}).out, tableA + b + "\t1\t0\t4\tWork\t" + a + "\n");
    EXPECT_EQ(run({"links", db, c}).out, "");
    const Result check = run({"linkcheck", db});
    EXPECT_EQ(check.exit, 0) << check.out << check.err;
    EXPECT_EQ(check.out, "notes=2 links=3 bad=0\n");

    ASSERT_EQ(run({"links-set", db, a, ""}).exit, 0);
    EXPECT_EQ(run({"links", db}).out, b + "\t1\t0\t4\tWork\t" + a + "\n");
}

TEST_F(LinkCommandsTest, RefusalsExitTwoAndWriteNothing) {
    const std::string a = add(root, "A", kBody);
    ASSERT_EQ(run({"links-set", db, a, "0|3|Buy|x"}).exit, 0);
    std::string hundredOne;
    for (int i = 0; i < 101; ++i) hundredOne += (i ? ";" : "") + std::string("0|3|Buy|x");
    const std::vector<std::vector<std::string>> refused = {
        {"links-set", db, a, hundredOne},
        {"links-set", db, "k0000000099", "0|3|Buy|x"},
        {"links-set", db, "k0000000001", "0|3|Buy|x"},  // the root is not a note
        {"links-set", db, a, "0|3|Buy"},
        {"links-set", db, a, "0|3|Buy|x|y"},
        {"links-set", db, a, "0|3|Buy|x;"},
        {"links-set", db, a, "a|3|Buy|x"},
        {"links-set", db, a, "-1|3|Buy|x"},
        {"links-set", db, a, "0|2147483648|Buy|x"},
        {"links-set", db, a, "0|1|\xE6\x97\xA5|x"},  // not in Windows-1252
        {"links-set", db, a},
        {"links", db, "k0000000099"},
        {"links", path("missing.TM2")},
        {"linkcheck", path("missing.TM2")},
    };
    const std::string before = slurp(db);
    for (const auto& args : refused) {
        const Result r = run(args);
        EXPECT_EQ(r.exit, 2) << args[0] << " " << args.back();
        EXPECT_FALSE(r.err.empty()) << args[0] << " " << args.back();
    }
    EXPECT_EQ(slurp(db), before);
    EXPECT_FALSE(std::filesystem::exists(path("missing.TM2")));
    const std::string hundred = hundredOne.substr(hundredOne.find(';') + 1);
    EXPECT_EQ(run({"links-set", db, a, hundred}).exit, 0);
    EXPECT_EQ(run({"linkcheck", db}).out, "notes=1 links=100 bad=0\n");

    cNode holder;
    holder.OpenFile(db);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"links", db}, {"links-set", db, a, ""}, {"linkcheck", db}}) {
        const Result r = run(args);
        EXPECT_EQ(r.exit, 2) << args[0];
        EXPECT_NE(r.err.find("The database " + db + " is in use by another program"), std::string::npos) << r.err;
    }
}

// Tables the tool refuses to write can still come from elsewhere.
TEST_F(LinkCommandsTest, OversizedOverlappingAndFarTablesLoadAndReport) {
    const std::string many = add(root, "Many", "{\\rtf1 Link text}"), odd = add(root, "Odd", "{\\rtf1 abcdef}");
    {
        cNode node;
        node.OpenFile(db);
        ASSERT_TRUE(node.FindKey(many));
        node.LinkCount(150);
        for (std::int32_t i = 1; i <= 150; ++i) {
            node.LinkEnd(i, 4);
            node.LinkText(i, "Link");
        }
        node.SaveNode();
        ASSERT_TRUE(node.FindKey(odd));
        const struct {
            std::int32_t start, end;
            const char* text;
        } links[] = {{0, 4, "abcd"}, {2, 6, "cdef"}, {1000000000, 1000000004, "abcd"}, {INT32_MAX, INT32_MAX, "x"}};
        node.LinkCount(4);
        for (std::int32_t i = 1; i <= 4; ++i) {
            node.LinkStart(i, links[i - 1].start);
            node.LinkEnd(i, links[i - 1].end);
            node.LinkText(i, links[i - 1].text);
        }
        node.SaveNode();
    }
    const Result list = run({"links", db});
    EXPECT_EQ(list.exit, 0) << list.err;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 154);

    const Result check = run({"linkcheck", db});
    EXPECT_EQ(check.exit, 1) << check.err;
    EXPECT_EQ(check.out.substr(0, check.out.find('\n')), "notes=2 links=154 bad=52");
    EXPECT_NE(check.out.find(many + "\t101\tat most 100 links\tlink 101 of 150\n"), std::string::npos);
    EXPECT_NE(check.out.find(odd + "\t3\t1000000000 to 1000000004 inside the text\tthe text ends at 6\n"),
              std::string::npos);
    EXPECT_NE(check.out.find(odd + "\t4\tend 2147483648\tend 2147483647\n"), std::string::npos);
    EXPECT_EQ(check.out.find(many + "\t100\t"), std::string::npos);
}

}  // namespace
}  // namespace tamix
