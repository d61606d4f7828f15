// Stops the process's writes after every possible number of block writes in
// a scripted workload, reopens, and checks that nothing finished was lost and
// the interrupted operation is wholly there or wholly absent.

#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/database_check.h"
#include "storage/test_files.h"
#include "storage/tree_walk.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace tamix {
namespace {

struct Note {
    std::string key, parent, name, body;
    bool operator==(const Note&) const = default;
};
using State = std::vector<Note>;  // storage order

std::string body(std::size_t size, char c) { return std::string(size, c); }

// One operation of the workload, as cNode's callers run it, and its effect
// on the expected state. `half` is the state an add with a body may leave
// when only its first half (the new note) was stored.
struct Step {
    std::function<void(cNode&)> run;
    std::function<void(State&)> apply;
    std::function<void(State&)> half;
};

Step add(const std::string& key, const std::string& parent, const std::string& name, const std::string& text = {}) {
    return {[=](cNode& n) { test::addNote(n, key, parent, name, text); },
            [=](State& s) { s.push_back({key, parent, name, text}); },
            text.empty() ? std::function<void(State&)>() : [=](State& s) { s.push_back({key, parent, name, ""}); }};
}

Note& find(State& s, const std::string& key) {
    return *std::find_if(s.begin(), s.end(), [&](const Note& n) { return n.key == key; });
}

Step edit(const std::string& key, std::function<void(cNode&)> set, std::function<void(Note&)> change) {
    return {[=](cNode& n) {
                if (!n.FindKey(key)) throw std::logic_error("workload lost " + key);
                set(n);
                n.SaveNode();
            },
            [=](State& s) { change(find(s, key)); },
            {}};
}

Step setBody(const std::string& key, const std::string& text) {
    return edit(key, [=](cNode& n) { n.RTFData(text); }, [=](Note& note) { note.body = text; });
}
Step rename(const std::string& key, const std::string& name) {
    return edit(key, [=](cNode& n) { n.NodeText(name); }, [=](Note& note) { note.name = name; });
}
Step move(const std::string& key, const std::string& parent) {
    return edit(key, [=](cNode& n) { n.Parent(parent); }, [=](Note& note) { note.parent = parent; });
}
Step remove(const std::string& key) {
    return {[=](cNode& n) {
                if (!n.FindKey(key)) throw std::logic_error("workload lost " + key);
                n.DeleteNode();
            },
            [=](State& s) { s.erase(std::find_if(s.begin(), s.end(), [&](const Note& n) { return n.key == key; })); },
            {}};
}

const std::string kRoot = "k0000000001";

std::vector<Step> workload() {
    return {
        add("k0000000002", kRoot, "Alpha"),
        add("k0000000003", kRoot, "Beta", body(3000, 'b')),
        add("k0000000004", "k0000000002", "Gamma", body(500, 'g')),
        setBody("k0000000002", body(200, 'a')),
        setBody("k0000000003", body(5000, 'B')),
        rename("k0000000004", "Gamma two"),
        move("k0000000004", "k0000000003"),
        remove("k0000000002"),
        add("k0000000005", "k0000000003", "Delta", body(2500, 'd')),
        setBody("k0000000005", body(100, 'D')),
        remove("k0000000004"),
        add("k0000000006", kRoot, "Epsilon", body(1500, 'e')),
    };
}

State read(cNode& node) {
    State s;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext())
        s.push_back({node.Key(), node.Parent(), node.NodeText(), node.RTFData()});
    return s;
}

class CrashTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string name = dir.file("crash.TM2");

    // Runs the workload with writes stopping after `limit` block writes (no
    // limit when negative); answers the index of the interrupted step, or the
    // step count when all finished, and the writes done.
    std::pair<std::size_t, long> runWorkload(long limit) {
        cNode node;
        node.Barriers(false);
        node.CreateFile(name);
        const long start = node.chunks().blockFile().dbWriteCount();
        if (limit >= 0) node.chunks().blockFile().dbWriteLimit(start + limit);
        const std::vector<Step> steps = workload();
        for (std::size_t i = 0; i < steps.size(); ++i) {
            try {
                steps[i].run(node);
            } catch (const TamixError&) {
                return {i, node.chunks().blockFile().dbWriteCount() - start};
            }
        }
        return {steps.size(), node.chunks().blockFile().dbWriteCount() - start};
    }
};

TEST_F(CrashTest, EveryCrashPointLeavesAnIntactDatabase) {
    const std::vector<Step> steps = workload();
    const long total = runWorkload(-1).second;
    ASSERT_GT(total, 50);
    int tried = 0;
    for (long k = 0; k <= total; ++k) {
        SCOPED_TRACE("crash after " + std::to_string(k) + " of " + std::to_string(total) + " block writes");
        const std::size_t interrupted = runWorkload(k).first;

        // A crash can also cut short the repair at the next open.
        {
            cNode partial;
            partial.Barriers(false);
            partial.chunks().blockFile().dbWriteLimit(k % 4);
            try {
                partial.OpenFile(name);
            } catch (const TamixError&) {
            }
        }

        cNode node;
        node.Barriers(false);
        ASSERT_NO_THROW(node.OpenFile(name));
        cTempTree table;
        std::size_t shown = 0;
        ASSERT_NO_THROW(TreeWalk::Load(node, table, [&](auto&&...) { ++shown; }));

        State before;
        for (std::size_t i = 0; i < interrupted; ++i) steps[i].apply(before);
        State after = before, half = before;
        if (interrupted < steps.size()) {
            steps[interrupted].apply(after);
            if (steps[interrupted].half) steps[interrupted].half(half);
        }
        const State found = read(node);
        EXPECT_TRUE(found == before || found == after || found == half)
            << "step " << interrupted << " left " << found.size() << " notes";
        EXPECT_EQ(shown, found.size());

        // The database goes on working and stays sound.
        add("k0000000099", kRoot, "After", body(2100, 'z')).run(node);
        node.CloseFile();
        const auto report = DatabaseCheck::Run(name);
        EXPECT_TRUE(report.problems.empty()) << report.problems.front();
        EXPECT_EQ(report.lost, 0);
        ++tried;
    }
    std::cout << "[ crash points tried: " << tried << " ]\n";
    EXPECT_EQ(tried, total + 1);
}

// Inside a batch only the batch's own records may be written, so that its
// rollback never has to restore a record that existed before it.
TEST_F(CrashTest, ABatchWritesOnlyItsOwnRecords) {
    cNode node;
    node.Barriers(false);
    node.CreateFile(name);
    test::addNote(node, "k0000000002", kRoot, "Before");
    node.BeginBatch();
    test::addNote(node, "k0000000003", kRoot, "Inside", body(1500, 'i'));
    ASSERT_TRUE(node.FindKey("k0000000002"));
    node.NodeText("Changed");
    EXPECT_THROW(node.SaveNode(), TamixError);
    EXPECT_THROW(node.DeleteNode(), TamixError);
    node.CloseFile();  // before EndBatch: the batch is rolled back
    node.OpenFile(name);
    EXPECT_EQ(read(node), (State{{"k0000000002", kRoot, "Before", ""}}));
}

}  // namespace
}  // namespace tamix
