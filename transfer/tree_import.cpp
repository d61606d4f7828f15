#include "transfer/tree_import.h"

#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/database_check.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/tree_walk.h"
#include "tree/scale_words.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <unordered_map>

namespace tamix {

namespace {

constexpr const char* kNoteLink = "Note:";

// Refuses what cannot be imported before the open database is touched.
void checkOther(const std::string& mainPath, const std::string& otherPath) {
    std::error_code error;
    if (!std::filesystem::exists(otherPath, error))
        throw TamixError(kErrFileNotFound, "The database " + otherPath + " was not found");
    if (!mainPath.empty() && std::filesystem::equivalent(otherPath, mainPath, error))
        throw TamixError(kErrInvalidCall, "The database " + otherPath +
                                              " is the open database; a database cannot be imported into itself.");
    // Opening repairs an interrupted change of the other file first; the
    // check then reads every block and record without writing.
    {
        cNode probe;
        probe.OpenFile(otherPath);
        probe.CloseFile();
    }
    const DatabaseCheck::Report report = DatabaseCheck::Run(otherPath);
    if (!report.problems.empty())
        throw TamixError(kErrCorrupt, "The database " + otherPath + " is damaged and cannot be imported: " +
                                          report.problems.front());
}

}  // namespace

std::vector<TreeImport::Note> TreeImport::Run(cNode& main, const std::string& mainPath, const std::string& otherPath,
                                              const std::string& targetKey, std::int32_t& maxKeyNumber,
                                              const TransferProgress& progress) {
    checkOther(mainPath, otherPath);
    cNode other;
    other.OpenFile(otherPath);

    // The key map: old key -> new key, the other root standing for the target.
    std::unordered_map<std::string, std::string> newKey{{NodeKey::kRoot, targetKey}};
    struct Old {
        std::string key, parent;
    };
    std::vector<Old> order;
    std::vector<Note> notes;
    std::int64_t next = maxKeyNumber;
    cTempTree table;
    TreeWalk::Load(other, table, [&](const std::string& key, const std::string& parent, const std::string& text) {
        if (newKey.count(key) != 0) return;
        if (++next > INT32_MAX)
            throw TamixError(kErrOverflow, "Overflow: the open database has no keys left for the import");
        const std::string fresh = NodeKey::Format(static_cast<std::int32_t>(next));
        newKey.emplace(key, fresh);
        order.push_back({key, parent});
        notes.push_back({fresh, std::string(), text});
    });
    for (std::size_t i = 0; i < order.size(); ++i) notes[i].parent = newKey.at(order[i].parent);
    if (notes.empty()) {
        other.CloseFile();
        return notes;
    }

    const std::int32_t maxBefore = maxKeyNumber;
    maxKeyNumber = static_cast<std::int32_t>(next);
    const auto total = static_cast<std::int64_t>(notes.size());
    try {
        main.BeginBatch();
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (!other.FindKey(order[i].key))
                throw TamixError(kErrCorrupt, "Error in Database: Node not found (" + order[i].key + ")");
            main.ClearNode();
            main.Key(notes[i].key);
            main.Parent(notes[i].parent);
            main.NodeText(other.NodeText());
            main.SaveNewNode();
            main.RTFData(ScaleWords::Remove(other.RTFData()));
            const std::int32_t links = other.LinkCount();
            main.LinkCount(links);
            for (std::int32_t l = 1; l <= links; ++l) {
                main.LinkStart(l, other.LinkStart(l));
                main.LinkEnd(l, other.LinkEnd(l));
                main.LinkText(l, other.LinkText(l));
                std::string target = other.LinkLink(l);
                if (target.rfind(kNoteLink, 0) == 0) {
                    const auto mapped = newKey.find(target.substr(5));
                    if (mapped != newKey.end()) target = kNoteLink + mapped->second;
                }
                main.LinkLink(l, target);
            }
            main.SaveNode();
            if (progress) progress(static_cast<std::int64_t>(i) + 1, total);
        }
        main.EndBatch();
    } catch (...) {
        // Reopening rolls the unfinished batch back; the keys go back too.
        maxKeyNumber = maxBefore;
        other.CloseFile();
        if (main.InBatch()) {
            main.CloseFile();
            main.OpenFile(mainPath);
        }
        throw;
    }
    other.CloseFile();
    return notes;
}

}  // namespace tamix
