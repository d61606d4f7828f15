#include "testing/temp_home.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace tamix {

namespace {

void setEnv(const char* name, const QString& value) {
    ::setenv(name, QFile::encodeName(value).constData(), 1);
}

}  // namespace

TempHome::TempHome() : dir_(QDir::tempPath() + QStringLiteral("/tamix-home-XXXXXX")) {
    QDir root(dir_.path());
    for (const char* sub : {".config", ".local/share", ".cache", ".local/state", "runtime"})
        root.mkpath(QLatin1String(sub));
    QFile::setPermissions(runtimeDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
    setEnv("HOME", dir_.path());
    setEnv("XDG_CONFIG_HOME", configDir());
    setEnv("XDG_DATA_HOME", dataDir());
    setEnv("XDG_CACHE_HOME", root.filePath(QStringLiteral(".cache")));
    setEnv("XDG_STATE_HOME", root.filePath(QStringLiteral(".local/state")));
    setEnv("XDG_RUNTIME_DIR", runtimeDir());
}

TempHome::~TempHome() = default;

TempHome& TempHome::forProcess() {
    static TempHome home;
    return home;
}

QString TempHome::configDir() const { return QDir(dir_.path()).filePath(QStringLiteral(".config")); }
QString TempHome::dataDir() const { return QDir(dir_.path()).filePath(QStringLiteral(".local/share")); }
QString TempHome::runtimeDir() const { return QDir(dir_.path()).filePath(QStringLiteral("runtime")); }

}  // namespace tamix
