#include "shell/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <cstdio>
#include <cstdlib>

namespace tamix {

MainMenus::MainMenus(QMenuBar& bar) {
    QMenu* file = addMenu(bar, "mnuFile", "&File");
    addItem(*file, "mnuFileNew", "&New", "Ctrl+N");
    addItem(*file, "mnuFileOpen", "&Open", "Ctrl+O");
    addItem(*file, "mnuFileSave", "&Save", "Ctrl+S");
    addItem(*file, "mnuFileClose", "&Close");
    file->addSeparator();
    addItem(*file, "mnuFilePrint", "&Print");
    addItem(*file, "mnuFilePreview", "Print Pre&view");
    file->addSeparator();
    for (int i = 0; i < 4; ++i) {
        recent_[static_cast<std::size_t>(i)] = addItem(*file, QStringLiteral("MRU%1").arg(i + 1), QString());
        recent_[static_cast<std::size_t>(i)]->setVisible(false);
    }
    file->addSeparator();
    addItem(*file, "mnuFileExit", "E&xit");

    QMenu* edit = addMenu(bar, "mnuEdit", "&Edit");
    addItem(*edit, "mnuEditCut", "Cu&t", "Ctrl+X");
    addItem(*edit, "mnuEditCopy", "&Copy", "Ctrl+C");
    addItem(*edit, "mnuEditPaste", "&Paste", "Ctrl+V");
    addItem(*edit, "mnuEditPasteText", "Paste &Text Only");
    edit->addSeparator();
    addItem(*edit, "mnuHyperLink", "H&yperlink");
    edit->addSeparator();
    QMenu* dateTime = addSubmenu(*edit, "mnuEditInsertDateTime", "Insert Date / Time");
    addItem(*dateTime, "mnuInsertDate", "Date");
    addItem(*dateTime, "mnuInsertTime", "Time");
    addItem(*dateTime, "mnuInsertDateTime", "Date and Time");
    edit->addSeparator();
    addItem(*edit, "mnuEditFind", "&Find", "Ctrl+F");

    QMenu* note = addMenu(bar, "mnuNote", "&Note");
    addItem(*note, "mnuNoteEdit", "&Edit Name");
    addItem(*note, "mnuNoteInsert", "&Insert Note", "Shift+Ins");
    addItem(*note, "mnuNoteDelete", "&Delete Note", "Shift+Del");
    note->addSeparator();
    addItem(*note, "mnuNoteExpand", "E&xpand");
    addItem(*note, "mnuNoteCollapse", "&Collapse");

    QMenu* format = addMenu(bar, "mnuFormat", "F&ormat");
    addItem(*format, "mnuFormatFont", "&Font ...");
    addItem(*format, "mnuFormatColour", "&Colour ...");
    addItem(*format, "mnuFormatParagraph", "&Paragraph ...");
    addItem(*format, "mnuFormatBullet", "&Bullet ...");
    format->addSeparator();
    addItem(*format, "mnuDefont", "&De-Font");

    QMenu* tools = addMenu(bar, "mnuTools", "&Tools");
    QMenu* exportMenu = addSubmenu(*tools, "mnuToolsExport", "&Export");
    addItem(*exportMenu, "mnuToolsExportNote", "Current &Note");
    addItem(*exportMenu, "mnuToolsExportTree", "Current &Tree");
    QMenu* importMenu = addSubmenu(*tools, "mnuToolsImport", "&Import");
    addItem(*importMenu, "mnuToolsImportDoc", "&Document");
    addItem(*importMenu, "mnuToolsImportTree", "Tamix &Tree");
    addItem(*tools, "mnuToolsLinks", "Detect &Links");
    tools->addSeparator();
    addItem(*tools, "mnuToolsOptions", "&Options ...");

    QMenu* view = addMenu(bar, "mnuView", "&View");
    addItem(*view, "mnuViewToolbars", "&Toolbars")->setCheckable(true);
    addItem(*view, "mnuViewStatusBar", "&Status Bar")->setCheckable(true);
    view->addSeparator();
    addItem(*view, "mnuViewAlwaysOnTop", "&Always on Top")->setCheckable(true);

    QMenu* help = addMenu(bar, "mnuHelp", "&Help");
    addItem(*help, "mnuHelpContents", "&Contents", "F1");
    help->addSeparator();
    addItem(*help, "mnuHelpAbout", "&About");

    for (const QString& name : names_)
        if (!implemented(name)) actions_.value(name)->setEnabled(false);
}

bool MainMenus::implemented(const QString& name) {
    static const QSet<QString> later = {
        "mnuFilePrint", "mnuFilePreview", "mnuEditCut", "mnuEditCopy", "mnuEditPaste",
        "mnuEditPasteText", "mnuHyperLink", "mnuInsertDate", "mnuInsertTime", "mnuInsertDateTime",
        "mnuEditFind", "mnuFormatFont", "mnuFormatColour", "mnuFormatParagraph",
        "mnuFormatBullet", "mnuDefont", "mnuToolsExportNote", "mnuToolsExportTree",
        "mnuToolsImportDoc", "mnuToolsImportTree", "mnuToolsLinks", "mnuToolsOptions"};
    return !later.contains(name);
}

QString MainMenus::recentCaption(int number, const QString& path) {
    QString shown = path;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 ").arg(number) + shown;
}

QAction* MainMenus::action(const QString& name) const {
    QAction* a = actions_.value(name);
    if (!a) {
        std::fprintf(stderr, "no menu item named %s\n", qPrintable(name));
        std::abort();
    }
    return a;
}

QMenu* MainMenus::menu(const QString& name) const { return menus_.value(name); }

QMenu* MainMenus::registerMenu(QMenu* m, const QString& name) {
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    menus_.insert(name, m);
    actions_.insert(name, m->menuAction());
    names_ << name;
    return m;
}

QMenu* MainMenus::addMenu(QMenuBar& bar, const QString& name, const QString& caption) {
    return registerMenu(bar.addMenu(caption), name);
}

QMenu* MainMenus::addSubmenu(QMenu& parent, const QString& name, const QString& caption) {
    return registerMenu(parent.addMenu(caption), name);
}

QAction* MainMenus::addItem(QMenu& menu, const QString& name, const QString& caption,
                            const QString& shortcut) {
    QAction* a = menu.addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(QKeySequence(shortcut));
    actions_.insert(name, a);
    names_ << name;
    return a;
}

}  // namespace tamix
