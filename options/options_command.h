#pragma once

namespace tamix {

class CommandTable;
class Settings;
class TreeHost;
class UserDialogs;
struct AppOptions;
struct DatabaseState;

// Tools > Options: shows the options dialog modally (the window's
// always-on-top state dropped meanwhile, as around every dialog).
class OptionsCommand {
public:
    // Binds "mnuToolsOptions"; the references outlive the table.
    static void Register(CommandTable& commands, AppOptions& options, Settings& settings, DatabaseState& state,
                         UserDialogs& dialogs, TreeHost& host);
};

}  // namespace tamix
