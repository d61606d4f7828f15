#include "options/date_pattern.h"

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// Length of the run of `letter` (case-insensitive) starting at `at`.
int RunLength(const QString& pattern, int at, QChar letter) {
    int end = at;
    while (end < pattern.size() && pattern[end].toLower() == letter) ++end;
    return end - at;
}

QString TwoDigits(int value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

}  // namespace

QString DatePattern::Format(const QString& pattern, const QDateTime& when) {
    static const QString kAmPm = QStringLiteral("am/pm");
    const bool twelveHour = pattern.contains(kAmPm, Qt::CaseInsensitive);
    const QDate date = when.date();
    const QTime time = when.time();
    int hour = time.hour();
    if (twelveHour) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }

    QString out;
    // True from an hour token until the next letter that is not a minute:
    // an "m" run met meanwhile is the minute, not the month.
    bool afterHour = false;
    int i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        const QChar lower = c.toLower();
        if (pattern.mid(i, kAmPm.size()).compare(kAmPm, Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            i += kAmPm.size();
            afterHour = false;
            continue;
        }
        if (lower == QLatin1Char('y')) {
            const int run = RunLength(pattern, i, lower);
            if (run >= 4) {
                out += QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
                i += 4;
            } else if (run >= 2) {
                out += TwoDigits(date.year() % 100);
                i += 2;
            } else {
                out += c;
                ++i;
            }
            afterHour = false;
        } else if (lower == QLatin1Char('m')) {
            const int run = RunLength(pattern, i, lower);
            if (afterHour) {
                const int used = qMin(run, 2);
                out += used == 2 ? TwoDigits(time.minute()) : QString::number(time.minute());
                i += used;
            } else if (run >= 4) {
                out += QLatin1String(kMonthNames[date.month() - 1]);
                i += 4;
            } else if (run == 3) {
                out += QLatin1String(kMonthNames[date.month() - 1]).left(3);
                i += 3;
            } else if (run == 2) {
                out += TwoDigits(date.month());
                i += 2;
            } else {
                out += QString::number(date.month());
                ++i;
            }
            afterHour = false;
        } else if (lower == QLatin1Char('d')) {
            const int used = qMin(RunLength(pattern, i, lower), 2);
            out += used == 2 ? TwoDigits(date.day()) : QString::number(date.day());
            i += used;
            afterHour = false;
        } else if (lower == QLatin1Char('h')) {
            const int used = qMin(RunLength(pattern, i, lower), 2);
            out += used == 2 ? TwoDigits(hour) : QString::number(hour);
            i += used;
            afterHour = true;
        } else if (lower == QLatin1Char('s') && RunLength(pattern, i, lower) >= 2) {
            out += TwoDigits(time.second());
            i += 2;
            afterHour = false;
        } else {
            // Separators keep a pending hour; any other letter ends it.
            if (c.isLetter()) afterHour = false;
            out += c;
            ++i;
        }
    }
    return out;
}
