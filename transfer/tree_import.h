#pragma once

#include "transfer/transfer_progress.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tamix {

class cNode;

// Copies every note of another database into the open one, below a chosen
// note: the other database's root takes that note's place, every imported
// note gets a fresh key after MaxKeyNumber, and parent keys and note links
// ("Note:" + key) between imported notes are rewritten to the new keys;
// links to anything else are copied unchanged. Bodies lose their picture
// and object scale words, as when a note is shown.
//
// Notes are visited from the root down, the children of a note from the
// last stored to the first, each subtree whole before the next sibling (the
// order of the tree loader); the first visited gets MaxKeyNumber + 1.
// Records that cannot be reached from the root are not imported, and a key
// reached twice is imported once.
//
// All or nothing: the other file is checked whole before anything is
// written, and the copies go into the open database under one journal mark
// (cNode::BeginBatch). An error during the copy reopens the open database,
// which rolls every copied note back; a crash does the same at the next
// open. The notes already there are never written.
class TreeImport {
public:
    // One imported note, as the tree shows it: new key, new parent key, title.
    struct Note {
        std::string key, parent, text;
    };

    // Imports the database at otherPath into `main` (open on mainPath)
    // below the note `targetKey` (the root "k0000000001" for the top level)
    // and answers the imported notes in the order they were written. Raises
    // maxKeyNumber past the keys given out. Refuses, with nothing written:
    // the open database itself, a missing file, a file another program
    // holds, a damaged or truncated database, more than 2,000 levels of
    // nesting and keys past 2^31 - 1. Leaves main's cursor undefined.
    static std::vector<Note> Run(cNode& main, const std::string& mainPath, const std::string& otherPath,
                                 const std::string& targetKey, std::int32_t& maxKeyNumber,
                                 const TransferProgress& progress = {});
};

}  // namespace tamix
