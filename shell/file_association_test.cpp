#include "shell/file_association.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamix {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Writes `bytes` at `path`, making its folder first.
void write(const QString& path, const QByteArray& bytes = {}) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

TEST(FileAssociation, WritesMimePackageAndDesktopEntryInTheDataFolder) {
    QTemporaryDir data;
    FileAssociation association(data.path(), {});
    ASSERT_TRUE(association.Write("/opt/tamix/bin/tamix", false));
    EXPECT_EQ(association.mimePackagePath(), data.filePath("mime/packages/tamix.xml"));
    const QByteArray mime = readAll(association.mimePackagePath());
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.TM2\""));
    EXPECT_TRUE(mime.contains("type=\"application/x-tamix-database\""));
    const QByteArray desktop = readAll(data.filePath("applications/tamix.desktop"));
    EXPECT_TRUE(desktop.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(desktop.contains("\nName=Tamix\n"));
    EXPECT_TRUE(desktop.contains("\nExec=/opt/tamix/bin/tamix %f\n"));
    EXPECT_TRUE(desktop.contains("\nMimeType=application/x-tamix-database;\n"));
}

TEST(FileAssociation, RewritingFollowsAMovedProgram) {
    QTemporaryDir data;
    FileAssociation association(data.path(), {});
    association.Write("/old/tamix", false);
    association.Write("/new/tamix", false);
    const QByteArray desktop = readAll(association.desktopEntryPath());
    EXPECT_TRUE(desktop.contains("Exec=/new/tamix %f"));
    EXPECT_FALSE(desktop.contains("/old/"));
}

TEST(FileAssociation, PathsWithReservedCharactersAreQuoted) {
    EXPECT_EQ(FileAssociation::execLine("/home/me/My Apps/tamix"), "\"/home/me/My Apps/tamix\" %f");
    EXPECT_EQ(FileAssociation::execLine("/a$b/tamix"), "\"/a\\\\$b/tamix\" %f");
}

TEST(FileAssociation, AnUnwritableFolderIsReportedNotThrown) {
    QTemporaryDir data;
    write(data.filePath("mime"));  // a file where a folder must go
    FileAssociation association(data.path(), {});
    EXPECT_FALSE(association.Write("/x/tamix", false));
    EXPECT_TRUE(QFile::exists(association.desktopEntryPath()));
}

// A system data folder holding the installed association, or only part of it.
TEST(FileAssociation, ASystemWideAssociationReplacesThePerUserOne) {
    struct Case {
        const char* name;
        QStringList systemFiles;
        bool userFilesKept;
    };
    const Case cases[] = {
        {"both installed", {"mime/packages/tamix.xml", "applications/tamix.desktop"}, false},
        {"desktop entry only", {"applications/tamix.desktop"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir data, system;
        for (const QString& file : c.systemFiles) write(system.filePath(file));
        ASSERT_TRUE(FileAssociation(data.path(), {}).Write("/old/tamix", false));
        FileAssociation association(data.path(), {system.path()});
        EXPECT_EQ(association.SystemWide(), !c.userFilesKept);
        EXPECT_TRUE(association.Write("/usr/bin/tamix", false));
        EXPECT_EQ(QFile::exists(association.mimePackagePath()), c.userFilesKept);
        EXPECT_EQ(QFile::exists(association.desktopEntryPath()), c.userFilesKept);
    }
}

TEST(FileAssociation, AnAssociationInstalledInTheUsersFolderIsLeftAsItIs) {
    QTemporaryDir data;
    const QByteArray installed = "[Desktop Entry]\nName=Tamix\nExec=tamix %f\nIcon=tamix\n";
    write(data.filePath("applications/tamix.desktop"), installed);
    FileAssociation association(data.path(), {});
    EXPECT_TRUE(association.Write("/home/me/.local/bin/tamix", false));
    EXPECT_EQ(readAll(association.desktopEntryPath()), installed);
}

}  // namespace
}  // namespace tamix
