#pragma once

#include <initializer_list>

#include <QHash>
#include <QIcon>
#include <QString>
#include <QStringList>

class QAction;
class QComboBox;
class QToolBar;
class QWidget;

namespace tamix {

// The main window's two toolbars. Toolbar1 holds the file, note, find,
// clipboard, always-on-top and help buttons; Toolbar2 the formatting buttons
// and the font and size boxes. Buttons are reached by key ("new", "bold").
// Icons come from the desktop's icon theme, with drawn fallbacks when the
// theme has none.
class MainToolbars {
public:
    explicit MainToolbars(QWidget* parent);

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

    // True for buttons whose command this program runs today.
    static bool implemented(const QString& key);
    // The theme icon for a key, or the drawn fallback.
    static QIcon icon(const QString& key);
    // The drawn fallback icon for a key (never null).
    static QIcon fallbackIcon(const QString& key);

private:
    QAction* addButton(QToolBar* bar, QStringList& keys, const QString& key, const QString& tip);
    // A toolbar button by key and tooltip; an empty one stands for a separator.
    struct Button {
        const char* key = nullptr;
        const char* tip = nullptr;
    };
    // Adds `buttons` to `bar` in order.
    void addButtons(QToolBar* bar, QStringList& keys, std::initializer_list<Button> buttons);

    QToolBar* toolbar1_;
    QToolBar* toolbar2_;
    QComboBox* fontBox_;
    QComboBox* sizeBox_;
    QHash<QString, QAction*> buttons_;
    QStringList keys1_;
    QStringList keys2_;
};

}  // namespace tamix
