#pragma once

#include <QDateTime>
#include <QString>

// Formats a date and time by a user-defined pattern in the classic notation:
// "yyyy"/"yy" year, "mmmm"/"mmm"/"mm"/"m" month (English names), "dd"/"d" day,
// "hh"/"HH"/"h"/"H" hour, "mm"/"m" after an hour token (with only
// separators between) minute, "ss" seconds, "am/pm" 12-hour clock written
// "am" or "pm". Every other character is copied unchanged.
class DatePattern {
public:
    // The text of `when` written by `pattern`; never depends on the locale.
    static QString Format(const QString& pattern, const QDateTime& when);
};
