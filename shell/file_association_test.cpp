#include "shell/file_association.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamix {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(FileAssociation, WritesMimePackageAndDesktopEntryInTheDataFolder) {
    QTemporaryDir data;
    FileAssociation association(data.path());
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
    FileAssociation association(data.path());
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
    QFile blocker(data.filePath("mime"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where a folder must go
    blocker.close();
    FileAssociation association(data.path());
    EXPECT_FALSE(association.Write("/x/tamix", false));
    EXPECT_TRUE(QFile::exists(association.desktopEntryPath()));
}

}  // namespace
}  // namespace tamix
