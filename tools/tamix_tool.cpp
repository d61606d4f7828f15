#include "tools/storage_commands.h"
#ifdef TAMIX_WITH_RTF
#include "tools/rtf_commands.h"
#endif
#ifdef TAMIX_WITH_LINKS
#include "tools/link_commands.h"
#endif
#ifdef TAMIX_WITH_TRANSFER
#include "tools/transfer_commands.h"
#endif
#ifdef TAMIX_WITH_PRINT
#include "tools/pdf_commands.h"
#endif
#ifdef TAMIX_WITH_FIND
#include "tools/find_command.h"
#endif
#include "storage/tamix_error.h"
#include "tools/tool_command.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using tamix::tool::Command;

// Every subcommand, one line each.
const Command kCommands[] = {
    {"new", "FILE", tamix::tool::newDatabase},
    {"add", "FILE PARENT-KEY NAME [BODY-FILE]", tamix::tool::addNote},
    {"rename", "FILE KEY NAME", tamix::tool::renameNote},
    {"move", "FILE KEY NEW-PARENT-KEY", tamix::tool::moveNote},
    {"body", "FILE KEY BODY-FILE|-", tamix::tool::setBody},
    {"delete", "FILE KEY", tamix::tool::deleteNote},
    {"records", "FILE", tamix::tool::listRecords},
    {"tree", "FILE", tamix::tool::showTree},
    {"cat", "FILE KEY", tamix::tool::catBody},
    {"check", "FILE", tamix::tool::checkDatabase},
#ifdef TAMIX_WITH_RTF
    {"rtf2text", "FILE", tamix::tool::rtfToText},
    {"rtf-normalize", "FILE", tamix::tool::rtfNormalize},
#endif
#ifdef TAMIX_WITH_LINKS
    {"links", "FILE [KEY]", tamix::tool::listLinks},
    {"links-set", "FILE KEY ENTRIES (start|end|text|target;...)", tamix::tool::setLinks},
    {"linkcheck", "FILE", tamix::tool::checkLinks},
#endif
#ifdef TAMIX_WITH_TRANSFER
    {"export-note", "FILE KEY OUT", tamix::tool::exportNote},
    {"export-tree", "FILE KEY OUT [--as-root]", tamix::tool::exportTree},
    {"import-tree", "FILE KEY OTHER", tamix::tool::importTree},
    {"import-doc", "FILE KEY DOC", tamix::tool::importDocument},
#endif
#ifdef TAMIX_WITH_PRINT
    {"print", "FILE KEY OUT.pdf [--page-size A4|Letter]", tamix::tool::printNote},
#endif
#ifdef TAMIX_WITH_FIND
    {"find", "FILE TEXT [--whole-word] [--match-case] [--under KEY]", tamix::tool::findText},
#endif
};

void printUsage(std::ostream& out) {
    out << "usage: tamix-tool COMMAND ARGS...\ncommands:\n";
    for (const Command& c : kCommands) out << "  " << c.name << " " << c.arguments << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? tamix::tool::kExitRefused : tamix::tool::kExitOk;
    }
    for (const Command& c : kCommands) {
        if (args[0] != c.name) continue;
        try {
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
        } catch (const tamix::tool::UsageError& e) {
            std::cerr << "tamix-tool " << c.name << ": " << e.what() << "\nusage: tamix-tool " << c.name << " "
                      << c.arguments << "\n";
        } catch (const tamix::TamixError& e) {
            std::cerr << "tamix-tool " << c.name << ": " << e.what() << "\n";
        } catch (const std::exception& e) {
            std::cerr << "tamix-tool " << c.name << ": " << e.what() << "\n";
        }
        return tamix::tool::kExitRefused;
    }
    std::cerr << "tamix-tool: unknown command '" << args[0] << "'\n";
    printUsage(std::cerr);
    return tamix::tool::kExitRefused;
}
