#pragma once

#include <QString>
#include <QtGlobal>

namespace tamix {

class Settings;

// The user's options, read when the main window loads and kept in memory for
// the commands that use them (the options dialog changes them).
struct AppOptions {
    QString StartupFile;                              // "FileName": opened at start-up
    QString DefaultFontName = QStringLiteral("MS Sans Serif");  // "Font"
    double DefaultFontSize = 8;                       // "FontSize", points
    quint32 LinkColour = 0xFF0000;                    // "LinkColour", 0x00BBGGRR
    QString DateFormat = QStringLiteral("yyyy.mm.dd");  // "Date Format"
    QString TimeFormat = QStringLiteral("HH:mm");       // "Time Format"

    // Reads every option, keeping the default of any that is missing or
    // does not convert.
    void Read(const Settings& settings);
};

}  // namespace tamix
