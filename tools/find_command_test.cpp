// Drives the built tamix-tool's find the way a script would.

#include "tools/tool_fixture.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

class FindCommandTest : public ToolFixture {
protected:
    void SetUp() override {
        ToolFixture::SetUp();
        if (!IsSkipped()) {
            ASSERT_EQ(run({"new", db}).exit, 0);
        }
    }
};

TEST_F(FindCommandTest, ExitsByWhetherAHitWasFoundAndRefusesBadArguments) {
    const std::string a = add("k0000000001", "A", "{\\rtf1 one\\par \\u8364?uro}");
    const Result found = run({"find", db, "€URO", "--under", a});
    EXPECT_EQ(found.exit, 0) << found.err;
    EXPECT_EQ(found.out, a + "\t5\n");
    EXPECT_EQ(run({"find", db, "€uro", "--match-case", "--whole-word"}).exit, 0);
    EXPECT_EQ(run({"find", db, "eur"}).exit, 1);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"find", db},
                                                {"find", db, "x", "--under"},
                                                {"find", db, "x", "--under", "k0000000099"},
                                                {"find", db, "x", "--sideways"},
                                                {"find", (dir / "none.TM2").string(), "x"}}) {
        EXPECT_EQ(run(bad).exit, 2) << bad.back();
    }
}

}  // namespace
}  // namespace tamix
