#include "dialogs/settings.h"

#include <QStringList>
#include <cmath>

namespace tamix {

Settings::Settings() : store_(std::make_unique<QSettings>(QStringLiteral("Tamix"), QStringLiteral("Tamix"))) {}

Settings::Settings(const QString& iniFile)
    : store_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

Settings::~Settings() = default;

QString Settings::raw(const QString& section, const QString& key) const {
    const QVariant value = store_->value(section + QLatin1Char('/') + key);
    if (!value.isValid()) return QString();
    // An unquoted value with commas reads back as a list; it was one text.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    QString text = value.toString();
    if (text.isNull()) text = QLatin1String("");
    return text;
}

bool Settings::toInteger(const QString& text, qint64 min, qint64 max, qint64& out) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong whole = trimmed.toLongLong(&ok);
    if (ok) {
        if (whole < min || whole > max) return false;
        out = whole;
        return true;
    }
    double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return false;
    value = std::nearbyint(value);  // the default rounding mode: half to even
    if (value < static_cast<double>(min) || value > static_cast<double>(max)) return false;
    out = static_cast<qint64>(value);
    return true;
}

bool Settings::toBoolean(const QString& text, bool& out) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(number)) return false;
    out = number != 0;
    return true;
}

QString Settings::getString(const QString& section, const QString& key,
                            const QString& fallback) const {
    const QString text = raw(section, key);
    return text.isNull() ? fallback : text;
}

qint16 Settings::getInt16(const QString& section, const QString& key, qint16 fallback) const {
    qint64 value = 0;
    const QString text = raw(section, key);
    if (text.isNull() || !toInteger(text, -32768, 32767, value)) return fallback;
    return static_cast<qint16>(value);
}

qint32 Settings::getInt32(const QString& section, const QString& key, qint32 fallback) const {
    qint64 value = 0;
    const QString text = raw(section, key);
    if (text.isNull() || !toInteger(text, INT32_MIN, INT32_MAX, value)) return fallback;
    return static_cast<qint32>(value);
}

bool Settings::getBool(const QString& section, const QString& key, bool fallback) const {
    bool value = false;
    const QString text = raw(section, key);
    if (text.isNull() || !toBoolean(text, value)) return fallback;
    return value;
}

void Settings::setString(const QString& section, const QString& key, const QString& value) {
    store_->setValue(section + QLatin1Char('/') + key, value);
}

void Settings::setInt(const QString& section, const QString& key, qint32 value) {
    setString(section, key, QString::number(value));
}

void Settings::setBool(const QString& section, const QString& key, bool value) {
    setString(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void Settings::sync() { store_->sync(); }

QString Settings::fileName() const { return store_->fileName(); }

}  // namespace tamix
