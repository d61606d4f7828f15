#pragma once

#include "tools/tool_command.h"

#include <string>
#include <vector>

namespace tamix::tool {

// Subcommands that read and write a database through the node store.
int newDatabase(const std::vector<std::string>& args);   // new FILE
int addNote(const std::vector<std::string>& args);       // add FILE PARENT-KEY NAME [BODY-FILE]
int renameNote(const std::vector<std::string>& args);    // rename FILE KEY NAME
int moveNote(const std::vector<std::string>& args);      // move FILE KEY NEW-PARENT-KEY
int setBody(const std::vector<std::string>& args);       // body FILE KEY BODY-FILE|-
int deleteNote(const std::vector<std::string>& args);    // delete FILE KEY
int listRecords(const std::vector<std::string>& args);   // records FILE
int showTree(const std::vector<std::string>& args);      // tree FILE
int catBody(const std::vector<std::string>& args);       // cat FILE KEY
int checkDatabase(const std::vector<std::string>& args); // check FILE

}  // namespace tamix::tool
