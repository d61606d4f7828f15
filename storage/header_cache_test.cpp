// The header fields an open keeps for the walk that follows it: that walk
// must see exactly what a walk reading every head block sees.

#include "storage/c_node.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

#include <random>

namespace tamix {
namespace {

using namespace test;

struct Seen {
    std::int32_t chunk;
    bool deleted;
    std::string key, parent, name;
    bool operator==(const Seen&) const = default;
};

class HeaderCacheTest : public NodeFileTest {
protected:
    void add(const std::string& key, const std::string& text, bool deleted = false, const std::string& body = {}) {
        addNote(node, key, "k0000000001", text, body, deleted);
    }
    void addThree() {
        add("k0000000002", "a");
        add("k0000000003", "b");
        add("k0000000004", "c");
    }
    std::vector<Seen> walk() {
        std::vector<Seen> seen;
        for (node.MoveFirst(); !node.AtEOF(); node.MoveNext())
            seen.push_back({node.chunks().cCurrentChunkRec(), node.Deleted(), node.Key(), node.Parent(), node.NodeText()});
        return seen;
    }
};

TEST_F(HeaderCacheTest, TheWalkAfterAnOpenSeesWhatTheBlocksHold) {
    std::mt19937 rng(3);
    std::vector<std::string> keys;
    for (int i = 0; i < 60; ++i) {
        keys.push_back("k" + std::to_string(1000000000 + i).substr(0, 10));
        const std::size_t length = i == 7 ? 981 : rng() % 40;  // empty names and the longest one too
        add(keys.back(), std::string(length, static_cast<char>('a' + i % 26)), rng() % 5 == 0,
            std::string(rng() % 3000, 'b'));
    }
    // Rewrites move records to new head blocks without changing their order.
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(node.FindKey(keys[rng() % keys.size()]));
        node.NodeText("renamed " + std::to_string(i));
        node.SaveNode();
    }
    node.OpenFile(name);
    EXPECT_GT(node.HeaderBytes(), 0u);
    const std::vector<Seen> kept = walk();
    // The walk reached the end, so the kept fields are gone and the next walk reads the blocks.
    EXPECT_EQ(node.HeaderBytes(), 0u);
    const std::vector<Seen> read = walk();
    ASSERT_EQ(read.size(), 60u);
    EXPECT_EQ(kept, read);
}

TEST_F(HeaderCacheTest, AWalkAfterAChangeSeesTheChange) {
    addThree();
    node.OpenFile(name);
    ASSERT_TRUE(node.FindKey("k0000000003"));
    node.NodeText("renamed");
    node.SaveNode();
    const std::int32_t moved = node.chunks().cCurrentChunkRec();
    const std::vector<Seen> seen = walk();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].name, "renamed");
    EXPECT_EQ(seen[2].name, "c");
    EXPECT_EQ(seen[1].chunk, moved);
}

TEST_F(HeaderCacheTest, ACursorMovedBySearchesWalksOnFromWhereItIs) {
    addThree();
    node.OpenFile(name);
    node.MoveFirst();
    ASSERT_TRUE(node.FindKey("k0000000003"));
    node.MoveNext();
    EXPECT_EQ(node.NodeText(), "c");
    node.MoveFirst();
    node.MoveNext();
    EXPECT_EQ(node.NodeText(), "b");
}

TEST_F(HeaderCacheTest, AnUnreadableNameStopsTheWalkAfterAnOpenAtItsRecord) {
    addThree();
    ASSERT_TRUE(node.FindKey("k0000000003"));
    const std::int32_t block = node.chunks().cCurrentChunkRec();
    node.CloseFile();
    Bytes file = readFile(name);
    putLong(file, static_cast<std::size_t>(block - 1) * 1024 + 16 + 23, 1200);
    writeFile(name, file);
    node.OpenFile(name);
    EXPECT_EQ(node.NodeText(), "a");
    expectError([&] { node.MoveNext(); }, kErrOutOfRange, {"block " + std::to_string(block), "1200 bytes long"});
    EXPECT_EQ(node.chunks().cCurrentChunkRec(), block);
    EXPECT_EQ(node.NodeText(), "a");  // the fields keep the last record read
    node.MoveNext();
    EXPECT_EQ(node.NodeText(), "c");
}

}  // namespace
}  // namespace tamix
