#pragma once

#include <QString>

namespace tamix {

// Registers the program as the opener of "*.TM2" files for the current user:
// a shared-mime-info package (mime/packages/tamix.xml) and a desktop entry
// named "Tamix" (applications/tamix.desktop) whose command is the program's
// full path followed by " %f", both in the user's data folder. The MIME and
// desktop databases are refreshed in the background when their tools exist.
// Written at every start of a first instance, so a moved program re-points
// the association. Nothing here ever fails start-up: errors are ignored.
class FileAssociation {
public:
    // The MIME type of a database file.
    static constexpr const char* kMimeType = "application/x-tamix-database";

    // dataDir "" means the user's data folder ($XDG_DATA_HOME or ~/.local/share).
    explicit FileAssociation(QString dataDir = QString());

    // Writes both files for `programPath`; true when both were written.
    // refreshDatabases: run update-mime-database and update-desktop-database
    // (detached) when they are installed.
    bool Write(const QString& programPath, bool refreshDatabases = true) const;

    QString mimePackagePath() const;
    QString desktopEntryPath() const;

    // The desktop entry's Exec value: the path (quoted when it holds
    // characters the entry format reserves) followed by " %f".
    static QString execLine(const QString& programPath);

private:
    QString dataDir_;
};

}  // namespace tamix
