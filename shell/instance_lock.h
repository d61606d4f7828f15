#pragma once

#include <QString>

namespace tamix {

// The per-user lock that makes one process the first instance: an exclusive
// advisory lock on a file of the given name in the user's runtime folder.
// The lock is held for the life of this object (normally the whole process)
// and the system drops it when the process ends, however it ends.
class InstanceLock {
public:
    // runtimeDir "" means the user's runtime folder ($XDG_RUNTIME_DIR, or
    // Qt's fallback for it).
    explicit InstanceLock(QString runtimeDir = QString());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True, keeping the lock, when no other process holds the lock `name`;
    // false when another does. A lock file that cannot be created at all also
    // answers true: a broken runtime folder must not keep the user out.
    bool IsFirstInstance(const QString& name);

    // The folder the lock and the instance socket live in.
    const QString& runtimeDir() const { return dir_; }

    // The user's runtime folder (created when missing).
    static QString userRuntimeDir();

private:
    QString dir_;
    int fd_ = -1;  // the open, locked file while held; -1 otherwise
};

}  // namespace tamix
