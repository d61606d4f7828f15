#include "print/print_commands.h"

#include "controls/rich_text_box.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "print/frm_doc_preview.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"

#include <QPrinter>

namespace tamix {

PrintCommands::PrintCommands(CommandTable& commands, const DatabaseState& state, controls::RichTextBox& editor,
                             UserDialogs& dialogs, TreeHost& host)
    : state_(state), editor_(editor), dialogs_(dialogs), host_(host) {
    const auto enabled = [this] { return canPrint(); };
    commands.bind(QStringLiteral("mnuFilePrint"), [this] { RunCommand(host_, [this] { Print(); }); }, enabled);
    commands.bind(QStringLiteral("mnuFilePreview"), [this] { RunCommand(host_, [this] { Preview(); }); }, enabled);
}

PrintCommands::~PrintCommands() = default;

bool PrintCommands::canPrint() const { return state_.DatabaseOpen && editor_.TextLength() > 0; }

QPrinter& PrintCommands::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void PrintCommands::Print() {
    if (editor_.isEnabled()) editor_.setFocus();
    frmDocPreview preview(*editor_.document(), printer(), margins_, printRequested_, dialogs_, editor_.window());
    preview.DocPrintProc();
}

void PrintCommands::Preview() {
    if (editor_.isEnabled()) editor_.setFocus();
    frmDocPreview preview(*editor_.document(), printer(), margins_, printRequested_, dialogs_, editor_.window());
    preview.Load();  // a failure has been told; the window still shows what was built
    dialogs_.runModal(preview);
    if (printRequested_) preview.DocPrintProc();
}

}  // namespace tamix
