// The page layout engine on documents built in memory: how many pages known
// documents fill, and that what does not fit a page is neither lost nor
// drawn twice.

#include "print/format_range.h"
#include "print/page_engine.h"

#include "testing/test_app.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextBlock>
#include <cmath>
#include <gtest/gtest.h>

namespace tamix {
namespace {

const QSize kLetter(12240, 15840);  // twips
constexpr qreal kRoom = (15840 - 2 * 1440) / 15.0;  // the render rectangle's height in 96-dpi units

class FormatRangeTest : public WithTestApp, public ::testing::Test {
protected:
    QTextDocument doc;
    PageMargins margins;

    void lines(int count, const QString& text = QStringLiteral("A line of text")) {
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        for (int i = 0; i < count; ++i) {
            if (i > 0 || !doc.isEmpty()) c.insertBlock();
            c.insertText(text + QString::number(i));
        }
    }
    // A picture of `w` x `h` units filled with red.
    void picture(int w, int h) {
        QImage red(w, h, QImage::Format_RGB32);
        red.fill(Qt::red);
        const QString name = QStringLiteral("picture%1x%2").arg(w).arg(h);
        doc.addResource(QTextDocument::ImageResource, QUrl(name), red);
        QTextImageFormat f;
        f.setName(name);
        f.setWidth(w);
        f.setHeight(h);
        QTextCursor c(&doc);
        c.movePosition(QTextCursor::End);
        c.insertImage(f);
    }
    int pages() { return PageEngine(doc, margins).pageCount(kLetter); }
    // The height of one line of plain text, from a layout of its own.
    qreal linePitch() {
        QTextDocument one;
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(96 / 0.0254));
        device.setDotsPerMeterY(qRound(96 / 0.0254));
        one.documentLayout()->setPaintDevice(&device);
        one.setDocumentMargin(0);
        one.setDefaultFont(doc.defaultFont());
        QTextCursor(&one).insertText(QStringLiteral("A line of text0"));
        QTextCursor(&one).insertBlock();
        return one.documentLayout()->blockBoundingRect(one.lastBlock()).top();
    }
};

TEST(PageMarginsTest, OneInchMarginsOnALetterPage) {
    EXPECT_EQ(PageMargins().renderRect(12240, 15840), (TwipsRect{1440, 1440, 10800, 14400}));
    EXPECT_EQ(PageMargins::pageRect(12240, 15840), (TwipsRect{0, 0, 12240, 15840}));
}

TEST_F(FormatRangeTest, AnEmptyOrShortNoteIsOnePage) {
    EXPECT_EQ(pages(), 1);
    lines(3);
    EXPECT_EQ(pages(), 1);
}

TEST_F(FormatRangeTest, APageHoldsTheWholeLinesThatFitItsRectangle) {
    const int perPage = static_cast<int>(std::floor(kRoom / linePitch()));
    const struct {
        int lines, pages;
    } cases[] = {{perPage, 1}, {perPage + 1, 2}, {3 * perPage, 3}, {3 * perPage + 1, 4}};
    for (const auto& c : cases) {
        doc.clear();
        lines(c.lines);
        EXPECT_EQ(pages(), c.pages) << c.lines << " lines, " << perPage << " a page";
    }
}

TEST_F(FormatRangeTest, PagesFollowEachOtherWithoutGapOrOverlap) {
    // Bullets, a table, a word longer than a line, pictures and one
    // paragraph longer than a page.
    lines(5);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    c.createList(QTextListFormat::ListDisc);
    c.insertText(QStringLiteral("bullet"));
    c.insertBlock();
    c.insertTable(40, 3);
    c.movePosition(QTextCursor::End);
    c.insertBlock(QTextBlockFormat());
    c.insertText(QString(400, QLatin1Char('w')) + QStringLiteral(" ") +
                 QStringLiteral("one long paragraph of words ").repeated(600));
    picture(300, 200);
    picture(200, 3000);
    lines(30);

    FormatRange range(doc);
    FormatRangeRequest r = PageEngine(doc, margins).request(kLetter);
    QImage canvas(816, 1056, QImage::Format_RGB32);
    int pagesDrawn = 0;
    for (int start = 0; start < range.textLength(); ++pagesDrawn) {
        r.cpMin = start;
        QPainter painter(&canvas);
        const int next = range.format(r, &painter);
        ASSERT_GT(next, start) << "page " << pagesDrawn + 1;
        start = next;
    }
    EXPECT_GT(pagesDrawn, 3);
    EXPECT_EQ(pagesDrawn, pages());
    r.cpMin = range.textLength();
    EXPECT_EQ(range.format(r), range.textLength());
}

TEST_F(FormatRangeTest, ALineTallerThanThePageStandsAloneAndThePassEnds) {
    QFont huge = doc.defaultFont();
    huge.setPointSize(1200);
    doc.setDefaultFont(huge);
    lines(3, QString());  // one digit a line, each taller than the page
    EXPECT_EQ(pages(), 3);
}

TEST_F(FormatRangeTest, APictureTallerThanThePageIsShrunkOntoOnePage) {
    picture(100, 4000);
    EXPECT_EQ(pages(), 1);
    QImage canvas(816, 1056, QImage::Format_RGB32);  // a letter sheet at 96 dpi
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    PageEngine(doc, margins).drawPage(painter, kLetter, 1);
    painter.end();
    const int left = 96 + 5, top = 96;
    EXPECT_EQ(canvas.pixelColor(left, top + 5), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(left, top + static_cast<int>(kRoom * 0.85)), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(left, top + static_cast<int>(kRoom) - 2), QColor(Qt::white));
}

TEST_F(FormatRangeTest, APageBeyondTheLastShowsTheLast) {
    lines(200);
    PageEngine engine(doc, margins);
    QImage canvas(816, 1056, QImage::Format_RGB32);
    QPainter painter(&canvas);
    EXPECT_EQ(engine.drawPage(painter, kLetter, 99), engine.pageCount(kLetter));
}

}  // namespace
}  // namespace tamix
