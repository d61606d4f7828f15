#include "shell/main_menus.h"

#include "dialogs/command_table.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <cstdio>
#include <cstdlib>

namespace tamix {

MainMenus::MainMenus(const CommandTable& table, QMenuBar& bar, QObject* owner) : table_(table) {
    for (const Command& c : table.commands()) {
        QMenu* parent = menus_.value(c.parent);
        if (parent && c.separatorBefore) parent->addSeparator();
        QAction* a = nullptr;
        if (c.isMenu) {
            QMenu* m = parent ? parent->addMenu(c.caption) : bar.addMenu(c.caption);
            m->setObjectName(c.name);
            menus_.insert(c.name, m);
            a = m->menuAction();
        } else {
            a = new QAction(c.caption, owner);
            if (parent) parent->addAction(a);
            if (!c.shortcut.isEmpty()) a->setShortcut(QKeySequence(c.shortcut));
            a->setCheckable(c.checkable);
            const QString name = c.name;
            QObject::connect(a, &QAction::triggered, owner, [this, name] { table_.run(name); });
        }
        a->setObjectName(c.name);
        actions_.insert(c.name, a);
        names_ << c.name;
    }
    refresh();
}

QAction* MainMenus::action(const QString& name) const {
    QAction* a = actions_.value(name);
    if (!a) {
        std::fprintf(stderr, "no command named %s\n", qPrintable(name));
        std::abort();
    }
    return a;
}

void MainMenus::refresh() const {
    for (const Command& c : table_.commands()) {
        QAction* a = actions_.value(c.name);
        a->setEnabled(CommandTable::isEnabled(c));
        if (c.checked) a->setChecked(c.checked());
        if (c.text) {
            const QString text = c.text();
            a->setText(text);
            a->setVisible(!text.isEmpty());
        }
    }
}

}  // namespace tamix
