#include "tools/find_command.h"

#include "controls/rich_text_box.h"
#include "find/search_matcher.h"
#include "find/tree_search.h"
#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"

#include <QString>

#include <filesystem>
#include <iostream>

namespace tamix::tool {

int findText(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    int flags = 0;
    std::string under = NodeKey::kRoot;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--whole-word") {
            flags |= controls::RichTextBox::kFindWholeWord;
        } else if (args[i] == "--match-case") {
            flags |= controls::RichTextBox::kFindMatchCase;
        } else if (args[i] == "--under") {
            if (++i == args.size()) throw UsageError("--under needs a KEY");
            under = args[i];
        } else if (args[i].starts_with("--")) {
            throw UsageError("unknown option " + args[i]);
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2) throw UsageError("expected FILE and TEXT, got " + std::to_string(plain.size()) + " arguments");
    const QString text = QString::fromUtf8(plain[1].data(), static_cast<qsizetype>(plain[1].size()));
    if (text.toUtf8().toStdString() != plain[1]) throw UsageError("TEXT is not UTF-8");
    if (!std::filesystem::exists(plain[0])) throw TamixError(kErrFileNotFound, "There is no database " + plain[0]);

    cNode node;
    node.OpenFile(plain[0]);
    cTempTree table;
    const std::vector<TreeSearch::Hit> hits = TreeSearch::Run(node, table, SearchMatcher(text, flags), under);
    node.CloseFile();
    for (const TreeSearch::Hit& hit : hits) std::cout << hit.key << '\t' << hit.position << '\n';
    return hits.empty() ? 1 : kExitOk;
}

}  // namespace tamix::tool
