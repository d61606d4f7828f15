// Drives the built tamix-tool binary the way a script would.

#include "storage/c_node.h"
#include "tools/tool_fixture.h"

namespace tamix {
namespace {

using ToolTest = ToolFixture;

TEST_F(ToolTest, BuildsEditsAndReadsBackATree) {
    EXPECT_EQ(add(root, "Work"), "k0000000002");
    EXPECT_EQ(add(root, "home"), "k0000000003");
    EXPECT_EQ(add("k0000000002", "Plans", "{\\rtf1 plans}"), "k0000000004");
    EXPECT_EQ(add("k0000000002", "Budget"), "k0000000005");
    EXPECT_EQ(add("k0000000003", "Garden"), "k0000000006");

    EXPECT_EQ(run({"rename", db, "k0000000003", "Home \xE2\x82\xAC"}).exit, 0);
    EXPECT_EQ(run({"move", db, "k0000000006", "k0000000002"}).exit, 0);
    const std::string big(3500, 'x');  // four blocks
    EXPECT_EQ(run({"body", db, "k0000000005", "-"}, big).exit, 0);
    EXPECT_EQ(run({"delete", db, "k0000000004"}).exit, 0);

    EXPECT_EQ(run({"records", db}).out,
              "k0000000002\tk0000000001\t0\tWork\t0\t0\n"
              "k0000000003\tk0000000001\t0\tHome \xE2\x82\xAC\t0\t0\n"
              "k0000000005\tk0000000002\t0\tBudget\t3500\t0\n"
              "k0000000006\tk0000000002\t0\tGarden\t0\t0\n");
    EXPECT_EQ(run({"tree", db}).out,
              "My Tamix (Notes)\tk0000000001\n"
              "  Home \xE2\x82\xAC\tk0000000003\n"
              "  Work\tk0000000002\n"
              "    Budget\tk0000000005\n"
              "    Garden\tk0000000006\n");
    EXPECT_EQ(run({"cat", db, "k0000000005"}).out, big);
    const Result check = run({"check", db});
    EXPECT_EQ(check.exit, 0) << check.out;
    EXPECT_EQ(check.out.substr(0, check.out.find('\n')), "state=X");
    EXPECT_NE(check.out.find("chunks=4 "), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("lost=0"), std::string::npos) << check.out;
    // The highest key left is 6: the next note continues after it.
    EXPECT_EQ(add("k0000000006", "Seeds"), "k0000000007");
}

TEST_F(ToolTest, RefusesWhatWouldBreakTheTree) {
    const std::string a = add(root, "A");
    const std::string b = add(a, "B");
    EXPECT_EQ(run({"move", db, a, b}).exit, 2);
    EXPECT_EQ(run({"move", db, a, a}).exit, 2);
    EXPECT_EQ(run({"add", db, "k0000000099", "orphan"}).exit, 2);
    const Result del = run({"delete", db, a});
    EXPECT_EQ(del.exit, 2);
    EXPECT_NE(del.err.find("has children"), std::string::npos) << del.err;
    EXPECT_EQ(run({"rename", db, b, std::string(101, 'n')}).exit, 2);
    EXPECT_EQ(run({"rename", db, b, ""}).exit, 2);
    EXPECT_EQ(run({"rename", db, b, "\xE6\x97\xA5"}).exit, 2);
    EXPECT_EQ(run({"rename", db, "k0000000077", "x"}).exit, 2);
    EXPECT_EQ(run({"cat", db}).exit, 2);
    EXPECT_EQ(run({"frobnicate"}).exit, 2);
    EXPECT_EQ(run({"records", path("missing.TM2")}).exit, 2);
    // Nothing refused changed the file.
    EXPECT_EQ(run({"records", db}).out, a + "\tk0000000001\t0\tA\t0\t0\n" + b + "\t" + a + "\t0\tB\t0\t0\n");
}

TEST_F(ToolTest, CheckReportsDamageWithExitOneAndOpeningRepairs) {
    add(root, "A", std::string(2000, 'a'));
    {
        std::fstream f(db, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(12);
        f.put('A');  // as if an add had been cut short
    }
    const Result marked = run({"check", db});
    EXPECT_EQ(marked.exit, 1);
    EXPECT_EQ(marked.out.substr(0, 8), "state=A\n");
    EXPECT_EQ(run({"records", db}).exit, 0);  // opening repairs
    EXPECT_EQ(run({"check", db}).exit, 0);
}

TEST_F(ToolTest, ADatabaseInUseIsRefusedWithAClearMessage) {
    cNode holder;
    holder.OpenFile(db);
    for (const auto& args : std::vector<std::vector<std::string>>{{"new", db}, {"add", db, root, "x"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.exit, 2);
        EXPECT_NE(r.err.find("The database " + db + " is in use by another program"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace tamix
