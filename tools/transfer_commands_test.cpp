// Drives the built tamix-tool's export and import commands as a script would.

#include "storage/c_node.h"
#include "tools/tool_fixture.h"

#include <map>
#include <sstream>

namespace tamix {
namespace {

class TransferToolTest : public ToolFixture {
protected:
    // `tree` of a file without its root line, and the key of each line
    // after it in order.
    std::pair<std::string, std::vector<std::string>> shape(const std::string& file) {
        const Result r = run({"tree", file});
        EXPECT_EQ(r.exit, 0) << r.err;
        std::istringstream in(r.out);
        std::string line, text;
        std::vector<std::string> keys;
        std::getline(in, line);
        while (std::getline(in, line)) {
            const std::size_t tab = line.rfind('\t');
            text += line.substr(0, tab) + "\n";
            keys.push_back(line.substr(tab + 1));
        }
        return {text, keys};
    }
};

TEST_F(TransferToolTest, ExportThenImportIntoAnEmptyDatabaseGivesTheSameTreeAndLinks) {
    const std::string top = add(root, "Top"), b = add(top, "B"), a = add(top, "a"), d = add(b, "D");
    ASSERT_EQ(run({"links-set", db, a, "0|1|x|Note:" + b + ";0|1|y|Note:" + top + ";0|1|z|http://example.org"}).exit, 0);
    const std::string out = path("Sub.TM2"), fresh = path("Fresh.TM2");
    const Result exported = run({"export-tree", db, top, out, "--as-root"});
    ASSERT_EQ(exported.exit, 0) << exported.err;
    ASSERT_EQ(run({"new", fresh}).exit, 0);
    const Result imported = run({"import-tree", fresh, root, out});
    ASSERT_EQ(imported.exit, 0) << imported.err;
    EXPECT_EQ(imported.out, "k0000000002 k0000000004\n");

    const auto [exportedTree, oldKeys] = shape(out);
    const auto [importedTree, newKeys] = shape(fresh);
    EXPECT_EQ(exportedTree, "  a\n  B\n    D\n");
    EXPECT_EQ(importedTree, exportedTree);
    // The exported links with each note's key, and each note link's
    // target, mapped to the imported note at the same place in the tree.
    std::map<std::string, std::string> renamed;
    for (std::size_t i = 0; i < oldKeys.size(); ++i) renamed[oldKeys[i]] = newKeys[i];
    const auto map = [&](const std::string& key) { return renamed.count(key) ? renamed[key] : key; };
    std::istringstream in(run({"links", out}).out);
    std::string links;
    for (std::string line; std::getline(in, line);) {
        const std::size_t target = line.rfind('\t') + 1;
        std::string link = line.substr(target);
        if (link.rfind("Note:", 0) == 0) link = "Note:" + map(link.substr(5));
        links += map(line.substr(0, 11)) + line.substr(11, target - 11) + link + "\n";
    }
    EXPECT_EQ(run({"links", fresh}).out, links);
    EXPECT_NE(links.find("Note:" + top), std::string::npos);  // a note outside the subtree stays as it was
}

TEST_F(TransferToolTest, DocumentsComeInAsNotesAndGoOutAsTextOrRtf) {
    const std::string doc = path("Plan.txt");
    std::ofstream(doc, std::ios::binary) << "one\ntwo\n";
    const Result added = run({"import-doc", db, root, doc});
    ASSERT_EQ(added.exit, 0) << added.err;
    const std::string key = added.out.substr(0, 11);
    EXPECT_NE(run({"tree", db}).out.find("Plan\t" + key), std::string::npos);
    ASSERT_EQ(run({"export-note", db, key, path("Plan out.txt")}).exit, 0);
    EXPECT_EQ(slurp(path("Plan out.txt")), "one\r\ntwo");
    ASSERT_EQ(run({"export-note", db, key, path("Plain")}).exit, 0);  // no extension: RTF
    EXPECT_EQ(slurp(path("Plain.rtf")), run({"cat", db, key}).out);
}

TEST_F(TransferToolTest, RefusalsExitTwoAndWriteNothing) {
    const std::string note = add(root, "Note");
    const std::string held = path("Held.TM2");
    ASSERT_EQ(run({"new", held}).exit, 0);
    cNode holder;
    holder.OpenFile(held);
    std::ofstream(path("Fake.rtf"), std::ios::binary) << "no rtf here";
    std::ofstream(path("\xE4\xBC\x9A.txt"), std::ios::binary) << "text";
    std::ofstream(path("Data.txt"), std::ios::binary) << std::string("a\0b", 3);
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"export-tree", db, root, path("Out.TM2")}, "You have selected the root. This operation makes no sense"},
        {{"export-tree", path("Missing.TM2"), note, path("Out.TM2")}, "There is no database"},
        {{"export-tree", held, note, path("Out.TM2")}, "is in use by another program"},
        {{"export-tree", db, note, held}, "is in use by another program"},
        {{"import-tree", db, note, db}, "cannot be imported into itself"},
        {{"import-tree", db, note, path("Missing.TM2")}, "was not found"},
        {{"import-doc", db, note, path("Fake.rtf")}, "is not an RTF document"},
        {{"import-doc", db, note, path("\xE4\xBC\x9A.txt")}, "cannot be a note's title"},
        {{"import-doc", db, note, path("Data.txt")}, "is neither RTF nor plain text"},
    };
    const std::string before = slurp(db), heldBefore = slurp(held);
    for (const auto& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.exit, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    EXPECT_EQ(slurp(db), before);
    EXPECT_EQ(slurp(held), heldBefore);
    EXPECT_FALSE(std::filesystem::exists(path("Out.TM2")));
    EXPECT_EQ(run({"check", db}).exit, 0);
}

}  // namespace
}  // namespace tamix
