// Takes the user guide's pictures of the main window's areas: the program's
// own window (the same frmMain, command table, features and dialogs as
// `tamix`), opened on a database with a note shown, grabbed area by area
// (toolbars, tree, editor, status bar), and each menu of the menu bar opened
// in turn. Run by
// make_screenshots.sh under xvfb-run, with a throw-away home folder.
// usage: help_screenshots DATABASE OUTPUT-FOLDER [KEY]  (KEY: the note shown,
// default the first top-level note)

#include "controls/font_substitutes.h"
#include "controls/node.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/qt_user_dialogs.h"
#include "dialogs/settings.h"
#include "shell/app_icon.h"
#include "shell/frm_main.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <cstdio>

namespace {

// Lets the window system draw what was just shown.
void settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QTimer t;
        t.setSingleShot(true);
        QEventLoop loop;
        QObject::connect(&t, &QTimer::timeout, &loop, &QEventLoop::quit);
        t.start(25);
        loop.exec();
    }
}

bool save(const QPixmap& picture, const QDir& out, const QString& name) {
    const bool ok = !picture.isNull() && picture.save(out.filePath(name + QStringLiteral(".png")));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(out.filePath(name + QStringLiteral(".png"))));
    return ok;
}

// A widget's rectangle in the window's coordinates.
QRect inWindow(const QWidget& window, const QWidget& w) {
    return QRect(w.mapTo(&window, QPoint(0, 0)), w.size());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: help_screenshots DATABASE OUTPUT-FOLDER [KEY]\n");
        return 2;
    }
    tamix::controls::FontSubstitutes().install();
    QCoreApplication::setApplicationName(QStringLiteral("Tamix"));
    QApplication::setWindowIcon(tamix::AppIcon::icon());
    // The same icon theme as the program's.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        if (QDir(QStringLiteral("/usr/share/icons/Adwaita")).exists())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));

    tamix::Settings settings;
    tamix::QtUserDialogs dialogs(QStringLiteral("Tamix"), tamix::AppIcon::icon());
    tamix::frmMain window(dialogs, settings);
    dialogs.setParentWindow(&window);
    window.Load(QString::fromLocal8Bit(argv[1]));
    window.resize(960, 640);
    window.show();
    settle();

    // The note shown, with every note that has children expanded.
    tamix::controls::Nodes& nodes = window.tree().Nodes();
    for (int i = 1; i <= nodes.Count(); ++i)
        if (nodes.Item(i)->Children() > 0) nodes.Item(i)->setExpanded(true);
    tamix::controls::Node* shown = nodes.Item(1)->Child();
    if (argc == 4 && nodes.Find(QString::fromLocal8Bit(argv[3]))) shown = nodes.Find(QString::fromLocal8Bit(argv[3]));
    if (shown) {
        shown->setSelected(true);
        window.tree_NodeClick(shown);
    }
    settle();
    // The note side active, with its first word selected, so the formatting
    // toolbar and the clipboard buttons show as they do while writing.
    window.activateWindow();
    settle();
    window.rtfMain().setFocus(Qt::MouseFocusReason);
    window.rtfMain().setSelStart(0);
    window.rtfMain().setSelLength(7);
    settle();

    bool ok = true;
    const QToolBar& bar1 = window.toolbar1();
    const QToolBar& bar2 = window.toolbar2();
    ok &= save(window.grab(inWindow(window, bar1).united(inWindow(window, bar2))), out,
               QStringLiteral("toolbars"));
    ok &= save(window.tree().grab(), out, QStringLiteral("tree"));
    ok &= save(window.rtfMain().grab(), out, QStringLiteral("editor"));
    // The status bar with the strip of tree and note above it, for context.
    const QRect status = inWindow(window, window.statusBar1());
    ok &= save(window.grab(status.adjusted(0, -60, 0, 0)), out, QStringLiteral("statusbar"));

    // Each menu of the menu bar, named after its command without "mnu".
    for (QAction* a : window.menuBar()->actions()) {
        QMenu* menu = a->menu();
        if (!menu) continue;
        window.menuBar()->setActiveAction(a);
        settle();
        QString name = menu->objectName().toLower();
        if (name.startsWith(QLatin1String("mnu"))) name = name.mid(3);
        ok &= save(menu->grab(), out, QStringLiteral("menu-") + name);
        menu->hide();
        settle();
    }
    window.close();
    return ok ? 0 : 1;
}
