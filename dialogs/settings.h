#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace tamix {

// The per-user settings store of the application "Tamix": text values
// addressed by section and key ("Settings", "Startup"). Booleans are written
// "True"/"False", numbers as decimal text. A missing value, or text that does
// not convert to the type asked for, answers the caller's default: a bad
// settings file never stops the program.
class Settings {
public:
    // The store QSettings("Tamix", "Tamix") in the user's config folder.
    Settings();
    // A store in the given INI file (for tools and tests).
    explicit Settings(const QString& iniFile);
    ~Settings();

    QString getString(const QString& section, const QString& key, const QString& fallback) const;
    // A 16-bit integer: decimal text, a fraction rounded half to even; out of
    // range or not a number answers the fallback.
    qint16 getInt16(const QString& section, const QString& key, qint16 fallback) const;
    // A 32-bit integer, by the same rules.
    qint32 getInt32(const QString& section, const QString& key, qint32 fallback) const;
    // "True"/"False" in any letter case, or a number (non-zero is true).
    bool getBool(const QString& section, const QString& key, bool fallback) const;

    void setString(const QString& section, const QString& key, const QString& value);
    void setInt(const QString& section, const QString& key, qint32 value);
    void setBool(const QString& section, const QString& key, bool value);

    // Writes pending changes to the file.
    void sync();
    // The file behind the store.
    QString fileName() const;

    // Text conversions used by the getters, exposed for their tests.
    static bool toInteger(const QString& text, qint64 min, qint64 max, qint64& out);
    static bool toBoolean(const QString& text, bool& out);

private:
    // The raw text, or a null string when the key is missing.
    QString raw(const QString& section, const QString& key) const;

    std::unique_ptr<QSettings> store_;  // never null
};

}  // namespace tamix
