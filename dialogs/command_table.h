#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace tamix {

// One command of the program: a menu, a menu item, a toolbar button, or an
// item that is also a button. Declared once; the menus, toolbars, context
// menu and the enable pass are all built from these declarations.
struct Command {
    QString name;       // "mnuFileNew"; unique in the table
    QString parent;     // the menu it sits in; "" for a menu on the bar or a button only
    QString caption;    // the menu text ("&New"); "" for a button only
    QString shortcut;   // portable key text ("Ctrl+N"), "" for none
    QString key;        // the toolbar button's key ("new"), "" for none
    QString tip;        // the toolbar button's tool tip
    QString icon;       // the desktop icon theme's name for the button
    int toolbar = 0;    // 1 or 2 for a button, 0 for none
    bool isMenu = false;          // a menu or submenu: no handler of its own
    bool separatorBefore = false; // in its menu, a separator comes before it
    bool checkable = false;

    // What the command does; empty until the feature that runs it registers,
    // and such a command stays visible and disabled.
    std::function<void()> run;
    // When the command may run; empty means whenever it has a handler (for a
    // menu: always).
    std::function<bool()> enabled;
    // The check mark of a checkable command.
    std::function<bool()> checked;
    // For an item whose text follows the program's state (a recent file):
    // the text to show, "" hiding the item.
    std::function<QString()> text;
};

// The program's commands in menu order. Features bind handlers and enable
// rules to the declared names; binding an undeclared name is a programming
// error and aborts with its name, so a typo cannot silently drop a command.
class CommandTable {
public:
    // Adds a command after those declared so far (menu order).
    void declare(Command command);
    // Gives the declared command `name` its handler and, optionally, its
    // enable rule.
    void bind(const QString& name, std::function<void()> run, std::function<bool()> enabled = {});
    void setEnabledRule(const QString& name, std::function<bool()> enabled);
    void setChecked(const QString& name, std::function<bool()> checked);
    void setText(const QString& name, std::function<QString()> text);

    // The command of that name or toolbar key, nullptr when none.
    const Command* find(const QString& name) const;
    const Command* findKey(const QString& key) const;
    const std::vector<Command>& commands() const { return commands_; }

    // True when the command has a handler (or is a menu) and its rule allows it.
    static bool isEnabled(const Command& command);
    // Runs the command when it is enabled; false when it did not run.
    bool run(const QString& name) const;

private:
    Command& at(const QString& name);

    std::vector<Command> commands_;  // names unique, in declaration order
};

}  // namespace tamix
