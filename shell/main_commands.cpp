#include "shell/main_commands.h"

#include "dialogs/command_table.h"
#include "tree/database_state.h"

namespace tamix {

namespace {

// A toolbar button's bar (1 or 2), key, tool tip and theme icon.
struct Button {
    int bar = 0;
    const char* key = "";
    const char* tip = "";
    const char* icon = "";
};

// Declares in order, tracking the menu the items go into and whether a
// separator comes before the next one.
class Declarer {
public:
    explicit Declarer(CommandTable& table) : table_(table) {}

    void menu(const char* name, const char* caption) {
        Command c;
        c.name = QLatin1String(name);
        c.caption = QLatin1String(caption);
        c.isMenu = true;
        table_.declare(std::move(c));
        menu_ = QLatin1String(name);
        outer_.clear();
        separator_ = false;
    }
    // A submenu of the current menu; items go into it until endSubmenu().
    void submenu(const char* name, const char* caption) {
        Command c = base(name, caption);
        c.isMenu = true;
        table_.declare(std::move(c));
        outer_ = menu_;
        menu_ = QLatin1String(name);
    }
    void endSubmenu() {
        menu_ = outer_;
        outer_.clear();
    }
    void item(const char* name, const char* caption, const char* shortcut = "", Button b = {}) {
        Command c = base(name, caption);
        c.shortcut = QLatin1String(shortcut);
        button(c, b);
        table_.declare(std::move(c));
    }
    void checkItem(const char* name, const char* caption) {
        Command c = base(name, caption);
        c.checkable = true;
        table_.declare(std::move(c));
    }
    void separator() { separator_ = true; }
    // A toolbar button that is no menu item; a checkable one shows pressed
    // while its command's checked rule holds.
    void buttonOnly(const char* name, Button b, bool checkable = false) {
        Command c;
        c.name = QLatin1String(name);
        c.checkable = checkable;
        button(c, b);
        table_.declare(std::move(c));
    }

private:
    static void button(Command& c, const Button& b) {
        c.toolbar = b.bar;
        c.key = QLatin1String(b.key);
        c.tip = QLatin1String(b.tip);
        c.icon = QLatin1String(b.icon);
    }
    Command base(const char* name, const char* caption) {
        Command c;
        c.name = QLatin1String(name);
        c.parent = menu_;
        c.caption = QLatin1String(caption);
        c.separatorBefore = separator_;
        separator_ = false;
        return c;
    }

    CommandTable& table_;
    QString menu_;   // the menu items go into
    QString outer_;  // the menu around the open submenu, "" when none is open
    bool separator_ = false;
};

}  // namespace

void MainCommands::Declare(CommandTable& table, int recentFileCount) {
    Declarer d(table);
    d.menu("mnuFile", "&File");
    d.item("mnuFileNew", "&New", "Ctrl+N", {1, "new", "New", "document-new"});
    d.item("mnuFileOpen", "&Open", "Ctrl+O", {1, "open", "Open", "document-open"});
    d.item("mnuFileSave", "&Save", "Ctrl+S", {1, "save", "Save", "document-save"});
    d.item("mnuFileClose", "&Close");
    d.separator();
    d.item("mnuFilePrint", "&Print", "", {1, "print", "Print Document", "document-print"});
    d.item("mnuFilePreview", "Print Pre&view", "", {1, "preview", "Print Preview",
                     "document-print-preview"});
    d.separator();
    for (int i = 1; i <= recentFileCount; ++i) d.item(qPrintable(DatabaseState::RecentName(i)), "");
    d.separator();
    d.item("mnuFileExit", "E&xit");

    d.menu("mnuEdit", "&Edit");
    d.item("mnuEditCut", "Cu&t", "Ctrl+X", {1, "cut", "Cut", "edit-cut"});
    d.item("mnuEditCopy", "&Copy", "Ctrl+C", {1, "copy", "Copy", "edit-copy"});
    d.item("mnuEditPaste", "&Paste", "Ctrl+V", {1, "paste", "Paste", "edit-paste"});
    d.item("mnuEditPasteText", "Paste &Text Only");
    d.separator();
    d.item("mnuHyperLink", "H&yperlink");
    d.separator();
    d.submenu("mnuEditInsertDateTime", "Insert Date / Time");
    d.item("mnuInsertDate", "Date");
    d.item("mnuInsertTime", "Time");
    d.item("mnuInsertDateTime", "Date and Time");
    d.endSubmenu();
    d.separator();
    d.item("mnuEditFind", "&Find", "Ctrl+F", {1, "find", "Find", "edit-find"});

    d.menu("mnuNote", "&Note");
    d.item("mnuNoteEdit", "&Edit Name");
    d.item("mnuNoteInsert", "&Insert Note", "Shift+Ins", {1, "insert", "Insert Note",
                     "list-add"});
    d.item("mnuNoteDelete", "&Delete Note", "Shift+Del", {1, "delete", "Delete Note",
                     "list-remove"});
    d.separator();
    d.item("mnuNoteExpand", "E&xpand");
    d.item("mnuNoteCollapse", "&Collapse");

    d.menu("mnuFormat", "F&ormat");
    d.item("mnuFormatFont", "&Font ...", "", {2, "font", "Font", "font-select"});
    d.item("mnuFormatColour", "&Colour ...", "", {2, "colour", "Font Colour", "color-select"});
    d.item("mnuFormatParagraph", "&Paragraph ...");
    d.item("mnuFormatBullet", "&Bullet ...");
    d.separator();
    d.item("mnuDefont", "&De-Font", "", {2, "default", "Default Font", "edit-clear"});

    d.menu("mnuTools", "&Tools");
    d.submenu("mnuToolsExport", "&Export");
    d.item("mnuToolsExportNote", "Current &Note");
    d.item("mnuToolsExportTree", "Current &Tree");
    d.endSubmenu();
    d.submenu("mnuToolsImport", "&Import");
    d.item("mnuToolsImportDoc", "&Document");
    d.item("mnuToolsImportTree", "Tamix &Tree");
    d.endSubmenu();
    d.item("mnuToolsLinks", "Detect &Links");
    d.separator();
    d.item("mnuToolsOptions", "&Options ...");

    d.menu("mnuView", "&View");
    d.checkItem("mnuViewToolbars", "&Toolbars");
    d.checkItem("mnuViewStatusBar", "&Status Bar");
    d.separator();
    d.checkItem("mnuViewAlwaysOnTop", "&Always on Top");

    d.menu("mnuHelp", "&Help");
    d.item("mnuHelpContents", "&Contents", "F1", {1, "help", "Help", "help-contents"});
    d.separator();
    d.item("mnuHelpAbout", "&About");

    d.buttonOnly("AlwaysOnTopOn", {1, "top", "Stay On Top", "go-top"});
    d.buttonOnly("AlwaysOnTopOff", {1, "notop", "Don't Stay on Top", "go-bottom"});
    d.buttonOnly("FormatBold", {2, "bold", "Bold", "format-text-bold"}, true);
    d.buttonOnly("FormatItalic", {2, "italics", "Italics", "format-text-italic"}, true);
    d.buttonOnly("FormatStrike", {2, "strike", "Strikethrough", "format-text-strikethrough"}, true);
    d.buttonOnly("FormatUnderline", {2, "underline", "Underline", "format-text-underline"}, true);
    d.buttonOnly("FormatLeft", {2, "left", "Left Align", "format-justify-left"}, true);
    d.buttonOnly("FormatCenter", {2, "center", "Center Align", "format-justify-center"}, true);
    d.buttonOnly("FormatRight", {2, "right", "Right Align", "format-justify-right"}, true);
    d.buttonOnly("FormatBullet", {2, "bullet", "Bullet", "format-list-unordered"}, true);
}

QStringList MainCommands::ToolbarLayout(int bar) {
    if (bar == 1)
        return {"new", "open", "save", "", "print", "preview", "", "insert", "delete", "find", "",
                "cut", "copy", "paste", "", "top", "notop", "help"};
    return {"bold", "italics", "strike", "underline", "", "font", "colour", "", "left", "center",
            "right", "bullet", "default"};
}

}  // namespace tamix
