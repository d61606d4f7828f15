#pragma once

#include "transfer/transfer_progress.h"

#include <string>
#include <vector>

namespace tamix {

class cNode;

// Copies a subtree of the open database into a new database file, record by
// record, keys and link entries unchanged. What is copied and in which order
// (the shape) is decided by the caller: the window takes it from its tree
// view, the command-line tool from the node store (Shape), and both hand it
// to Write, so the same subtree gives the same file byte for byte.
class TreeExport {
public:
    // One note to copy. A top-level note gets the root key as its parent in
    // the new file; every other note keeps its parent key.
    struct Item {
        std::string key;
        bool topLevel = false;
        bool operator==(const Item&) const = default;
    };

    // The shape of the subtree under `key` as the tree view shows it right
    // after the database is opened: pre-order, each note's children in label
    // order (case-folded, equal labels in the order the tree loader adds
    // them). With asRoot the note itself is left out and its children
    // become the top level; otherwise it is the one top-level note. Refuses
    // the root ("You have selected the root. This operation makes no sense")
    // and a key no shown note has.
    static std::vector<Item> Shape(cNode& node, const std::string& key, bool asRoot);

    // `name` with ".tm2" appended unless its last four characters already
    // are ".tm2" in any letter case.
    static std::string TargetName(const std::string& name);

    // Refuses a target that is the database `openPath` itself, or that
    // another program holds open, before anything is written or deleted.
    static void CheckTarget(const std::string& path, const std::string& openPath);

    // Replaces any file at `path` with a new database holding the items,
    // read from `source` by key, in that order. The records are written
    // under one journal mark of the new file (cNode::BeginBatch): a crash
    // leaves it empty at its next open, never half-written. On an error
    // the new file is removed and the error propagates; the source is only
    // read.
    static void Write(cNode& source, const std::vector<Item>& items, const std::string& path,
                      const TransferProgress& progress = {});
};

}  // namespace tamix
