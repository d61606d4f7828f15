#include "options/date_pattern.h"

#include <gtest/gtest.h>

namespace {

struct PatternCase {
    const char* pattern;
    QDateTime when;
    const char* expected;
};

QDateTime At(int y, int mo, int d, int h, int mi, int s = 0) { return QDateTime(QDate(y, mo, d), QTime(h, mi, s)); }

TEST(DatePatternTest, PresetPatternsWriteDatesAndTimes) {
    const QDateTime jan31 = At(2024, 1, 31, 14, 5, 9);
    const QDateTime midnight = At(2023, 12, 3, 0, 0, 0);
    const QDateTime noon = At(2023, 12, 3, 12, 30, 0);
    const QDateTime morning = At(2009, 7, 4, 9, 7, 3);
    const PatternCase cases[] = {
        {"yyyy.mm.dd", jan31, "2024.01.31"},
        {"m/d/yy", morning, "7/4/09"},
        {"m/d/yyyy", morning, "7/4/2009"},
        {"mm/dd/yy", morning, "07/04/09"},
        {"mm/dd/yyyy", jan31, "01/31/2024"},
        {"yy/mm/dd", morning, "09/07/04"},
        {"dd-mmm-yy", morning, "04-Jul-09"},
        {"mmmm dd, yyyy", midnight, "December 03, 2023"},
        {"dd mmmm, yyyy", jan31, "31 January, 2024"},
        {"hh:mm:ss", morning, "09:07:03"},
        {"hh:mm", midnight, "00:00"},
        {"h:mm:ss am/pm", jan31, "2:05:09 pm"},
        {"h:mm am/pm", jan31, "2:05 pm"},
        {"h:mm am/pm", midnight, "12:00 am"},
        {"h:mm am/pm", noon, "12:30 pm"},
        {"h:mm am/pm", morning, "9:07 am"},
        {"HH:mm", jan31, "14:05"},
        {"HH:mm", morning, "09:07"},
        {"yyyy.mm.dd @ HH:mm", jan31, "2024.01.31 @ 14:05"},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(DatePattern::Format(QString::fromLatin1(c.pattern), c.when), QString::fromLatin1(c.expected))
            << c.pattern << " at " << c.when.toString(Qt::ISODate).toStdString();
}

}  // namespace
