#include "tools/tool_arguments.h"

#include "storage/c_node.h"
#include "storage/tamix_error.h"
#include "tools/tool_command.h"

#include <filesystem>

namespace tamix::tool {

void ToolArguments::expect(const std::vector<std::string>& args, std::size_t least, std::size_t most) {
    if (args.size() < least || args.size() > most)
        throw UsageError("expected " + (least == most ? std::to_string(least) :
                                        std::to_string(least) + " to " + std::to_string(most)) +
                         " arguments, got " + std::to_string(args.size()));
}

void ToolArguments::open(cNode& node, const std::string& file) {
    if (!std::filesystem::exists(file)) throw TamixError(kErrFileNotFound, "There is no database " + file);
    node.OpenFile(file);
}

}  // namespace tamix::tool
