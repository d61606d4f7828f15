#include "dialogs/app_options.h"

#include "dialogs/settings.h"

namespace tamix {

void AppOptions::Read(const Settings& settings) {
    DateFormat = settings.getString(QStringLiteral("Settings"), QStringLiteral("Date Format"), DateFormat);
    TimeFormat = settings.getString(QStringLiteral("Settings"), QStringLiteral("Time Format"), TimeFormat);
    DefaultFontName = settings.getString(QStringLiteral("Startup"), QStringLiteral("Font"), DefaultFontName);
    const QString size = settings.getString(QStringLiteral("Startup"), QStringLiteral("FontSize"), QString());
    bool ok = false;
    const double points = size.trimmed().toDouble(&ok);
    if (ok && points >= 1 && points <= 1638) DefaultFontSize = points;
    LinkColour = static_cast<quint32>(settings.getInt32(QStringLiteral("Startup"), QStringLiteral("LinkColour"),
                                                        static_cast<qint32>(LinkColour)));
    StartupFile = settings.getString(QStringLiteral("Startup"), QStringLiteral("FileName"), StartupFile);
}

}  // namespace tamix
