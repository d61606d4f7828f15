#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tamix {
class cNode;
}

namespace tamix::tool {

// What every group of subcommands checks before it works.
class ToolArguments {
public:
    // Throws UsageError unless `args` holds `least` to `most` arguments.
    static void expect(const std::vector<std::string>& args, std::size_t least, std::size_t most);
    // Opens the existing database `file` through the node store, so that an
    // interrupted change is repaired first; TamixError (kErrFileNotFound)
    // when there is no such file, rather than a new one being made.
    static void open(cNode& node, const std::string& file);
};

}  // namespace tamix::tool
