#pragma once

#include "print/format_range.h"
#include "print/page_margins.h"

#include <QSize>

class QPagedPaintDevice;
class QPainter;
class QTextDocument;

namespace tamix {

// Pages of a document on pages of a given size in twips, with the margins:
// the page loops of the preview and the printer over one FormatRange, so
// both cut the text at the same characters. Between pages the loops let the
// application handle pending events other than user input, so the window
// keeps painting during a long pass while no command can run in the middle
// of it.
class PageEngine {
public:
    // `document` and `margins` must outlive the engine.
    PageEngine(const QTextDocument& document, const PageMargins& margins);

    // The layout request of the first page on a page of `pageTwips`.
    FormatRangeRequest request(const QSize& pageTwips) const;

    // Draws page `page` (from 1) on `painter`, whose origin is the page's
    // top-left corner; past the last page, the last page. Answers the page
    // drawn. An empty text draws nothing.
    int drawPage(QPainter& painter, const QSize& pageTwips, int page);

    // The number of pages the text fills, at least 1.
    int pageCount(const QSize& pageTwips);

    // Prints pages `first` to `last` (from 1) on `device`, one sheet each,
    // stopping at the end of the text; a `last` below `first` prints to the
    // end. The device is opened only when the range holds text, so an empty
    // text, or a range starting past the last page, leaves it untouched.
    // `device` must measure its page as `pageTwips` with the painter's
    // origin at the sheet's corner. Answers the number of pages printed (0
    // also when the device cannot be opened).
    int printPages(QPagedPaintDevice& device, const QSize& pageTwips, int first, int last);

    // Drops the layout kept between passes.
    void release() { range_.release(); }
    FormatRange& range() { return range_; }

private:
    const PageMargins& margins_;
    FormatRange range_;
};

}  // namespace tamix
