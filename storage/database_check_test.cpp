#include "storage/database_check.h"

#include "storage/c_node.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

#include <functional>

namespace tamix {
namespace {

using namespace test;

class DatabaseCheckTest : public NodeFileTest {
protected:
    Bytes file;

    // Three notes (one with a three-block body), one rewritten, one deleted.
    void SetUp() override {
        NodeFileTest::SetUp();
        for (int i = 2; i <= 4; ++i) addNote(node, "k000000000" + std::to_string(i), "k0000000001", "note");
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

// A damage done to the sound file, and what the report must say of it.
struct Damage {
    const char* what;
    std::function<void(Bytes&, std::int32_t first, std::int32_t last)> apply;
    std::vector<std::string> words;
    bool lost = false;  // blocks left by a broken link count as lost
};

TEST_F(DatabaseCheckTest, EachDamageIsReportedInWordsAndLeftAsItIs) {
    const std::int32_t last = longAt(file, 4);
    const Damage damages[] = {
        {"the free head names the second chunk's head block", [](Bytes& f, auto, auto last) { putLong(f, 8, last); },
         {"block " + std::to_string(last) + " is claimed twice"}},
        {"a link past the end", [](Bytes& f, auto first, auto) { putLong(f, (first - 1) * 1024 + 4, 5000); },
         {"names block 5000, past the end of the file"}, true},
        {"a name length past the record", [](Bytes& f, auto first, auto) { putLong(f, (first - 1) * 1024 + 16 + 23, 900); },
         {"cannot be parsed: its name runs past the end"}},
        {"a marked header", [](Bytes& f, auto, auto) { f[12] = 'A'; }, {"interrupted"}},
        {"a text file", [](Bytes& f, auto, auto) { f = Bytes(3000, 'z'); },
         {"not a whole number of blocks", "not a Tamix database"}},
    };
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        Bytes damaged = file;
        d.apply(damaged, longAt(file, 0), last);
        writeFile(name, damaged);
        const auto r = DatabaseCheck::Run(name);
        for (const std::string& w : d.words) EXPECT_TRUE(mentions(r, w)) << w;
        EXPECT_TRUE(!d.lost || r.lost > 0) << r.lost;
        EXPECT_EQ(r.state, damaged[12]);
        EXPECT_EQ(readFile(name), damaged);
    }
}

}  // namespace
}  // namespace tamix
