// The program's entry point: the single-instance check, then either handing
// the command line to the running instance or starting the main window.

#include "controls/font_substitutes.h"
#include "shell/app_icon.h"
#include "storage/code_page_1252.h"
#include "shell/file_association.h"
#include "shell/frm_main.h"
#include "shell/instance_channel.h"
#include "shell/instance_lock.h"
#include "shell/pending_commands.h"
#include "tree/tree_manager.h"
#include "dialogs/qt_user_dialogs.h"
#include "dialogs/settings.h"
#include "storage/tamix_error.h"

#include <QApplication>
#include <QDir>
#include <QSplashScreen>
#include <QStringList>

namespace {

constexpr const char* kMutexName = "TAMIX_APPLICATION_MUTEX";
constexpr const char* kSocketName = "TAMIX_APPLICATION";

// The whole argument tail as one path: there are no options, and the words
// a shell split are joined again with single spaces.
QString commandLineText(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
    return words.join(QLatin1Char(' '));
}

// Hands the command line to the running instance: an absolute path (the
// running window has another current folder), in code page 1252, or in
// UTF-8 marked as such when the code page cannot hold it.
int runSecondInstance(int argc, char** argv, const QString& socketPath, const QString& commandLine) {
    QCoreApplication app(argc, argv);
    const QString path = tamix::TreeManager::AbsolutePath(commandLine);
    QByteArray bytes;
    quint32 encoding = tamix::CommandMessage::kCodePageText;
    try {
        bytes = QByteArray::fromStdString(tamix::CodePage1252::fromUtf8(path.toStdString()));
    } catch (const tamix::TamixError&) {
        bytes = path.toUtf8();
        encoding = tamix::CommandMessage::kUtf8Text;
    }
    tamix::SendCommandLine(socketPath, bytes, 5000, encoding);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const QString commandLine = commandLineText(argc, argv);
    tamix::InstanceLock lock;
    const QString socketPath = QDir(lock.runtimeDir()).filePath(QLatin1String(kSocketName));
    if (!lock.IsFirstInstance(QLatin1String(kMutexName)))
        return runSecondInstance(argc, argv, socketPath, commandLine);

    QApplication app(argc, argv);
    tamix::controls::FontSubstitutes().install();
    QCoreApplication::setApplicationName(QStringLiteral("Tamix"));
    QCoreApplication::setApplicationVersion(QStringLiteral("0.1"));
    QApplication::setWindowIcon(tamix::AppIcon::icon());
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        if (QDir(QStringLiteral("/usr/share/icons/Adwaita")).exists())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
    }

    tamix::FileAssociation().Write(QCoreApplication::applicationFilePath());

    QSplashScreen splash(tamix::AppIcon::splash());
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    tamix::Settings settings;
    tamix::QtUserDialogs dialogs(QStringLiteral("Tamix"), tamix::AppIcon::icon());
    tamix::frmMain window(dialogs, settings);
    dialogs.setParentWindow(&window);
    window.setWindowIcon(tamix::AppIcon::icon());
    // A second start's command waits until no question is open and no
    // command is running, then runs in arrival order.
    tamix::PendingCommands commands(&window);
    commands.setReady([&] { return window.ReadyForCommand(); });
    tamix::InstanceServer server(socketPath, commands);
    server.listen();
    const QString kStartup = QStringLiteral("Startup");
    dialogs.setHelpSize(QSize(settings.getInt32(kStartup, QStringLiteral("HelpWidth"), 0),
                              settings.getInt32(kStartup, QStringLiteral("HelpHeight"), 0)));
    QObject::connect(&window, &tamix::frmMain::Unloaded, &app, [&] {
        if (dialogs.helpWindow()) {
            settings.setInt(kStartup, QStringLiteral("HelpWidth"), dialogs.helpSize().width());
            settings.setInt(kStartup, QStringLiteral("HelpHeight"), dialogs.helpSize().height());
            settings.sync();
        }
        QApplication::quit();
    }, Qt::QueuedConnection);
    window.Load(commandLine);
    window.show();
    splash.finish(&window);
    return app.exec();
}
