#include "shell/instance_channel.h"
#include "shell/instance_lock.h"
#include "shell/pending_commands_fixture.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace tamix {
namespace {

// A fresh name in the test home's runtime folder, with the application made.
QString runtimePath(const char* name) {
    testApp();
    return QDir(TempHome::forProcess().runtimeDir()).filePath(name);
}

TEST(CommandMessage, LayoutIsDwDataThenCountThenBytes) {
    const QByteArray m = CommandMessage::encode("C:\\a b.TM2");
    EXPECT_EQ(m, QByteArray("\x00\x00\x00\x00\x0a\x00\x00\x00", 8) + "C:\\a b.TM2");
    // An empty command line is sent as one zero byte.
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

// A listening server whose queue delivers to `window` while `ready` is true.
class InstanceServerTest : public ::testing::Test, protected WithTestApp {
protected:
    CommandWindow window;
    PendingCommands queue{&window};
    bool ready = true;
    const QString path = runtimePath("TAMIX_APPLICATION");
    InstanceServer server{path, queue};

    void SetUp() override {
        queue.setReady([this] { return ready; });
        ASSERT_TRUE(server.listen());
    }

    // The sockets of connections the server still holds.
    qsizetype openSockets() const { return server.findChildren<QLocalSocket*>().size(); }

    // Sends a command line from another thread while this one runs the event
    // loop; answers whether the answer came, and how long the sender waited.
    bool send(const QByteArray& commandLine, qint64* waitedMs = nullptr) {
        std::atomic<int> answered{-1};
        std::atomic<qint64> waited{0};
        std::thread client([&] {
            QElapsedTimer t;
            t.start();
            const bool ok = SendCommandLine(path, commandLine);
            waited = t.elapsed();
            answered = ok ? 1 : 0;
        });
        runLoopUntil([&] { return answered >= 0; }, 10000);
        client.join();
        if (waitedMs) *waitedMs = waited;
        return answered == 1;
    }

    // A sender that hangs up as soon as its message is written.
    void sendAndHangUp(const QByteArray& commandLine) {
        std::atomic<bool> done{false};
        std::thread client([&] {
            QLocalSocket socket;
            socket.connectToServer(path);
            if (socket.waitForConnected(2000)) {
                socket.write(CommandMessage::encode(commandLine));
                socket.waitForBytesWritten(2000);
            }
            socket.abort();
            done = true;
        });
        runLoopUntil([&] { return done.load(); }, 5000);
        client.join();
    }
};

TEST_F(InstanceServerTest, OnlyTheOwnerMayConnect) {
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());
}

TEST_F(InstanceServerTest, AnswersAtOnceWhileTheWindowIsNotReady) {
    ready = false;
    qint64 waited = -1;
    EXPECT_TRUE(send("/home/u/my notes.TM2", &waited));
    EXPECT_LT(waited, 1000);
    runLoopFor(3 * PendingCommands::kRetryMs);
    EXPECT_TRUE(window.received.isEmpty());

    EXPECT_TRUE(send("/second.TM2"));
    EXPECT_TRUE(send(QByteArray()));
    ready = true;
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 3; }, 2000));
    EXPECT_EQ(window.received, (QList<QByteArray>{"/home/u/my notes.TM2", "/second.TM2", QByteArray(1, '\0')}));
    EXPECT_EQ(window.dwData, (QList<quint32>{0, 0, 0}));
    EXPECT_TRUE(runLoopUntil([&] { return openSockets() == 0; }, 2000));
}

TEST_F(InstanceServerTest, ASenderHangingUpRightAfterSendingIsHarmless) {
    sendAndHangUp("/gone.TM2");
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 1; }, 2000));
    EXPECT_EQ(window.received[0], "/gone.TM2");
    EXPECT_TRUE(runLoopUntil([&] { return openSockets() == 0; }, 2000));
    runLoopFor(200);
    EXPECT_TRUE(send("/after.TM2")) << "the server goes on serving";
}

TEST_F(InstanceServerTest, SendersDuringAModalLoopOfTheWindowAreAnsweredAndQueued) {
    // The first command shows a "box" that stays open for a while; a second
    // start is answered meanwhile and another hangs up without waiting, all
    // inside the box's loop, where their sockets' deletions also run.
    window.holdMs = 1000;
    bool othersSent = false;
    bool bothAnswered = false;
    window.onDelivery = [&] {
        if (othersSent) {
            window.holdMs = 0;
            return;
        }
        othersSent = true;
        qint64 waited = -1;
        bothAnswered = send("/during.TM2", &waited) && waited < 1000;
        sendAndHangUp("/hung-up.TM2");
    };
    EXPECT_TRUE(send("/opens-a-box.TM2"));
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 3 && window.depth == 0; }, 10000));
    EXPECT_TRUE(bothAnswered);
    EXPECT_EQ(window.maxDepth, 1);
    EXPECT_EQ(window.received, (QList<QByteArray>{"/opens-a-box.TM2", "/during.TM2", "/hung-up.TM2"}));
    EXPECT_TRUE(runLoopUntil([&] { return openSockets() == 0; }, 2000));
}

TEST(InstanceServer, TheSenderDoesNotWaitForTheWindowsModalLoop) {
    // The server's own queue; the window shows a "box" for longer than the
    // sender is prepared to wait.
    const QString path = runtimePath("own-queue");
    CommandWindow window;
    window.holdMs = 1000;
    InstanceServer server(path, &window);
    ASSERT_TRUE(server.listen());
    std::atomic<int> answered{-1};
    std::thread client([&] { answered = SendCommandLine(path, "/x.TM2", 300) ? 1 : 0; });
    EXPECT_TRUE(runLoopUntil([&] { return answered >= 0 && window.received.size() == 1 && window.depth == 0; }, 5000));
    client.join();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(window.received, QList<QByteArray>{"/x.TM2"});
    runLoopFor(100);
    EXPECT_TRUE(server.findChildren<QLocalSocket*>().isEmpty());
}

TEST(InstanceServer, NoListenerMeansTheCommandLineIsDroppedQuickly) {
    const QString path = runtimePath("nobody-listens");
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(SendCommandLine(path, "x"));
    EXPECT_LT(t.elapsed(), 5000);
}

TEST(InstanceServer, ReplacesAStaleSocketFile) {
    const QString path = runtimePath("stale");
    CommandWindow window;
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    InstanceServer server(path, &window);
    EXPECT_TRUE(server.listen());
}

// Whether another process is granted `name` in `dir` now.
bool grantedInAnotherProcess(const QString& dir, const char* name) {
    const pid_t child = fork();
    if (child == 0) _exit(InstanceLock(dir).IsFirstInstance(name) ? 0 : 3);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, AnotherProcessIsRefusedWhileTheHolderLivesAndGrantedAfter) {
    testApp();
    const QString dir = TempHome::forProcess().runtimeDir();
    {
        InstanceLock first(dir);
        ASSERT_TRUE(first.IsFirstInstance("TAMIX_APPLICATION_MUTEX"));
        EXPECT_TRUE(QFileInfo::exists(QDir(dir).filePath("TAMIX_APPLICATION_MUTEX")));
        EXPECT_FALSE(grantedInAnotherProcess(dir, "TAMIX_APPLICATION_MUTEX"));
    }
    EXPECT_TRUE(grantedInAnotherProcess(dir, "TAMIX_APPLICATION_MUTEX"));
}

}  // namespace
}  // namespace tamix
