#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// Subcommands that export and import, running the same copying code as the
// window's Tools > Export and Tools > Import commands. FILE is the database
// worked on; it must exist, and one another program holds open is refused.
// KEY is a note shown in FILE's tree, or "k0000000001" (the root) where the
// window allows the root. Every refusal writes nothing.
//
// export-note FILE KEY OUT: the note's stored body as RTF, or as plain text
// when OUT ends in ".txt"; ".rtf" is appended to a name with neither ending.
int exportNote(const std::vector<std::string>& args);
// export-tree FILE KEY OUT [--as-root]: the note and its subtree as a new
// database (".tm2" appended unless OUT ends so); --as-root leaves the note
// itself out and makes its children the top level.
int exportTree(const std::vector<std::string>& args);
// import-tree FILE KEY OTHER: every note of OTHER below KEY, with fresh keys;
// prints the first and the last new key ("FIRST LAST"), nothing when OTHER
// holds no notes.
int importTree(const std::vector<std::string>& args);
// import-doc FILE KEY DOC: the RTF or plain-text document as a new note
// below KEY, in the default font; prints the new key.
int importDocument(const std::vector<std::string>& args);

}  // namespace tamix::tool
