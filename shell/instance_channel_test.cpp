#include "shell/instance_channel.h"
#include "shell/instance_lock.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"
#include "shell/window_message.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace tamix {
namespace {

TEST(CommandMessage, LayoutIsDwDataThenCountThenBytes) {
    const QByteArray m = CommandMessage::encode("C:\\a b.TM2");
    ASSERT_EQ(m.size(), 8 + 10);
    EXPECT_EQ(m.left(8), QByteArray("\x00\x00\x00\x00\x0a\x00\x00\x00", 8));
    EXPECT_EQ(m.mid(8), QByteArray("C:\\a b.TM2"));
}

TEST(CommandMessage, EmptyCommandLineIsOneZeroByte) {
    EXPECT_EQ(CommandMessage::encode(QByteArray()), QByteArray("\0\0\0\0\x01\0\0\0\0", 9));
}

TEST(CommandMessage, ReassemblesFromPiecesAndIgnoresTrailingBytes) {
    const QByteArray m = CommandMessage::encode("/x/\xe9t\xe9.TM2");
    CommandMessage r;
    for (int i = 0; i < m.size() - 1; ++i) EXPECT_FALSE(r.feed(m.mid(i, 1)));
    EXPECT_TRUE(r.feed(m.right(1) + "junk"));
    EXPECT_EQ(r.data(), QByteArray("/x/\xe9t\xe9.TM2"));
    EXPECT_EQ(r.dwData(), 0u);
}

TEST(CommandMessage, OversizedCountIsRefusedWithoutCollecting) {
    CommandMessage r;
    EXPECT_FALSE(r.feed(QByteArray("\0\0\0\0\xff\xff\xff\x7f", 8) + QByteArray(100, 'x')));
    EXPECT_TRUE(r.failed());
    EXPECT_FALSE(r.complete());
}

// A window that records the command lines delivered to it.
class Receiver : public QWidget {
public:
    QList<QByteArray> received;

protected:
    bool event(QEvent* e) override {
        if (e->type() == WindowMessage::eventType()) {
            auto* m = static_cast<WindowMessage*>(e);
            const auto* cds = reinterpret_cast<const CopyDataStruct*>(m->lParam());
            received << QByteArray(cds->lpData, cds->cbData);
            m->setResult(1);
            return true;
        }
        return QWidget::event(e);
    }
};

TEST(InstanceServer, DeliversACommandLineToTheWindowAndAnswers) {
    testApp();
    Receiver window;
    const QString path = QDir(TempHome::forProcess().runtimeDir()).filePath("TAMIX_APPLICATION");
    InstanceServer server(path, &window);
    ASSERT_TRUE(server.listen());
    // Only the owner may connect.
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());

    std::atomic<int> answered{-1};
    std::thread client([&] { answered = SendCommandLine(path, "/home/u/my notes.TM2") ? 1 : 0; });
    QElapsedTimer t;
    t.start();
    while (answered < 0 && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    client.join();
    EXPECT_EQ(answered, 1);
    ASSERT_EQ(window.received.size(), 1);
    EXPECT_EQ(window.received[0], QByteArray("/home/u/my notes.TM2"));
}

TEST(InstanceServer, NoListenerMeansTheCommandLineIsDroppedQuickly) {
    testApp();
    const QString path = QDir(TempHome::forProcess().runtimeDir()).filePath("nobody-listens");
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(SendCommandLine(path, "x"));
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(InstanceServer, ReplacesAStaleSocketFile) {
    testApp();
    Receiver window;
    const QString path = QDir(TempHome::forProcess().runtimeDir()).filePath("stale");
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    InstanceServer server(path, &window);
    EXPECT_TRUE(server.listen());
}

TEST(InstanceLock, SecondHolderInAnotherProcessIsRefused) {
    testApp();
    InstanceLock first(TempHome::forProcess().runtimeDir());
    ASSERT_TRUE(first.IsFirstInstance("TAMIX_APPLICATION_MUTEX"));
    EXPECT_TRUE(QFileInfo::exists(QDir(first.runtimeDir()).filePath("TAMIX_APPLICATION_MUTEX")));
    const pid_t child = fork();
    if (child == 0) {
        InstanceLock second(TempHome::forProcess().runtimeDir());
        _exit(second.IsFirstInstance("TAMIX_APPLICATION_MUTEX") ? 0 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 3);
}

TEST(InstanceLock, LockIsFreeAgainOnceTheHolderIsGone) {
    testApp();
    const QString dir = TempHome::forProcess().runtimeDir();
    {
        InstanceLock first(dir);
        ASSERT_TRUE(first.IsFirstInstance("released-lock"));
    }
    const pid_t child = fork();
    if (child == 0) {
        InstanceLock second(dir);
        _exit(second.IsFirstInstance("released-lock") ? 0 : 3);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace tamix
