// Two real processes of the program: the second hands its command line to
// the first and exits.

#include "shell/file_association.h"
#include "storage/c_node.h"
#include "storage/node_key.h"
#include "storage/tamix_error.h"
#include "testing/temp_home.h"
#include "testing/test_app.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace tamix {
namespace {

// True while another process holds the database open.
bool heldByAnotherProcess(const QString& path) {
    cNode node;
    try {
        node.OpenFile(QFile::encodeName(path).toStdString());
        node.CloseFile();
        return false;
    } catch (const TamixError& e) {
        return e.number() == kErrInUse;
    }
}

class InstanceProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        socket_ = QDir(TempHome::forProcess().runtimeDir()).filePath("TAMIX_APPLICATION");
        QFile::remove(socket_);
    }
    void TearDown() override {
        if (first_.state() != QProcess::NotRunning) {
            first_.kill();
            first_.waitForFinished(5000);
        }
    }
    void startFirst() {
        first_.setProgram(TAMIX_APP_PATH);
        first_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first_.start();
        ASSERT_TRUE(first_.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket_); }, 15000)) << "first instance never listened";
    }
    // Runs a second instance and answers its exit code (-1 when it hangs).
    int runSecond(const QStringList& arguments, qint64* elapsed = nullptr, const QString& folder = {}) {
        QProcess second;
        if (!folder.isEmpty()) second.setWorkingDirectory(folder);
        QElapsedTimer t;
        t.start();
        second.start(TAMIX_APP_PATH, arguments);
        if (!second.waitForFinished(10000)) {
            second.kill();
            return -1;
        }
        if (elapsed) *elapsed = t.elapsed();
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    }

    QTemporaryDir dir_;
    QString socket_;
    QProcess first_;
};

// A second start exits at once, whether it brings a file or nothing.
TEST_F(InstanceProcessTest, SecondInstanceHandsItsCommandLineToTheFirstAndExits) {
    // A relative path from another folder than the first instance's, with a
    // space the shell splits and characters code page 1252 cannot hold.
    const QString path = dir_.filePath("日記 notes.TM2");
    {
        cNode node;
        node.CreateFile(QFile::encodeName(path).toStdString());
        node.CloseFile();
    }
    startFirst();
    EXPECT_FALSE(heldByAnotherProcess(path));
    EXPECT_EQ(runSecond({"日記", "notes.TM2"}, nullptr, dir_.path()), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return heldByAnotherProcess(path); }, 5000))
        << "the first instance did not open the file";
    qint64 elapsed = 0;
    EXPECT_EQ(runSecond({}, &elapsed), 0);  // restores the first, opens nothing
    EXPECT_LT(elapsed, 5000);
    EXPECT_EQ(first_.state(), QProcess::Running);
    EXPECT_TRUE(heldByAnotherProcess(path));
}

TEST_F(InstanceProcessTest, WithoutAFirstInstanceTheProgramStartsNormally) {
    startFirst();  // it is the first: it takes the lock and listens
    EXPECT_TRUE(QFileInfo::exists(QDir(TempHome::forProcess().runtimeDir()).filePath("TAMIX_APPLICATION_MUTEX")));
    // The per-user association, unless Tamix is installed on this machine.
    const QString userEntry = QDir(TempHome::forProcess().dataDir()).filePath("applications/tamix.desktop");
    EXPECT_EQ(QFileInfo::exists(userEntry), !FileAssociation(TempHome::forProcess().dataDir()).SystemWide());
}

}  // namespace
}  // namespace tamix
