#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// Subcommands that read, write and check the notes' link tables. A note is a
// record not marked deleted; a KEY that names none is refused.
//
// links FILE [KEY]: one line per link, notes in storage order (only KEY when
// given): key, index (from 1), start, end, text, target, separated by TAB.
int listLinks(const std::vector<std::string>& args);
// links-set FILE KEY ENTRIES: replaces the note's link table. ENTRIES is
// "start|end|text|target" entries joined by ';' (empty: no links), so texts
// cannot hold '|' or ';'. A malformed ENTRIES, more than LinkCheck::kMaxLinks
// entries or a text Windows-1252 cannot hold is refused before the database
// is opened.
int setLinks(const std::vector<std::string>& args);
// linkcheck FILE: checks every note's links against the note's editor text
// (LinkCheck). Prints "notes=N links=M bad=B" (notes with links, their links,
// bad links), then one line per bad link: key, index, what was expected, what
// stands there, separated by TAB. kExitDamage when B > 0.
int checkLinks(const std::vector<std::string>& args);

}  // namespace tamix::tool
