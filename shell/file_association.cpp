#include "shell/file_association.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace tamix {

namespace {

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

void runIfInstalled(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty()) QProcess::startDetached(program, arguments);
}

}  // namespace

FileAssociation::FileAssociation(QString dataDir, QStringList systemDataDirs)
    : dataDir_(std::move(dataDir)), systemDataDirs_(std::move(systemDataDirs)) {
    if (dataDir_.isEmpty())
        dataDir_ = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QStringList FileAssociation::SystemDataDirs() {
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    dirs.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return dirs;
}

bool FileAssociation::SystemWide() const {
    const QString own = QDir(dataDir_).absolutePath();
    for (const QString& dir : systemDataDirs_) {
        const QDir d(dir);
        if (d.absolutePath() == own) continue;
        if (QFileInfo::exists(d.filePath(QStringLiteral("mime/packages/tamix.xml"))) &&
            QFileInfo::exists(d.filePath(QStringLiteral("applications/tamix.desktop"))))
            return true;
    }
    return false;
}

bool FileAssociation::InstalledForUser() const {
    QFile entry(desktopEntryPath());
    return entry.open(QIODevice::ReadOnly) && entry.readAll().contains("\nExec=tamix %f\n");
}

QString FileAssociation::mimePackagePath() const {
    return QDir(dataDir_).filePath(QStringLiteral("mime/packages/tamix.xml"));
}

QString FileAssociation::desktopEntryPath() const {
    return QDir(dataDir_).filePath(QStringLiteral("applications/tamix.desktop"));
}

QString FileAssociation::execLine(const QString& programPath) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : programPath)
        if (reserved.contains(c)) quote = true;
    if (!quote) return programPath + QStringLiteral(" %f");
    QString escaped;
    for (QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    // The entry format unescapes backslashes once more inside string values.
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    return QLatin1Char('"') + escaped + QStringLiteral("\" %f");
}

bool FileAssociation::Write(const QString& programPath, bool refreshDatabases) const {
    if (SystemWide()) {
        const bool hadMime = QFile::remove(mimePackagePath());
        const bool hadDesktop = QFile::remove(desktopEntryPath());
        if (refreshDatabases) {
            if (hadMime)
                runIfInstalled(QStringLiteral("update-mime-database"),
                               {QDir(dataDir_).filePath(QStringLiteral("mime"))});
            if (hadDesktop)
                runIfInstalled(QStringLiteral("update-desktop-database"),
                               {QDir(dataDir_).filePath(QStringLiteral("applications"))});
        }
        return true;
    }
    if (InstalledForUser()) return true;
    const QByteArray mime =
        QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"") +
        kMimeType +
        QByteArrayLiteral("\">\n"
                          "    <comment>Tamix Database</comment>\n"
                          "    <glob pattern=\"*.TM2\" case-sensitive=\"false\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n");
    const QByteArray desktop = QByteArrayLiteral("[Desktop Entry]\n"
                                                 "Type=Application\n"
                                                 "Name=Tamix\n"
                                                 "Comment=Keep notes as a tree in one database\n"
                                                 "Exec=") +
                               execLine(programPath).toUtf8() +
                               QByteArrayLiteral("\nIcon=accessories-text-editor\n"
                                                 "Terminal=false\n"
                                                 "Categories=Office;Utility;\n"
                                                 "MimeType=") +
                               kMimeType + QByteArrayLiteral(";\n");
    const bool mimeWritten = writeFile(mimePackagePath(), mime);
    const bool desktopWritten = writeFile(desktopEntryPath(), desktop);
    if (refreshDatabases) {
        if (mimeWritten)
            runIfInstalled(QStringLiteral("update-mime-database"),
                           {QDir(dataDir_).filePath(QStringLiteral("mime"))});
        if (desktopWritten)
            runIfInstalled(QStringLiteral("update-desktop-database"),
                           {QDir(dataDir_).filePath(QStringLiteral("applications"))});
    }
    return mimeWritten && desktopWritten;
}

}  // namespace tamix
