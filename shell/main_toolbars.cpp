#include "shell/main_toolbars.h"

#include "controls/font_substitutes.h"
#include "dialogs/command_table.h"
#include "shell/main_commands.h"
#include "shell/main_menus.h"

#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

namespace tamix {

namespace {

// The drawn fallback of a button key: its letter and colour.
struct Fallback {
    const char* key;
    const char* glyph;
    QRgb colour;
};

constexpr Fallback kFallbacks[] = {
    {"new", "+", 0x2e7d32},     {"open", "O", 0x8d6e00},      {"save", "S", 0x1565c0},
    {"print", "P", 0x455a64},   {"preview", "V", 0x455a64},   {"insert", "+", 0x6a1b9a},
    {"delete", "-", 0xc62828},  {"find", "F", 0x00695c},      {"cut", "X", 0x5d4037},
    {"copy", "C", 0x5d4037},    {"paste", "V", 0x5d4037},     {"top", "T", 0xef6c00},
    {"notop", "t", 0xef6c00},   {"help", "?", 0x1565c0},      {"bold", "B", 0x212121},
    {"italics", "I", 0x212121}, {"strike", "S", 0x212121},    {"underline", "U", 0x212121},
    {"font", "A", 0x212121},    {"colour", "A", 0xc62828},    {"left", "L", 0x212121},
    {"right", "R", 0x212121},   {"center", "C", 0x212121},    {"bullet", "*", 0x212121},
    {"default", "D", 0x212121},
};

const Fallback* fallbackFor(const QString& key) {
    for (const Fallback& f : kFallbacks)
        if (key == QLatin1String(f.key)) return &f;
    return nullptr;
}

}  // namespace

MainToolbars::MainToolbars(QWidget* parent)
    : toolbar1_(new QToolBar(QStringLiteral("Toolbar1"), parent)),
      toolbar2_(new QToolBar(QStringLiteral("Toolbar2"), parent)),
      fontBox_(new QComboBox(parent)),
      sizeBox_(new QComboBox(parent)) {
    toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
    for (QToolBar* bar : {toolbar1_, toolbar2_}) {
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(20, 20));
    }
    fontBox_->setObjectName(QStringLiteral("cmbFont"));
    fontBox_->setMinimumContentsLength(14);
    sizeBox_->setObjectName(QStringLiteral("cmbSize"));
    sizeBox_->setMinimumContentsLength(3);
    toolbar2_->addWidget(fontBox_);
    toolbar2_->addWidget(sizeBox_);
    toolbar2_->addSeparator();
    fontBox_->setEnabled(false);
    sizeBox_->setEnabled(false);
}

void MainToolbars::addButtons(const CommandTable& table, const MainMenus& menus) {
    addButtons(table, menus, 1, toolbar1_, keys1_);
    addButtons(table, menus, 2, toolbar2_, keys2_);
}

void MainToolbars::addButtons(const CommandTable& table, const MainMenus& menus, int number,
                              QToolBar* bar, QStringList& keys) {
    for (const QString& key : MainCommands::ToolbarLayout(number)) {
        const Command* c = table.findKey(key);
        if (!c) {
            bar->addSeparator();
            continue;
        }
        QAction* a = menus.action(c->name);
        a->setIcon(icon(key, c->icon));
        a->setIconVisibleInMenu(false);
        a->setToolTip(c->tip);
        bar->addAction(a);
        bar->widgetForAction(a)->setObjectName(key);
        buttons_.insert(key, a);
        keys << key;
    }
}

void MainToolbars::fillFontBoxes() {
    fontBox_->clear();
    fontBox_->addItems(controls::FontSubstitutes().boxFamilies());
    sizeBox_->clear();
    for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
                             "28", "36", "48", "72"})
        sizeBox_->addItem(QLatin1String(size));
}

QIcon MainToolbars::icon(const QString& key, const QString& themeName) {
    if (!themeName.isEmpty()) {
        QIcon themed = QIcon::fromTheme(themeName);
        if (themed.isNull()) themed = QIcon::fromTheme(themeName + QStringLiteral("-symbolic"));
        if (!themed.isNull()) return themed;
    }
    return fallbackIcon(key);
}

QIcon MainToolbars::fallbackIcon(const QString& key) {
    const Fallback* entry = fallbackFor(key);
    const QColor colour = entry ? QColor(entry->colour) : QColor(Qt::darkGray);
    const QString glyph = entry ? QLatin1String(entry->glyph) : QStringLiteral("?");
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(colour.lighter(190));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 17, 17), 3, 3);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(13);
    if (key == QLatin1String("italics")) font.setItalic(true);
    if (key == QLatin1String("underline")) font.setUnderline(true);
    if (key == QLatin1String("strike")) font.setStrikeOut(true);
    painter.setFont(font);
    painter.setPen(colour.darker(130));
    painter.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, glyph);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace tamix
