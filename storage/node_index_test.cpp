#include "storage/node_index.h"

#include "storage/c_node.h"
#include "storage/test_files.h"

#include <gtest/gtest.h>

#include <random>

namespace tamix {
namespace {

std::string key11(int n) {
    char k[16];
    std::snprintf(k, sizeof k, "k%010d", n);
    return k;
}

TEST(NodeIndex, StaysSmallPerRecord) {
    NodeIndex index;
    for (int i = 0; i < 100000; ++i) index.append(2 + 3 * i, key11(i + 2), key11(1 + i / 10));
    index.shrink();
    EXPECT_LT(index.memoryBytes() / 100000.0, 100.0);
    EXPECT_EQ(index.firstWithKey(key11(50000)), 2 + 3 * 49998);
}

// What a scan in storage order answers, with the cursor and header it leaves.
struct Answer {
    bool found;
    std::int32_t chunk;
    std::string key, parent, text;
    bool operator==(const Answer&) const = default;
};

Answer answer(cNode& node, bool found) {
    return {found, node.chunks().cCurrentChunkRec(), node.Key(), node.Parent(), node.NodeText()};
}

Answer scan(cNode& node, bool byKey, const std::string& value, bool fromNext) {
    if (fromNext)
        node.MoveNext();
    else
        node.MoveFirst();
    while (!node.AtEOF()) {
        if ((byKey ? node.Key() : node.Parent()) == value) return answer(node, true);
        node.MoveNext();
    }
    return answer(node, false);
}

class NodeIndexTest : public test::NodeFileTest {};

TEST_F(NodeIndexTest, SearchesAnswerAsAScanWouldThroughARandomWorkload) {
    std::mt19937 rng(7);
    auto pick = [&](int n) { return static_cast<int>(rng() % n); };
    int records = 0;
    for (int step = 0; step < 400; ++step) {
        const int op = records == 0 ? 0 : pick(6);
        const std::string target = key11(2 + pick(12));
        if (op <= 1) {
            const std::string key = key11(2 + pick(12));  // few keys: duplicates happen
            test::addNote(node, key, key11(1 + pick(5)), "n" + std::to_string(step));
            ++records;
        } else if (node.FindKey(target)) {
            if (op == 2) {
                node.Parent(key11(1 + pick(5)));
                node.SaveNode();
            } else if (op == 3) {
                node.Key(key11(2 + pick(12)));
                node.RTFData(std::string(pick(3000), 'b'));
                node.SaveNode();
            } else if (op == 4) {
                node.DeleteNode();
                --records;
            } else {
                node.NodeText("r" + std::to_string(step));
                node.SaveNode();
            }
        }
        if (step % 97 == 0) node.OpenFile(name);
        for (int k = 1; k <= 13; ++k) {
            const std::string value = key11(k);
            const Answer byScan = scan(node, true, value, false);
            EXPECT_EQ(answer(node, node.FindKey(value)), byScan) << "step " << step << " key " << value;
            Answer childScan = scan(node, false, value, false);
            Answer child = answer(node, node.FindFirstParent(value));
            ASSERT_EQ(child, childScan) << "step " << step << " parent " << value;
            while (child.found) {
                childScan = scan(node, false, value, true);
                node.chunks().cGoto(child.chunk);
                child = answer(node, node.FindNextParent(value));
                ASSERT_EQ(child, childScan) << "step " << step << " parent " << value;
            }
        }
        // From a record that is not one of the children.
        if (node.FindKey(target)) {
            const std::int32_t at = node.chunks().cCurrentChunkRec();
            const Answer byScan = scan(node, false, key11(1), true);
            node.chunks().cGoto(at);
            EXPECT_EQ(answer(node, node.FindNextParent(key11(1))), byScan) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace tamix
