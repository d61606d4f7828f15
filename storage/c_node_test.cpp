#include "storage/c_node.h"

#include "storage/test_files.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

using namespace test;

// A record laid out field by field, for comparison with what cNode writes.
Bytes record(char mark, const std::string& key, const std::string& parent, const std::string& name,
             const std::string& body) {
    Bytes r;
    auto number = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) r.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    r.push_back(static_cast<std::uint8_t>(mark));
    r.insert(r.end(), key.begin(), key.end());
    r.insert(r.end(), parent.begin(), parent.end());
    number(static_cast<std::uint32_t>(name.size()));
    r.insert(r.end(), name.begin(), name.end());
    number(0);
    number(static_cast<std::uint32_t>(body.size()));
    r.insert(r.end(), body.begin(), body.end());
    r.push_back(0);
    return r;
}

class NodeStoreTest : public NodeFileTest {
protected:
    void add(const std::string& key, const std::string& parent, const std::string& text,
             const std::string& body = {}) {
        addNote(node, key, parent, text, body);
    }
};

TEST_F(NodeStoreTest, TwoNewNodesGiveTheDocumentedFourBlockFile) {
    add("k0000000002", "k0000000001", "Hello");
    add("k0000000003", "k0000000001", "World");
    const Bytes first = record(' ', "k0000000002", "k0000000001", "Hello", "");
    const Bytes second = record(' ', "k0000000003", "k0000000001", "World", "");
    ASSERT_EQ(first.size(), 41u);
    Bytes expected = headerBlock(3, 4, 2);
    const Bytes blocks[] = {Bytes(1024, 0), headBlock(0, 4, 0, first), headBlock(3, 0, 0, second)};
    for (const Bytes& b : blocks) expected.insert(expected.end(), b.begin(), b.end());
    EXPECT_EQ(readFile(name), expected);
}

TEST_F(NodeStoreTest, ARecordIsLaidOutFieldByField) {
    add("k0000000001", "k0000000000", "Notes", "{\\rtf1}");
    const Bytes expected = record(' ', "k0000000001", "k0000000000", "Notes", "{\\rtf1}");
    ASSERT_EQ(expected.size(), 48u);
    EXPECT_EQ(node.chunks().cChunkData(), expected);
}

TEST_F(NodeStoreTest, LinksAreStoredInIndexOrderAndReadBack) {
    add("k0000000002", "k0000000001", "Linked");
    node.LinkCount(2);
    node.LinkStart(1, 5);
    node.LinkEnd(1, 9);
    node.LinkText(1, "here");
    node.LinkLink(1, "Note:k0000000003");
    node.LinkStart(2, 20);
    node.LinkEnd(2, 31);
    node.LinkText(2, "caf\xC3\xA9");
    node.LinkLink(2, "https://example.org/");
    node.SaveNode();
    const Bytes d = node.chunks().cChunkData();
    // After the name: LinkCount 2, then link 1 = 5, 9, 4 "here", 16 "Note:k0000000003".
    const std::size_t at = 27 + 6;
    EXPECT_EQ(longAt(d, at), 2);
    EXPECT_EQ(longAt(d, at + 4), 5);
    EXPECT_EQ(longAt(d, at + 8), 9);
    EXPECT_EQ(longAt(d, at + 12), 4);
    EXPECT_EQ(std::string(d.begin() + at + 16, d.begin() + at + 20), "here");
    EXPECT_EQ(d[at + 20 + 4 + 16 + 4 + 4 + 4 + 3], 0xE9);  // "café" in one byte per character

    node.OpenFile(name);
    ASSERT_TRUE(node.FindKey("k0000000002"));
    EXPECT_EQ(node.LinkCount(), 2);
    EXPECT_EQ(node.LinkText(2), "caf\xC3\xA9");
    EXPECT_EQ(node.LinkLink(1), "Note:k0000000003");
    EXPECT_EQ(node.LinkEnd(2), 31);
}

TEST_F(NodeStoreTest, TheLinkTableResizesKeepingEntriesInRangeAndRefusesANegativePosition) {
    add("k0000000002", "k0000000001", "L");
    node.LinkCount(5);
    for (int i = 1; i <= 5; ++i) node.LinkStart(i, i * 10);
    node.LinkCount(3);
    EXPECT_EQ(node.LinkStart(3), 30);
    EXPECT_THROW(node.LinkStart(4), TamixError);
    node.LinkCount(5);
    EXPECT_EQ(node.LinkStart(3), 30);
    EXPECT_EQ(node.LinkStart(4), 0);
    EXPECT_EQ(node.LinkText(5), "");
    node.LinkStart(1, -1);
    expectError([&] { node.SaveNode(); }, kErrOverflow);
}

TEST_F(NodeStoreTest, SettersAfterClearNodeLeaveThePositionedRecordAlone) {
    add("k0000000002", "k0000000001", "First", "body one");
    node.OpenFile(name);
    ASSERT_TRUE(node.FindKey("k0000000002"));
    node.ClearNode();
    node.Key("k0000000003");
    node.Parent("k0000000001");
    node.NodeText("Second");
    node.SaveNewNode();
    EXPECT_EQ(node.RTFData(), "");  // the new record read back
    ASSERT_TRUE(node.FindKey("k0000000002"));
    EXPECT_EQ(node.NodeText(), "First");
    EXPECT_EQ(node.RTFData(), "body one");
}

TEST_F(NodeStoreTest, KeysArePaddedOrCutToElevenCharacters) {
    add("k42", "k0000000001toolong", "x");
    EXPECT_EQ(node.Key(), "k42        ");
    EXPECT_EQ(node.Parent(), "k0000000001");
    EXPECT_FALSE(node.FindKey("k42"));
    EXPECT_TRUE(node.FindKey("k42        "));
}

TEST_F(NodeStoreTest, AFailedSearchEndsPastTheLastRecordWithItsHeaderLoaded) {
    writeFile(name, {});
    node.OpenFile(name);
    EXPECT_TRUE(node.FileIsEmpty());
    EXPECT_FALSE(node.FindKey("k0000000002"));
    EXPECT_TRUE(node.AtEOF());
    add("k0000000002", "k0000000001", "a");
    add("k0000000003", "k0000000001", "b");
    EXPECT_FALSE(node.FindKey("k0000000009"));
    EXPECT_TRUE(node.AtEOF());
    EXPECT_EQ(node.NodeText(), "b");
    EXPECT_THROW(node.FindNextParent("k0000000001"), TamixError);
}

TEST_F(NodeStoreTest, TheDeletionMarkIsReadAndWrittenBack) {
    add("k0000000002", "k0000000001", "gone");
    node.Deleted(true);
    node.SaveNode();
    node.OpenFile(name);
    EXPECT_TRUE(node.Deleted());
    node.NodeText("still gone");
    node.SaveNode();
    EXPECT_EQ(node.chunks().cChunkData()[0], '*');
}

TEST_F(NodeStoreTest, ANameTheRecordCannotHoldIsRefusedAndChangesNothing) {
    add("k0000000002", "k0000000001", "\xE2\x82\xAC 5");  // the euro sign is in the code page
    EXPECT_THROW(node.NodeText("\xE6\x97\xA5"), TamixError);
    EXPECT_EQ(node.NodeText(), "\xE2\x82\xAC 5");
    EXPECT_EQ(node.chunks().cChunkHeader()[27], 0x80);
    EXPECT_NO_THROW(node.NodeText(std::string(981, 'n')));
    expectError([&] { node.NodeText(std::string(982, 'n')); }, kErrOutOfRange);
}

TEST_F(NodeStoreTest, ASecondOpenerOfTheSameFileIsRefused) {
    cNode other;
    expectError([&] { other.OpenFile(name); }, kErrInUse, {"The database " + name + " is in use"});
    node.CloseFile();
    EXPECT_NO_THROW(other.OpenFile(name));
}

}  // namespace
}  // namespace tamix
