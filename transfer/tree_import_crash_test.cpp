// Stops the process's writes after every possible number of block writes
// during a database import, reopens, and checks that the open database holds
// either every imported note or none, with the notes it had unchanged.

#include "storage/c_node.h"
#include "storage/database_check.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/test_files.h"
#include "transfer/tree_import.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>

namespace tamix {
namespace {

using Contents = std::map<std::string, std::string>;  // key -> parent, name and body

Contents contents(const std::string& path) {
    cNode node;
    node.Barriers(false);
    node.OpenFile(path);
    Contents out;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext())
        out[node.Key()] = node.Parent() + "|" + node.NodeText() + "|" + node.RTFData();
    return out;
}

TEST(TreeImportCrashTest, EveryCrashPointLeavesAllOrNothingImported) {
    test::TempDir dir;
    const std::string pristine = dir.file("pristine.TM2"), other = dir.file("other.TM2"), name = dir.file("main.TM2");
    const std::string root = NodeKey::kRoot;
    {
        cNode node;
        node.Barriers(false);
        node.CreateFile(pristine);
        test::addNote(node, NodeKey::Format(2), root, "Kept", std::string(2500, 'k'));
        test::addNote(node, NodeKey::Format(3), root, "Gone");
        ASSERT_TRUE(node.FindKey(NodeKey::Format(3)));
        node.DeleteNode();  // leaves free blocks for the import to take
        node.CreateFile(other);
        test::addNote(node, NodeKey::Format(2), root, "A", std::string(3000, 'a'));
        test::addNote(node, NodeKey::Format(3), NodeKey::Format(2), "B", "{\\rtf1 b}");
        test::addNote(node, NodeKey::Format(4), root, "C", std::string(1200, 'c'));
    }
    const Contents before = contents(pristine);

    // Runs the import with writes stopping after `limit` block writes (no
    // limit when negative); answers the writes done.
    const auto run = [&](long limit) {
        test::writeFile(name, test::readFile(pristine));
        cNode node;
        node.Barriers(false);
        node.OpenFile(name);
        const long start = node.chunks().blockFile().dbWriteCount();
        if (limit >= 0) node.chunks().blockFile().dbWriteLimit(start + limit);
        std::int32_t maxKey = 2;
        try {
            TreeImport::Run(node, name, other, root, maxKey);
        } catch (const TamixError&) {
        }
        return node.chunks().blockFile().dbWriteCount() - start;
    };
    const long total = run(-1);
    const Contents complete = contents(name);
    ASSERT_EQ(complete.size(), before.size() + 3);
    ASSERT_GT(total, 10);

    for (long k = 0; k <= total; ++k) {
        SCOPED_TRACE("crash after " + std::to_string(k) + " of " + std::to_string(total) + " block writes");
        run(k);
        const Contents found = contents(name);
        EXPECT_TRUE(found == before || found == complete) << found.size() << " notes";
        const DatabaseCheck::Report report = DatabaseCheck::Run(name);
        EXPECT_TRUE(report.problems.empty()) << report.problems.front();
        EXPECT_EQ(report.lost, 0);
    }
    std::cout << "[ crash points tried: " << total + 1 << " ]\n";
}

}  // namespace
}  // namespace tamix
