#pragma once

#include "print/page_margins.h"

#include <QImage>
#include <QMetaObject>
#include <memory>
#include <vector>

class QPainter;
class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextTable;

namespace tamix {

// One layout request: the page, the rectangle of it the text goes into, and
// the characters to lay out (QTextDocument positions).
struct FormatRangeRequest {
    TwipsRect rc;      // render rectangle
    TwipsRect rcPage;  // the whole page
    int cpMin = 0;     // first character to lay out
    int cpMax = -1;    // last character to lay out; -1 to the end of the text
};

// The format-range operation over a QTextDocument: lays the text out from a
// character into a page's render rectangle, draws it or only measures it,
// and reports the first character that did not fit.
//
// The layout does not depend on the device drawn on: the text is laid out
// once at 96 dots per inch (15 twips a unit) on a copy of the document, and
// drawing scales that layout to the device's resolution. So a preview canvas,
// a printer and a PDF writer break the pages at the same characters.
//
// The text is cut between lines: a page holds the lines (of paragraphs,
// bullets, pictures) and table rows that fit whole into the render
// rectangle's height, and the next page starts at the first character of
// the first that did not. A line or row taller than the rectangle stands
// alone on its page and is cut at the rectangle's bottom, so every call
// moves forward. Pictures larger than the rectangle are shrunk to fit it
// (width, and nine tenths of its height, leaving room for their line).
class FormatRange {
public:
    // `source` must outlive this object.
    explicit FormatRange(const QTextDocument& source);
    ~FormatRange();
    FormatRange(const FormatRange&) = delete;
    FormatRange& operator=(const FormatRange&) = delete;

    // Lays out one page from request.cpMin into request.rc. With a painter,
    // draws it there: the painter's origin is the page's top-left corner and
    // its device's logical resolution converts twips to its units. Answers
    // the first character that did not fit, at least textLength() once the
    // last character is on the page. A cpMin at or past the end lays out
    // nothing and answers textLength().
    int format(const FormatRangeRequest& request, QPainter* painter = nullptr);

    // Drops the layout kept between calls. The layout is also rebuilt when
    // the source changes or a request has another rectangle size.
    void release();

    // The number of characters of the source (QTextDocument positions: one
    // per paragraph break, none after the last paragraph).
    int textLength() const;

private:
    // A piece of the laid-out text that is never cut by a page break: one
    // line of a paragraph, one table row, or another frame.
    struct Unit {
        qreal top;     // layout units from the top of the text
        qreal bottom;
        int position;  // its first character
    };

    void layOut(int widthTwips, int heightTwips);
    // Draws the laid-out text between `top` and `bottom` (layout units),
    // starting with the line at `firstPosition`, into request.rc.
    void draw(QPainter& painter, const FormatRangeRequest& request, qreal top, qreal bottom, int firstPosition);
    void shrinkPictures(qreal maxWidth, qreal maxHeight);
    void addBlockLines(const QTextBlock& block);
    void addTableRows(QTextTable& table);
    void addFrame(QTextFrame& frame);
    // The top and bottom of the lines of every block in [from, to].
    std::pair<qreal, qreal> extent(int from, int to) const;

    const QTextDocument& source_;
    QImage metrics_;                         // 96 dpi: the device the layout measures with
    std::unique_ptr<QTextDocument> layout_;  // copy of source_ laid out for the current size; null when none
    std::vector<Unit> units_;                // of layout_, in text order; positions strictly rising
    int widthTwips_ = -1;                    // rectangle size layout_ was made for
    int heightTwips_ = -1;
    QMetaObject::Connection watch_;          // marks the layout stale when source_ changes
};

}  // namespace tamix
