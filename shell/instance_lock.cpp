#include "shell/instance_lock.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tamix {

InstanceLock::InstanceLock(QString runtimeDir)
    : dir_(runtimeDir.isEmpty() ? userRuntimeDir() : std::move(runtimeDir)) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

QString InstanceLock::userRuntimeDir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

bool InstanceLock::IsFirstInstance(const QString& name) {
    if (fd_ >= 0) return true;
    const QByteArray path = QFile::encodeName(QDir(dir_).filePath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

}  // namespace tamix
