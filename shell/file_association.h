#pragma once

#include <QString>
#include <QStringList>

namespace tamix {

// Registers the program as the opener of "*.TM2" files for the current user:
// a shared-mime-info package (mime/packages/tamix.xml) and a desktop entry
// named "Tamix" (applications/tamix.desktop) whose command is the program's
// full path followed by " %f", both in the user's data folder. The MIME and
// desktop databases are refreshed in the background when their tools exist.
// Written at every start of a first instance, so a moved program re-points
// the association. An installed Tamix brings a system-wide association
// instead (the same two files in a system data folder, $XDG_DATA_DIRS);
// while one is present the per-user files are not written, and those an
// earlier start wrote are removed, since they would hide it. Tamix installed
// into the user's own data folder (a prefix of ~/.local) is left alone too.
// Nothing here ever fails start-up: errors are ignored.
class FileAssociation {
public:
    // The MIME type of a database file.
    static constexpr const char* kMimeType = "application/x-tamix-database";

    // dataDir "" means the user's data folder ($XDG_DATA_HOME or ~/.local/share);
    // systemDataDirs are the folders searched for a system-wide association.
    explicit FileAssociation(QString dataDir = QString(), QStringList systemDataDirs = SystemDataDirs());

    // Writes both files for `programPath`; true when both were written, or
    // when an installed association is present: system-wide (the per-user
    // files are removed) or in the user's folder (left as it is).
    // refreshDatabases: run update-mime-database and update-desktop-database
    // (detached) when they are installed.
    bool Write(const QString& programPath, bool refreshDatabases = true) const;

    // True when one of the system data folders holds both the MIME package
    // and the desktop entry.
    bool SystemWide() const;
    // True when the user's desktop entry is the installed one, which starts
    // the program by name ("Exec=tamix %f") where Write gives a full path.
    bool InstalledForUser() const;
    // The data folders of $XDG_DATA_DIRS (default /usr/local/share, /usr/share).
    static QStringList SystemDataDirs();

    QString mimePackagePath() const;
    QString desktopEntryPath() const;

    // The desktop entry's Exec value: the path (quoted when it holds
    // characters the entry format reserves) followed by " %f".
    static QString execLine(const QString& programPath);

private:
    QString dataDir_;
    QStringList systemDataDirs_;
};

}  // namespace tamix
