#pragma once

#include <QHash>
#include <QString>
#include <array>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace tamix {

// The main window's menus, built once with their names, captions and
// shortcuts. Menus and items are reached by name ("mnuFileOpen", "MRU2");
// a menu's name reaches its QMenu's action, so enabling it greys the whole
// menu.
class MainMenus {
public:
    // Builds every menu into `bar`; items start disabled only where a later
    // command provides them (see implemented()).
    explicit MainMenus(QMenuBar& bar);

    // The item or menu action of that name; never null for a known name
    // (an unknown name is a programming error and aborts with a message).
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    // The four recent-file items, MRU1 first.
    const std::array<QAction*, 4>& recentItems() const { return recent_; }
    // Every item name, in menu order.
    const QStringList& names() const { return names_; }

    // True for items whose command this program runs today; the others are
    // shown but stay disabled.
    static bool implemented(const QString& name);

    // The caption of a recent-file item: "&n " + path (ampersands of the
    // path doubled so they show as written).
    static QString recentCaption(int number, const QString& path);

private:
    QMenu* addMenu(QMenuBar& bar, const QString& name, const QString& caption);
    QMenu* addSubmenu(QMenu& parent, const QString& name, const QString& caption);
    // Names a new menu and enters it, and its menu action, under `name`.
    QMenu* registerMenu(QMenu* menu, const QString& name);
    QAction* addItem(QMenu& menu, const QString& name, const QString& caption,
                     const QString& shortcut = QString());

    QHash<QString, QAction*> actions_;  // every item and menu by name
    QHash<QString, QMenu*> menus_;
    QStringList names_;
    std::array<QAction*, 4> recent_{};
};

}  // namespace tamix
