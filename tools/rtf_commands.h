#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// Subcommands that check the RTF codec from outside. FILE may be "-" for
// standard input. What the reader skipped goes to std::cerr, one line each.
int rtfToText(const std::vector<std::string>& args);     // rtf2text FILE: plain text, one line per paragraph
int rtfNormalize(const std::vector<std::string>& args);  // rtf-normalize FILE: the file read and written again

}  // namespace tamix::tool
