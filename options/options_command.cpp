#include "options/options_command.h"

#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "options/frm_options.h"
#include "tree/tree_host.h"

namespace tamix {

void OptionsCommand::Register(CommandTable& commands, AppOptions& options, Settings& settings, DatabaseState& state,
                              UserDialogs& dialogs, TreeHost& host) {
    commands.bind(QStringLiteral("mnuToolsOptions"), [&options, &settings, &state, &dialogs, &host] {
        RunCommand(host, [&] {
            frmOptions form(options, settings, state, dialogs, host);
            dialogs.runModal(form);
        });
    });
}

}  // namespace tamix
