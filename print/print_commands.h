#pragma once

#include "print/page_margins.h"

#include <memory>

class QPrinter;

namespace tamix {

class CommandTable;
class TreeHost;
class UserDialogs;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// The Print and Print Preview commands over the note in the editor, with
// the printing state they share for as long as the program runs: the page
// margins, the print-requested flag and the printer (its choice in the
// print dialog is kept from one print to the next).
//
// Both commands are enabled while a database is open and the editor holds
// text. The root's empty body therefore never reaches them.
class PrintCommands {
public:
    // Binds mnuFilePrint and mnuFilePreview in `commands`.
    PrintCommands(CommandTable& commands, const DatabaseState& state, controls::RichTextBox& editor,
                  UserDialogs& dialogs, TreeHost& host);
    ~PrintCommands();
    PrintCommands(const PrintCommands&) = delete;
    PrintCommands& operator=(const PrintCommands&) = delete;

    // Print: gives the editor the focus, then asks for a range and prints it.
    void Print();
    // Preview: gives the editor the focus and shows the preview window
    // modally; when it was closed by its Print button, prints.
    void Preview();

    const PageMargins& margins() const { return margins_; }
    bool printRequested() const { return printRequested_; }
    // Made on first use: building one asks the print system for its printers.
    QPrinter& printer();

private:
    bool canPrint() const;

    const DatabaseState& state_;
    controls::RichTextBox& editor_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    PageMargins margins_;
    bool printRequested_ = false;        // set by the preview's Print button, cleared when it loads
    std::unique_ptr<QPrinter> printer_;  // null until first used
};

}  // namespace tamix
