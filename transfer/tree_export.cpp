#include "transfer/tree_export.h"

#include "storage/c_data_base.h"
#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/tree_walk.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tamix {

namespace {

constexpr const char* kRootRefusal = "You have selected the root. This operation makes no sense";

struct Child {
    QString fold;  // the label case-folded: the tree's sort key
    std::string key;
};

}  // namespace

std::vector<TreeExport::Item> TreeExport::Shape(cNode& node, const std::string& key, bool asRoot) {
    if (NodeKey::Number(key) == NodeKey::kRootNumber) throw TamixError(kErrInvalidCall, kRootRefusal);
    std::unordered_map<std::string, std::vector<Child>> children;
    std::unordered_set<std::string> shown;
    cTempTree table;
    TreeWalk::Load(node, table, [&](const std::string& k, const std::string& parent, const std::string& text) {
        // A key reached twice is shown once, as the tree view keeps keys unique.
        if (!shown.insert(k).second) return;
        children[parent].push_back({QString::fromStdString(text).toCaseFolded(), k});
    });
    if (shown.count(key) == 0) throw TamixError(kErrInvalidCall, "No note has the key " + key);
    // Each parent sorts its children as they arrive, keeping equal labels
    // in the order of arrival.
    for (auto& [parent, list] : children)
        std::stable_sort(list.begin(), list.end(), [](const Child& a, const Child& b) { return a.fold < b.fold; });

    std::vector<Item> items;
    if (!asRoot) items.push_back({key, true});
    struct Level {
        const std::vector<Child>* list;
        std::size_t next;
        bool topLevel;
    };
    std::vector<Level> levels;
    const auto enter = [&](const std::string& parent, bool topLevel) {
        const auto found = children.find(parent);
        if (found != children.end()) levels.push_back({&found->second, 0, topLevel});
    };
    enter(key, asRoot);
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.list->size()) {
            levels.pop_back();
            continue;
        }
        const Child& child = (*level.list)[level.next++];
        items.push_back({child.key, level.topLevel});
        enter(child.key, false);
    }
    return items;
}

std::string TreeExport::TargetName(const std::string& name) {
    std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".tm2" ? name : name + ".tm2";
}

void TreeExport::CheckTarget(const std::string& path, const std::string& openPath) {
    std::error_code error;
    if (!openPath.empty() && std::filesystem::equivalent(path, openPath, error))
        throw TamixError(kErrPermission, "The database " + path + " is open; the export cannot replace it.");
    if (cDataBase::dbInUse(path)) throw cDataBase::dbInUseError(path);
}

void TreeExport::Write(cNode& source, const std::vector<Item>& items, const std::string& path,
                       const TransferProgress& progress) {
    std::error_code error;
    std::filesystem::remove(path, error);
    cNode out;
    try {
        out.CreateFile(path);
        out.BeginBatch();
        const auto total = static_cast<std::int64_t>(items.size());
        std::int64_t done = 0;
        for (const Item& item : items) {
            if (!source.FindKey(item.key))
                throw TamixError(kErrCorrupt, "Error in Database: Node not found (" + item.key + ")");
            out.ClearNode();
            out.Key(source.Key());
            out.Parent(item.topLevel ? std::string(NodeKey::kRoot) : source.Parent());
            out.NodeText(source.NodeText());
            out.SaveNewNode();
            const std::int32_t links = source.LinkCount();
            out.LinkCount(links);
            for (std::int32_t i = 1; i <= links; ++i) {
                out.LinkStart(i, source.LinkStart(i));
                out.LinkEnd(i, source.LinkEnd(i));
                out.LinkText(i, source.LinkText(i));
                out.LinkLink(i, source.LinkLink(i));
            }
            out.RTFData(source.RTFData());
            out.SaveNode();
            if (progress) progress(++done, total);
        }
        out.EndBatch();
        out.CloseFile();
    } catch (...) {
        out.CloseFile();
        std::filesystem::remove(path, error);
        throw;
    }
}

}  // namespace tamix
