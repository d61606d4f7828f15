#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace tamix {

class CommandTable;

// The actions of every command in the table and the menu bar built from
// them. Each command has one QAction (a menu's is its QMenu's action, so
// disabling it greys the whole menu); a command that is both an item and a
// toolbar button shares the action with its button. Triggering an action
// runs the command through the table.
class MainMenus {
public:
    // Builds the actions (children of `owner`) and fills `bar`.
    MainMenus(const CommandTable& table, QMenuBar& bar, QObject* owner);

    // The action of that command name; never null for a declared name (an
    // unknown name is a programming error and aborts with a message).
    QAction* action(const QString& name) const;
    // The menu of that name, nullptr for an item.
    QMenu* menu(const QString& name) const { return menus_.value(name); }
    // Every command name, in declaration order.
    const QStringList& names() const { return names_; }

    // The enable pass: every action's enabled state, check mark, and, for
    // items whose text follows the program's state, text and visibility,
    // from the table's rules.
    void refresh() const;

private:
    const CommandTable& table_;
    QHash<QString, QAction*> actions_;  // every command by name
    QHash<QString, QMenu*> menus_;
    QStringList names_;
};

}  // namespace tamix
