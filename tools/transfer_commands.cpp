#include "tools/transfer_commands.h"
#include "tools/tool_arguments.h"

#include "dialogs/app_options.h"
#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "storage/tree_walk.h"
#include "transfer/document_import.h"
#include "transfer/note_export.h"
#include "transfer/tree_export.h"
#include "transfer/tree_import.h"

#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <optional>
#include <unordered_set>

namespace tamix::tool {
namespace {

constexpr const char* kRootRefusal = "You have selected the root. This operation makes no sense";

bool isRoot(const std::string& key) { return NodeKey::Number(key) == NodeKey::kRootNumber && key == NodeKey::kRoot; }

// Loads FILE's tree as the window does: answers MaxKeyNumber and refuses a
// KEY that is neither the root (when allowed) nor a shown note.
std::int32_t checkKey(cNode& node, const std::string& key, bool rootAllowed) {
    if (isRoot(key) && !rootAllowed) throw TamixError(kErrInvalidCall, kRootRefusal);
    std::unordered_set<std::string> shown;
    cTempTree table;
    const std::int32_t maxKey = TreeWalk::Load(
        node, table, [&](const std::string& k, const std::string&, const std::string&) { shown.insert(k); });
    if (!isRoot(key) && shown.count(key) == 0) throw TamixError(kErrInvalidCall, "No note has the key " + key);
    return maxKey;
}

// The editor's text of a body needs a GUI application; nothing is shown.
class OffscreenApp {
public:
    OffscreenApp() {
        if (!QGuiApplication::instance()) app_.emplace(argc_, argv_);
    }

private:
    int argc_ = 3;
    char name_[11] = "tamix-tool", platform_[10] = "-platform", offscreen_[10] = "offscreen";
    char* argv_[4] = {name_, platform_, offscreen_, nullptr};
    std::optional<QGuiApplication> app_;
};

}  // namespace

int exportNote(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    cNode node;
    ToolArguments::open(node, args[0]);
    checkKey(node, args[1], false);
    node.FindKey(args[1]);
    const NoteExport::Kind kind = NoteExport::KindOf(args[2]);
    const std::string path = NoteExport::TargetName(args[2], kind);
    if (kind == NoteExport::Kind::Rtf) {
        NoteExport::Write(path, node.RTFData());
    } else {
        OffscreenApp app;
        NoteExport::Write(path, NoteExport::TextOfRtf(node.RTFData()));
    }
    return kExitOk;
}

int exportTree(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 4);
    if (args.size() == 4 && args[3] != "--as-root") throw UsageError("unknown option '" + args[3] + "'");
    cNode node;
    ToolArguments::open(node, args[0]);
    const std::vector<TreeExport::Item> items = TreeExport::Shape(node, args[1], args.size() == 4);
    const std::string path = TreeExport::TargetName(args[2]);
    TreeExport::CheckTarget(path, args[0]);
    TreeExport::Write(node, items, path);
    return kExitOk;
}

int importTree(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    cNode node;
    ToolArguments::open(node, args[0]);
    std::int32_t maxKey = checkKey(node, args[1], true);
    const std::vector<TreeImport::Note> notes = TreeImport::Run(node, args[0], args[2], args[1], maxKey);
    if (!notes.empty()) std::cout << notes.front().key << ' ' << notes.back().key << '\n';
    return kExitOk;
}

int importDocument(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    cNode node;
    ToolArguments::open(node, args[0]);
    std::int32_t maxKey = checkKey(node, args[1], true);
    const AppOptions defaults;
    std::cout << DocumentImport::Run(node, args[2], args[1], maxKey, defaults.DefaultFontName,
                                     defaults.DefaultFontSize)
              << '\n';
    return kExitOk;
}

}  // namespace tamix::tool
