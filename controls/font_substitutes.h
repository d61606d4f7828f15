#pragma once

#include <QString>
#include <QStringList>

namespace tamix::controls {

// The Windows font names note bodies are written in ("MS Sans Serif",
// "Arial", "Times New Roman", ...), each drawn by the closest installed
// family. Substitution only picks the face that draws a name: a note's
// format and the RTF written back keep the Windows name.
class FontSubstitutes {
public:
    // Reads the installed families from QFontDatabase; needs the
    // QGuiApplication to exist.
    FontSubstitutes();
    // Takes `installedFamilies` as QFontDatabase::families() would list
    // them (a family may carry its foundry in brackets).
    explicit FontSubstitutes(const QStringList& installedFamilies);

    // The Windows names this class substitutes, in a fixed order.
    static QStringList windowsNames();

    // The families that may draw `windowsName`, best first, installed or
    // not; empty for a name that is not one of windowsNames(). The name is
    // matched without regard to letter case.
    static QStringList candidates(const QString& windowsName);

    // The installed candidates of `windowsName`, best first, without
    // foundries; empty when none is installed.
    QStringList substitutes(const QString& windowsName) const;

    // Makes every Windows name that has an installed substitute draw in its
    // substitutes (QFont::insertSubstitutions, process-wide). Call once at
    // start-up, after the QApplication exists; calling again adds nothing.
    // A Windows family that is itself installed still draws in itself.
    void install() const;

    // The font box's list: the installed families without foundries, each
    // once (letter case ignored), and every Windows name, sorted without
    // regard to letter case.
    QStringList boxFamilies() const;

    // What the font box shows for `family`: the name without a trailing
    // foundry in brackets ("C059 [UKWN]" shows as "C059"), outer blanks
    // trimmed.
    static QString boxText(const QString& family);

private:
    // The installed families as boxText gives them, each once (letter case
    // ignored), in the order first listed.
    QStringList installed_;
};

}  // namespace tamix::controls
