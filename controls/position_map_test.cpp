#include "controls/position_map.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "testing/test_app.h"

namespace tamix::controls {
namespace {

// "ab" ¶ "" ¶ "c<tab>d<soft break>e"
QTextDocument* sample(QTextDocument& doc) {
    QTextCursor c(&doc);
    c.insertText("ab");
    c.insertBlock();
    c.insertBlock();
    c.insertText(QString("c\td") + QChar(QChar::LineSeparator) + "e");
    return &doc;
}

TEST(PositionMapTest, TextJoinsParagraphsWithCrLfKeepsOneCharacterItemsAndMayBeEmpty) {
    QTextDocument doc;
    sample(doc);
    EXPECT_EQ(PositionMap::text(doc), QString("ab\r\n\r\nc\td\ve"));
    EXPECT_EQ(PositionMap::length(doc), 11);
    QTextDocument empty;
    EXPECT_EQ(PositionMap::length(empty), 0);
    EXPECT_EQ(PositionMap::text(empty), QString());
    EXPECT_EQ(PositionMap::toDocument(empty, 3), 0);
}

TEST(PositionMapTest, RoundTripsAndSnapsPositionsInsideABreak) {
    QTextDocument doc;
    sample(doc);
    for (int d = 0; d <= doc.characterCount() - 1; ++d) {
        EXPECT_EQ(PositionMap::toDocument(doc, PositionMap::toControl(doc, d)), d) << d;
    }
    EXPECT_EQ(PositionMap::toDocument(doc, 3), 2);  // between "\r" and "\n": before the break
    EXPECT_EQ(PositionMap::toDocument(doc, 5), 3);
    EXPECT_EQ(PositionMap::toDocument(doc, -4), 0);
    EXPECT_EQ(PositionMap::toDocument(doc, 500), doc.characterCount() - 1);
    EXPECT_EQ(PositionMap::toControl(doc, 99), 11);  // clamped to the end
}

// Every break counts two on the way out, so the range text checks the mapping too.
TEST(PositionMapTest, RangeTextMatchesTheWholeTextsSubstring) {
    QTextDocument doc;
    sample(doc);
    const QString all = PositionMap::text(doc);
    const int end = doc.characterCount() - 1;
    for (int from = 0; from <= end; ++from) {
        for (int to = from; to <= end; ++to) {
            int s = PositionMap::toControl(doc, from);
            int e = PositionMap::toControl(doc, to);
            EXPECT_EQ(PositionMap::text(doc, from, to), all.mid(s, e - s)) << from << ".." << to;
        }
    }
}

TEST(PositionMapTest, ManyParagraphsMapByBinarySearch) {
    QTextDocument doc;
    QTextCursor c(&doc);
    for (int i = 0; i < 500; ++i) {
        if (i > 0) {
            c.insertBlock();
        }
        c.insertText(QString(i % 7, QLatin1Char('x')));
    }
    const QString all = PositionMap::text(doc);
    ASSERT_EQ(all.size(), PositionMap::length(doc));
    for (int pos = 0; pos < all.size(); ++pos) {
        int d = PositionMap::toDocument(doc, pos);
        bool insideBreak = all.at(pos) == QLatin1Char('\n');
        EXPECT_EQ(PositionMap::toControl(doc, d), insideBreak ? pos - 1 : pos) << pos;
    }
}

}  // namespace
}  // namespace tamix::controls
