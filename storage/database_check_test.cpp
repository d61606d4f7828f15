#include "storage/database_check.h"

#include "storage/c_node.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

using test::putLong;
using test::readFile;
using test::writeFile;

class DatabaseCheckTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string name = dir.file("check.TM2");
    Bytes file;

    // Three notes (one with a three-block body), one rewritten, one deleted.
    void SetUp() override {
        cNode node;
        node.Barriers(false);
        node.CreateFile(name);
        for (int i = 2; i <= 4; ++i) {
            node.ClearNode();
            node.Key("k000000000" + std::to_string(i));
            node.Parent("k0000000001");
            node.NodeText("note");
            node.SaveNewNode();
        }
        node.RTFData(std::string(2500, 'r'));
        node.SaveNode();
        node.FindKey("k0000000002");
        node.DeleteNode();
        node.CloseFile();
        file = readFile(name);
    }
    bool mentions(const DatabaseCheck::Report& r, const std::string& words) {
        for (const auto& p : r.problems)
            if (p.find(words) != std::string::npos) return true;
        return false;
    }
};

TEST_F(DatabaseCheckTest, ASoundFileHasNoProblemAndEveryBlockAccountedFor) {
    const auto r = DatabaseCheck::Run(name);
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(r.state, 'X');
    EXPECT_EQ(r.blocks, static_cast<std::int64_t>(file.size() / 1024));
    EXPECT_EQ(r.chunks, 2);
    EXPECT_EQ(r.lost, 0);
    EXPECT_EQ(r.chunks + 2 /* the three-block body's continuations */ + r.free + 1, r.blocks);
}

TEST_F(DatabaseCheckTest, ABlockClaimedTwiceIsReported) {
    // The free head now names the second chunk's head block.
    const std::int32_t last = test::longAt(file, 4);
    putLong(file, 8, last);
    writeFile(name, file);
    EXPECT_TRUE(mentions(DatabaseCheck::Run(name), "block " + std::to_string(last) + " is claimed twice"));
}

TEST_F(DatabaseCheckTest, ALinkPastTheEndIsReportedAndLeftBlocksCountAsLost) {
    const std::int32_t first = test::longAt(file, 0);
    putLong(file, (first - 1) * 1024 + 4, 5000);
    writeFile(name, file);
    const auto r = DatabaseCheck::Run(name);
    EXPECT_TRUE(mentions(r, "names block 5000, past the end of the file"));
    EXPECT_GT(r.lost, 0);
}

TEST_F(DatabaseCheckTest, AnUnparsableRecordIsReported) {
    const std::int32_t first = test::longAt(file, 0);
    putLong(file, (first - 1) * 1024 + 16 + 23, 900);  // name length past the record
    writeFile(name, file);
    EXPECT_TRUE(mentions(DatabaseCheck::Run(name), "cannot be parsed: its name runs past the end"));
}

TEST_F(DatabaseCheckTest, AMarkedHeaderIsReportedWithoutBeingRepaired) {
    file[12] = 'A';
    writeFile(name, file);
    const auto r = DatabaseCheck::Run(name);
    EXPECT_EQ(r.state, 'A');
    EXPECT_TRUE(mentions(r, "interrupted"));
    EXPECT_EQ(readFile(name), file);
}

TEST_F(DatabaseCheckTest, ATextFileIsNotADatabase) {
    writeFile(name, Bytes(3000, 'z'));
    const auto r = DatabaseCheck::Run(name);
    EXPECT_TRUE(mentions(r, "not a whole number of blocks"));
    EXPECT_TRUE(mentions(r, "not a Tamix database"));
}

}  // namespace
}  // namespace tamix
