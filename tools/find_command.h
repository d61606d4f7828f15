#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// find FILE TEXT [--whole-word] [--match-case] [--under KEY]: every hit a
// whole search in the window visits (TreeSearch), from the root or from
// the note KEY: one line each, the note's key, TAB, the hit's position as
// the editor counts it. TEXT is UTF-8 and may hold any character. Exits 0
// with hits, 1 with none, kExitRefused on bad arguments.
int findText(const std::vector<std::string>& args);

}  // namespace tamix::tool
