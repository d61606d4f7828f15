// The copying of import and export, without a window.

#include "rtf/rtf_reader.h"
#include "storage/c_node.h"
#include "storage/database_check.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/test_files.h"
#include "transfer/document_import.h"
#include "transfer/tree_export.h"
#include "transfer/tree_import.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace tamix {
namespace {

std::string k(int n) { return NodeKey::Format(n); }
const std::string kRoot = NodeKey::kRoot;

struct Record {
    std::string parent, name, body;
    std::vector<std::string> targets;
    bool operator==(const Record&) const = default;
};
using Records = std::map<std::string, Record>;  // by key

Records records(const std::string& path) {
    cNode node;
    node.OpenFile(path);
    Records out;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        Record& r = out[node.Key()];
        r = {node.Parent(), node.NodeText(), node.RTFData(), {}};
        for (int i = 1; i <= node.LinkCount(); ++i) r.targets.push_back(node.LinkLink(i));
    }
    return out;
}

void setLinks(cNode& node, const std::string& key, const std::vector<std::string>& targets) {
    ASSERT_TRUE(node.FindKey(key));
    node.LinkCount(static_cast<int>(targets.size()));
    for (int i = 1; i <= static_cast<int>(targets.size()); ++i) {
        node.LinkStart(i, 0);
        node.LinkEnd(i, 1);
        node.LinkText(i, "x");
        node.LinkLink(i, targets[static_cast<std::size_t>(i - 1)]);
    }
    node.SaveNode();
}

class TransferTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string main = dir.file("Main.TM2"), other = dir.file("Other.TM2");

    // Main: X (k2) and Y (k5) at the top level. Other: A (k2) and B (k3) at
    // the top level, C (k4) below A; A links to B, to a note Other lacks
    // and to the web; C's body carries an object scale word.
    void SetUp() override {
        cNode m;
        m.CreateFile(main);
        test::addNote(m, k(2), kRoot, "X", "{\\rtf1 x}");
        test::addNote(m, k(5), kRoot, "Y", "{\\rtf1 y}");
        m.CloseFile();
        cNode o;
        o.CreateFile(other);
        test::addNote(o, k(2), kRoot, "A", "{\\rtf1 a}");
        test::addNote(o, k(3), kRoot, "B", "{\\rtf1 b}");
        test::addNote(o, k(4), k(2), "C", "{\\rtf1{\\object\\objscalex50\\objscaley50 c}}");
        setLinks(o, k(2), {"Note:" + k(3), "Note:" + k(99), "http://example.org"});
        o.CloseFile();
    }

    std::vector<TreeImport::Note> import(const std::string& from, const std::string& below, std::int32_t& maxKey) {
        cNode m;
        m.OpenFile(main);
        auto notes = TreeImport::Run(m, main, from, below, maxKey);
        m.CloseFile();
        return notes;
    }
};

TEST_F(TransferTest, ImportGivesFreshKeysAndRewritesParentsAndNoteLinks) {
    const Records before = records(main);
    std::int32_t maxKey = 5;
    const auto notes = import(other, k(2), maxKey);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(maxKey, 8);
    // Siblings from the last stored, each subtree whole: B, A, then C.
    EXPECT_EQ(notes[0].key, k(6));
    const Records after = records(main);
    EXPECT_EQ(after.at(k(6)), (Record{k(2), "B", "{\\rtf1 b}", {}}));
    EXPECT_EQ(after.at(k(7)).parent, k(2));
    EXPECT_EQ(after.at(k(7)).targets, (std::vector<std::string>{"Note:" + k(6), "Note:" + k(99), "http://example.org"}));
    EXPECT_EQ(after.at(k(8)).parent, k(7));
    EXPECT_EQ(after.at(k(8)).body, "{\\rtf1{\\object c}}");
    for (const auto& [key, record] : before) EXPECT_EQ(after.at(key), record) << key;
    EXPECT_TRUE(DatabaseCheck::Run(main).problems.empty());
}

TEST_F(TransferTest, ImportingTwiceGivesTwoIndependentCopies) {
    std::int32_t maxKey = 5;
    const auto first = import(other, kRoot, maxKey);
    const auto second = import(other, kRoot, maxKey);
    EXPECT_EQ(second.front().key, k(9));
    EXPECT_EQ(records(main).size(), 8u);
    EXPECT_EQ(records(main).at(second[1].key).targets.front(), "Note:" + second[0].key);
}

TEST_F(TransferTest, EmptyDatabaseImportsNothing) {
    const std::string empty = dir.file("Empty.TM2");
    cNode().CreateFile(empty);
    const Records before = records(main);
    std::int32_t maxKey = 5;
    EXPECT_TRUE(import(empty, k(2), maxKey).empty());
    EXPECT_EQ(maxKey, 5);
    EXPECT_EQ(records(main), before);
}

TEST_F(TransferTest, BadSourcesAreRefusedWithNothingWritten) {
    const Bytes good = test::readFile(other);
    const std::string truncated = dir.file("Truncated.TM2"), garbage = dir.file("Garbage.TM2"),
                      broken = dir.file("Broken.TM2");
    test::writeFile(truncated, Bytes(good.begin(), good.end() - 700));
    test::writeFile(garbage, Bytes(3072, 0x5A));
    Bytes cut = good;  // the first record's name longer than the record
    test::putLong(cut, static_cast<std::size_t>(test::longAt(good, 0) - 1) * 1024 + 16 + 23, 5000);
    test::writeFile(broken, cut);
    const Bytes mainBytes = test::readFile(main);
    for (const std::string& bad : {main, dir.file("Missing.TM2"), truncated, garbage, broken}) {
        SCOPED_TRACE(bad);
        std::int32_t maxKey = 5;
        EXPECT_THROW(import(bad, k(2), maxKey), TamixError);
        EXPECT_EQ(maxKey, 5);
        EXPECT_EQ(test::readFile(main), mainBytes);
    }
}

TEST_F(TransferTest, ExportKeepsKeysLinksAndBodiesAndPutsTheTopAtTheRoot) {
    cNode o;
    o.OpenFile(other);
    test::addNote(o, k(5), k(2), "a second child", "{\\rtf1 d}");
    // Children in label order ignoring case: "a second child" before "C".
    const std::vector<TreeExport::Item> withTop = TreeExport::Shape(o, k(2), false);
    EXPECT_EQ(withTop, (std::vector<TreeExport::Item>{{k(2), true}, {k(5), false}, {k(4), false}}));
    const std::vector<TreeExport::Item> asRoot = TreeExport::Shape(o, k(2), true);
    EXPECT_EQ(asRoot, (std::vector<TreeExport::Item>{{k(5), true}, {k(4), true}}));
    EXPECT_THROW(TreeExport::Shape(o, kRoot, false), TamixError);

    const std::string out = dir.file("Out.tm2");
    TreeExport::Write(o, asRoot, out);
    o.CloseFile();
    Records expected = records(other);
    expected.erase(k(2));
    expected.erase(k(3));
    expected.at(k(5)).parent = expected.at(k(4)).parent = kRoot;
    EXPECT_EQ(records(out), expected);
    EXPECT_EQ(TreeExport::TargetName(dir.file("Plain")), dir.file("Plain.tm2"));
    EXPECT_EQ(TreeExport::TargetName(out + "X.TM2"), out + "X.TM2");
}

TEST_F(TransferTest, PlainTextBecomesParagraphsInTheDefaultFont) {
    const std::string doc = dir.file("Plan.txt");
    std::ofstream(doc, std::ios::binary) << "first {line}\r\nsecond\n\nfourth\n";
    const rtf::RtfDocument body = rtf::RtfReader().read(DocumentImport::Body(doc, "Arial", 10));
    EXPECT_EQ(body.plainText(), "first {line}\nsecond\n\nfourth");
    EXPECT_EQ(body.paragraphs.front().runs.front().format.font.name, "Arial");
    EXPECT_EQ(body.paragraphs.front().runs.front().format.halfPoints, 20);
    EXPECT_EQ(DocumentImport::Title("/a.b/Notes"), "Notes");  // a name without an extension stays whole
}

}  // namespace
}  // namespace tamix
