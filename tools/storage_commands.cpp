#include "tools/storage_commands.h"
#include "tools/tool_arguments.h"

#include "storage/c_data_base.h"
#include "storage/c_node.h"
#include "storage/c_temp_tree.h"
#include "storage/code_page_1252.h"
#include "storage/database_check.h"
#include "storage/node_key.h"
#include "storage/string_ids.h"
#include "storage/tamix_error.h"
#include "storage/tree_walk.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>

namespace tamix::tool {
namespace {

constexpr std::size_t kMaxNameCharacters = 100;

[[noreturn]] void refuse(const std::string& why) { throw TamixError(kErrInvalidCall, why); }

void checkName(const std::string& name) {
    const std::size_t n = CodePage1252::characterCount(name);
    if (n < 1 || n > kMaxNameCharacters)
        throw UsageError("a note name has 1 to " + std::to_string(kMaxNameCharacters) + " characters, this one " +
                         std::to_string(n));
    CodePage1252::fromUtf8(name);  // refuses what the file cannot hold, before anything is written
}

std::string readBody(const std::string& path) {
    if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TamixError(kErrFileNotFound, "Cannot read the body file " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void findOrRefuse(cNode& node, const std::string& key) {
    if (!node.FindKey(key)) refuse("No note has the key " + key);
}

// The tree as the loader reads it: every shown note with its parent, in the
// order of visiting, and the MaxKeyNumber it yields.
struct Tree {
    struct Note {
        std::string key, parent, text;
    };
    std::deque<Note> notes;  // grows without moving its notes
    StringIds byKey{0, [this](std::int32_t i) -> std::string_view { return notes[static_cast<std::size_t>(i)].key; }};
    std::int32_t maxKeyNumber = NodeKey::kRootNumber;

    Tree() = default;
    Tree(const Tree&) = delete;  // byKey reads this tree's own notes

    bool shows(const std::string& key) const { return key == NodeKey::kRoot || byKey.find(key) >= 0; }
    // The index of the note shown under `key` (its first visit); the root's
    // children hang under `root`. A parent that is not shown can only come
    // from two records sharing one key.
    std::size_t shownAs(const std::string& key, std::size_t root) const {
        if (key == NodeKey::kRoot) return root;
        const std::int32_t at = byKey.find(key);
        if (at < 0)
            throw TamixError(kErrCorrupt, "The note tree cannot be built: two records share a key, and one names "
                                          "the parent " + key + ", which is not in the tree");
        return static_cast<std::size_t>(at);
    }
};

void loadTree(cNode& node, Tree& tree) {
    cTempTree table;
    tree.maxKeyNumber = TreeWalk::Load(node, table, [&](const std::string& key, const std::string& parent,
                                                        const std::string& text) {
        tree.notes.push_back({key, parent, text});
        tree.byKey.add(tree.notes.back().key, static_cast<std::int32_t>(tree.notes.size() - 1));
    });
}

std::string rootLabel(const std::string& file) {
    const std::string name = std::filesystem::path(file).filename().string();
    return "My Tamix (" + name.substr(0, name.size() >= 4 ? name.size() - 4 : 0) + ")";
}

}  // namespace

int newDatabase(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 1);
    const std::string& file = args[0];
    if (cDataBase::dbInUse(file)) throw cDataBase::dbInUseError(file);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    cNode node;
    node.CreateFile(file);
    return kExitOk;
}

int addNote(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 4);
    const std::string &file = args[0], &parent = args[1], &name = args[2];
    checkName(name);
    const std::string body = args.size() == 4 ? readBody(args[3]) : std::string();
    cNode node;
    ToolArguments::open(node, file);
    Tree tree;
    loadTree(node, tree);
    if (!tree.shows(parent)) refuse("The parent " + parent + " is not a note of the tree");
    if (tree.maxKeyNumber == INT32_MAX) throw TamixError(kErrOverflow, "Overflow: no key number is left");
    const std::string key = NodeKey::Format(tree.maxKeyNumber + 1);
    node.ClearNode();
    node.Key(key);
    node.Parent(parent);
    node.NodeText(name);
    node.SaveNewNode();
    if (args.size() == 4) {
        node.RTFData(body);
        node.SaveNode();
    }
    std::cout << key << "\n";
    return kExitOk;
}

int renameNote(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    checkName(args[2]);
    cNode node;
    ToolArguments::open(node, args[0]);
    findOrRefuse(node, args[1]);
    node.NodeText(args[2]);
    node.SaveNode();
    return kExitOk;
}

int moveNote(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    const std::string &key = args[1], &newParent = args[2];
    cNode node;
    ToolArguments::open(node, args[0]);
    Tree tree;
    loadTree(node, tree);
    if (!tree.shows(newParent)) refuse("The new parent " + newParent + " is not a note of the tree");
    // Walking up from the new parent must reach the root without passing the note.
    for (std::string at = newParent; at != NodeKey::kRoot;) {
        if (at == key) refuse("A note cannot move into itself or its own subtree");
        at = tree.notes[tree.shownAs(at, 0)].parent;
    }
    findOrRefuse(node, key);
    node.Parent(newParent);
    node.SaveNode();
    return kExitOk;
}

int setBody(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    const std::string body = readBody(args[2]);
    cNode node;
    ToolArguments::open(node, args[0]);
    findOrRefuse(node, args[1]);
    node.RTFData(body);
    node.SaveNode();
    return kExitOk;
}

int deleteNote(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 2, 2);
    cNode node;
    ToolArguments::open(node, args[0]);
    if (node.FindFirstParent(args[1])) refuse("The note " + args[1] + " has children; delete them first");
    findOrRefuse(node, args[1]);
    node.DeleteNode();
    return kExitOk;
}

int listRecords(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 1);
    cNode node;
    ToolArguments::open(node, args[0]);
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        std::cout << node.Key() << '\t' << node.Parent() << '\t' << (node.Deleted() ? 1 : 0) << '\t' << node.NodeText()
                  << '\t' << node.RTFData().size() << '\t' << node.LinkCount() << '\n';
    }
    return kExitOk;
}

int showTree(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 1);
    cNode node;
    ToolArguments::open(node, args[0]);
    Tree tree;
    loadTree(node, tree);
    // Each note hangs under the first note shown with its parent's key, in
    // the order of visiting; siblings then sort stably by label, ignoring case.
    const std::size_t root = tree.notes.size();
    std::vector<std::vector<std::size_t>> children(tree.notes.size() + 1);
    for (std::size_t i = 0; i < tree.notes.size(); ++i) {
        children[tree.shownAs(tree.notes[i].parent, root)].push_back(i);
    }
    std::vector<std::string> folded(tree.notes.size());
    for (std::size_t i = 0; i < tree.notes.size(); ++i) folded[i] = CodePage1252::foldCase(tree.notes[i].text);
    for (auto& list : children)
        std::stable_sort(list.begin(), list.end(), [&](std::size_t a, std::size_t b) { return folded[a] < folded[b]; });

    std::string out = rootLabel(args[0]) + "\t" + NodeKey::kRoot + "\n";
    struct Level {
        std::size_t note, next;
    };
    std::vector<Level> stack{{root, 0}};
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == children[level.note].size()) {
            stack.pop_back();
            continue;
        }
        const std::size_t child = children[level.note][level.next++];
        out.append(2 * stack.size(), ' ');
        out += tree.notes[child].text;
        out += '\t';
        out += tree.notes[child].key;
        out += '\n';
        stack.push_back({child, 0});
    }
    std::cout << out;
    return kExitOk;
}

int catBody(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 2, 2);
    cNode node;
    ToolArguments::open(node, args[0]);
    findOrRefuse(node, args[1]);
    const std::string& body = node.RTFData();
    std::cout.write(body.data(), static_cast<std::streamsize>(body.size()));
    return kExitOk;
}

int checkDatabase(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 1);
    const DatabaseCheck::Report r = DatabaseCheck::Run(args[0]);
    char state[8];
    if (r.state >= 0x21 && r.state < 0x7F)
        std::snprintf(state, sizeof state, "%c", r.state);
    else
        std::snprintf(state, sizeof state, "0x%02X", r.state);
    std::cout << "state=" << state << "\n";
    std::cout << "blocks=" << r.blocks << " chunks=" << r.chunks << " free=" << r.free << " lost=" << r.lost << "\n";
    for (const std::string& p : r.problems) std::cout << p << "\n";
    return r.problems.empty() ? kExitOk : kExitDamage;
}

}  // namespace tamix::tool
