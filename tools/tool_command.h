#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tamix::tool {

// Exit codes of tamix-tool.
constexpr int kExitOk = 0;
constexpr int kExitDamage = 1;    // `check` found damage
constexpr int kExitRefused = 2;   // bad arguments or a refused operation

// One subcommand: its name, its arguments as shown in the usage, and the
// function that runs it with the arguments after the name. A command writes
// its output to std::cout and answers an exit code; it throws UsageError for
// arguments it cannot take and TamixError for an operation it refuses or
// that fails, which the dispatcher reports on std::cerr with kExitRefused.
struct Command {
    const char* name;
    const char* arguments;
    int (*run)(const std::vector<std::string>& args);
};

// Wrong number or form of arguments; the dispatcher adds the command's usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tamix::tool
