// Drives the built tamix-tool's find the way a script would.

#include "tools/tool_fixture.h"

namespace tamix {
namespace {

using FindCommandTest = ToolFixture;

TEST_F(FindCommandTest, ExitsByWhetherAHitWasFoundAndRefusesBadArguments) {
    const std::string a = add(root, "A", "{\\rtf1 one\\par \\u8364?uro}");
    const Result found = run({"find", db, "€URO", "--under", a});
    EXPECT_EQ(found.exit, 0) << found.err;
    EXPECT_EQ(found.out, a + "\t5\n");
    EXPECT_EQ(run({"find", db, "€uro", "--match-case", "--whole-word"}).exit, 0);
    EXPECT_EQ(run({"find", db, "eur"}).exit, 1);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"find", db},
                                                {"find", db, "x", "--under"},
                                                {"find", db, "x", "--under", "k0000000099"},
                                                {"find", db, "x", "--sideways"},
                                                {"find", path("none.TM2"), "x"}}) {
        EXPECT_EQ(run(bad).exit, 2) << bad.back();
    }
}

}  // namespace
}  // namespace tamix
