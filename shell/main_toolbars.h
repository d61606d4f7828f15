#pragma once

#include <QHash>
#include <QIcon>
#include <QString>
#include <QStringList>

class QAction;
class QComboBox;
class QToolBar;
class QWidget;

namespace tamix {

class CommandTable;
class MainMenus;

// The main window's two toolbars. Toolbar1 holds the file, note, find,
// clipboard, always-on-top and help buttons; Toolbar2 the formatting buttons
// and the font and size boxes. Buttons are reached by key ("new", "bold").
// Icons come from the desktop's icon theme, with drawn fallbacks when the
// theme has none.
class MainToolbars {
public:
    // The two toolbars, empty but for the font and size boxes.
    explicit MainToolbars(QWidget* parent);
    // Adds both toolbars' buttons in layout order: each button is its
    // command's own action (from `menus`), given its tool tip and icon; the
    // button widget is named by the key.
    void addButtons(const CommandTable& table, const MainMenus& menus);

    QToolBar* toolbar1() const { return toolbar1_; }
    QToolBar* toolbar2() const { return toolbar2_; }
    // The button with that key on either toolbar, or nullptr.
    QAction* button(const QString& key) const { return buttons_.value(key); }
    QComboBox* fontBox() const { return fontBox_; }
    QComboBox* sizeBox() const { return sizeBox_; }
    // Keys in toolbar order.
    const QStringList& keys1() const { return keys1_; }
    const QStringList& keys2() const { return keys2_; }

    // Fills the font box with the screen fonts and the size box with the
    // fixed sizes.
    void fillFontBoxes();

    // The theme icon `themeName` (or its symbolic variant), else the drawn
    // fallback for the key.
    static QIcon icon(const QString& key, const QString& themeName);
    // The drawn fallback icon for a key (never null).
    static QIcon fallbackIcon(const QString& key);

private:
    // Adds toolbar `number`'s buttons to `bar` in layout order.
    void addButtons(const CommandTable& table, const MainMenus& menus, int number, QToolBar* bar,
                    QStringList& keys);

    QToolBar* toolbar1_;
    QToolBar* toolbar2_;
    QComboBox* fontBox_;
    QComboBox* sizeBox_;
    QHash<QString, QAction*> buttons_;
    QStringList keys1_;
    QStringList keys2_;
};

}  // namespace tamix
