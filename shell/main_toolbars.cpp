#include "shell/main_toolbars.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QToolBar>

namespace tamix {

namespace {

struct IconEntry {
    const char* key;
    const char* themeName;
    const char* glyph;   // the fallback's text
    QRgb colour;         // the fallback's colour
};

constexpr IconEntry kIcons[] = {
    {"new", "document-new", "+", 0x2e7d32},        {"open", "document-open", "O", 0x8d6e00},
    {"save", "document-save", "S", 0x1565c0},      {"print", "document-print", "P", 0x455a64},
    {"preview", "document-print-preview", "V", 0x455a64},
    {"insert", "list-add", "+", 0x6a1b9a},         {"delete", "list-remove", "-", 0xc62828},
    {"find", "edit-find", "F", 0x00695c},          {"cut", "edit-cut", "X", 0x5d4037},
    {"copy", "edit-copy", "C", 0x5d4037},          {"paste", "edit-paste", "V", 0x5d4037},
    {"top", "go-top", "T", 0xef6c00},              {"notop", "go-bottom", "t", 0xef6c00},
    {"help", "help-contents", "?", 0x1565c0},      {"bold", "format-text-bold", "B", 0x212121},
    {"italics", "format-text-italic", "I", 0x212121},
    {"strike", "format-text-strikethrough", "S", 0x212121},
    {"underline", "format-text-underline", "U", 0x212121},
    {"font", "font-select", "A", 0x212121},        {"colour", "color-select", "A", 0xc62828},
    {"left", "format-justify-left", "L", 0x212121}, {"right", "format-justify-right", "R", 0x212121},
    {"center", "format-justify-center", "C", 0x212121},
    {"bullet", "format-list-unordered", "*", 0x212121},
    {"default", "edit-clear", "D", 0x212121},
};

const IconEntry* entryFor(const QString& key) {
    for (const IconEntry& s : kIcons)
        if (key == QLatin1String(s.key)) return &s;
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

    addButtons(toolbar1_, keys1_,
               {{"new", "New"}, {"open", "Open"}, {"save", "Save"}, {},
                {"print", "Print Document"}, {"preview", "Print Preview"}, {},
                {"insert", "Insert Note"}, {"delete", "Delete Note"}, {"find", "Find"}, {},
                {"cut", "Cut"}, {"copy", "Copy"}, {"paste", "Paste"}, {},
                {"top", "Stay On Top"}, {"notop", "Don't Stay on Top"}, {"help", "Help"}});

    fontBox_->setObjectName(QStringLiteral("cmbFont"));
    fontBox_->setMinimumContentsLength(14);
    sizeBox_->setObjectName(QStringLiteral("cmbSize"));
    sizeBox_->setMinimumContentsLength(3);
    toolbar2_->addWidget(fontBox_);
    toolbar2_->addWidget(sizeBox_);
    toolbar2_->addSeparator();
    addButtons(toolbar2_, keys2_,
               {{"bold", "Bold"}, {"italics", "Italics"}, {"strike", "Strikethrough"},
                {"underline", "Underline"}, {},
                {"font", "Font"}, {"colour", "Font Colour"}, {},
                {"left", "Left Align"}, {"center", "Center Align"}, {"right", "Right Align"},
                {"bullet", "Bullet"}, {"default", "Default Font"}});
    fontBox_->setEnabled(false);
    sizeBox_->setEnabled(false);

    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
        if (!implemented(it.key())) it.value()->setEnabled(false);
}

bool MainToolbars::implemented(const QString& key) {
    static const QSet<QString> now = {"new", "open", "save", "insert", "delete", "top", "notop", "help"};
    return now.contains(key);
}

QAction* MainToolbars::addButton(QToolBar* bar, QStringList& keys, const QString& key,
                                 const QString& tip) {
    QAction* a = bar->addAction(icon(key), tip);
    a->setObjectName(key);
    a->setToolTip(tip);
    a->setData(key);
    buttons_.insert(key, a);
    keys << key;
    return a;
}

void MainToolbars::addButtons(QToolBar* bar, QStringList& keys, std::initializer_list<Button> buttons) {
    for (const Button& b : buttons) {
        if (b.key)
            addButton(bar, keys, QString::fromLatin1(b.key), QString::fromLatin1(b.tip));
        else
            bar->addSeparator();
    }
}

void MainToolbars::fillFontBoxes() {
    fontBox_->clear();
    fontBox_->addItems(QFontDatabase::families());
    sizeBox_->clear();
    for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26",
                             "28", "36", "48", "72"})
        sizeBox_->addItem(QLatin1String(size));
}

QIcon MainToolbars::icon(const QString& key) {
    const IconEntry* entry = entryFor(key);
    if (entry) {
        const QString name = QLatin1String(entry->themeName);
        QIcon themed = QIcon::fromTheme(name);
        if (themed.isNull()) themed = QIcon::fromTheme(name + QStringLiteral("-symbolic"));
        if (!themed.isNull()) return themed;
    }
    return fallbackIcon(key);
}

QIcon MainToolbars::fallbackIcon(const QString& key) {
    const IconEntry* entry = entryFor(key);
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
