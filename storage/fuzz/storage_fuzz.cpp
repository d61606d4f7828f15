// libFuzzer target: a database image is opened the way every reader opens it
// (repair, walk, whole records, searches, tree walk), written to once, and
// checked read-only. Whatever the bytes, the only way out is a TamixError.

#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/database_check.h"
#include "storage/tree_walk.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string imagePath() {
    static const std::string path = "/tmp/tamix-fuzz-" + std::to_string(::getpid()) + ".TM2";
    return path;
}

void writeImage(const std::uint8_t* data, std::size_t size) {
    // Most inputs are padded to whole blocks so that the fuzzer reaches past
    // the length check; an odd last byte keeps a ragged length.
    std::size_t padded = size;
    if (size % 1024 != 0 && (size == 0 || (data[size - 1] & 1) == 0)) padded = (size / 1024 + 1) * 1024;
    std::FILE* f = std::fopen(imagePath().c_str(), "wb");
    if (size) std::fwrite(data, 1, size, f);
    for (std::size_t i = size; i < padded; ++i) std::fputc(0, f);
    std::fclose(f);
}

void exercise() {
    tamix::DatabaseCheck::Run(imagePath());
    tamix::cNode node;
    node.Barriers(false);
    node.OpenFile(imagePath());
    std::vector<std::string> keys;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        keys.push_back(node.Key());
        const std::int32_t links = node.LinkCount();
        for (std::int32_t i = 1; i <= links; ++i) node.LinkLink(i);
        node.RTFData();
    }
    for (const std::string& key : keys) {
        node.FindKey(key);
        for (bool more = node.FindFirstParent(key); more; more = node.FindNextParent(key)) {
        }
    }
    tamix::cTempTree table;
    tamix::TreeWalk::Load(node, table, [](auto&&...) {});
    // One change of each kind on whatever the open accepted.
    node.ClearNode();
    node.Key("k0000000777");
    node.Parent("k0000000001");
    node.NodeText("fuzz");
    node.SaveNewNode();
    node.RTFData(std::string(1500, 'f'));
    node.SaveNode();
    if (!keys.empty() && node.FindKey(keys.front())) node.DeleteNode();
    node.CloseFile();
    tamix::DatabaseCheck::Run(imagePath());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    writeImage(data, size);
    try {
        exercise();
    } catch (const tamix::TamixError&) {
    }
    return 0;
}
