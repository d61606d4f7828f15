#include "print/page_engine.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>

namespace tamix {
namespace {

void processPendingEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace

PageEngine::PageEngine(const QTextDocument& document, const PageMargins& margins)
    : margins_(margins), range_(document) {}

FormatRangeRequest PageEngine::request(const QSize& pageTwips) const {
    FormatRangeRequest r;
    r.rcPage = PageMargins::pageRect(pageTwips.width(), pageTwips.height());
    r.rc = margins_.renderRect(pageTwips.width(), pageTwips.height());
    return r;
}

int PageEngine::drawPage(QPainter& painter, const QSize& pageTwips, int page) {
    FormatRangeRequest r = request(pageTwips);
    const int length = range_.textLength();
    int counter = 1;
    for (;;) {
        if (counter >= page) break;
        const int next = range_.format(r);
        if (next >= length) break;
        r.cpMin = next;
        ++counter;
        processPendingEvents();
    }
    range_.format(r, &painter);
    return counter;
}

int PageEngine::pageCount(const QSize& pageTwips) {
    FormatRangeRequest r = request(pageTwips);
    const int length = range_.textLength();
    int counter = 1;
    for (;;) {
        const int next = range_.format(r);
        if (next >= length) break;
        r.cpMin = next;
        ++counter;
        processPendingEvents();
    }
    return counter;
}

int PageEngine::printPages(QPagedPaintDevice& device, const QSize& pageTwips, int first, int last) {
    FormatRangeRequest r = request(pageTwips);
    const int length = range_.textLength();
    int next = 0;
    int counter = 1;
    // Skip the pages before the range by measuring them only.
    while (counter < first) {
        next = range_.format(r);
        if (next >= length) break;
        r.cpMin = next;
        ++counter;
        processPendingEvents();
    }
    if (next >= length || r.cpMin >= length) return 0;

    QPainter painter;
    if (!painter.begin(&device)) return 0;
    int printed = 0;
    for (;;) {
        next = range_.format(r, &painter);
        ++printed;
        if (next >= length || counter == last) break;
        r.cpMin = next;
        if (!device.newPage()) break;
        ++counter;
        processPendingEvents();
    }
    painter.end();
    return printed;
}

}  // namespace tamix
