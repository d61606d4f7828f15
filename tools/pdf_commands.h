#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// print FILE KEY OUT.pdf [--page-size A4|Letter]: the body of note KEY
// paginated as the printer does and written as a PDF (A4 unless told).
// Prints the number of pages. Runs on the offscreen platform, so it needs
// no display. A KEY that is not a note of FILE is refused (exit 2).
int printNote(const std::vector<std::string>& args);

}  // namespace tamix::tool
