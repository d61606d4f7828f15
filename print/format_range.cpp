#include "print/format_range.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <algorithm>
#include <limits>

namespace tamix {
namespace {

constexpr qreal kLayoutDpi = 96.0;
constexpr qreal kTwipsPerUnit = 1440.0 / kLayoutDpi;
constexpr qreal kPictureHeightShare = 0.9;  // of the rectangle, the rest is left for the picture's line

QImage metricsDevice() {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

}  // namespace

FormatRange::FormatRange(const QTextDocument& source) : source_(source), metrics_(metricsDevice()) {
    watch_ = QObject::connect(&source_, &QTextDocument::contentsChanged, [this] { release(); });
}

FormatRange::~FormatRange() { QObject::disconnect(watch_); }

void FormatRange::release() {
    layout_.reset();
    units_.clear();
    widthTwips_ = heightTwips_ = -1;
}

int FormatRange::textLength() const { return std::max(0, source_.characterCount() - 1); }

int FormatRange::format(const FormatRangeRequest& request, QPainter* painter) {
    const int length = textLength();
    const int start = std::max(0, request.cpMin);
    if (start >= length) return length;
    const int width = std::max(1, request.rc.width());
    const int height = std::max(1, request.rc.height());
    if (!layout_ || width != widthTwips_ || height != heightTwips_) layOut(width, height);
    if (units_.empty()) return length;

    // The unit holding `start`, then every following unit that still fits.
    auto first = std::upper_bound(units_.begin(), units_.end(), start,
                                  [](int position, const Unit& u) { return position < u.position; });
    if (first != units_.begin()) --first;
    const qreal top = first->top;
    const qreal room = height / kTwipsPerUnit;
    auto end = first + 1;
    while (end != units_.end() && end->bottom - top <= room && (request.cpMax < 0 || end->position <= request.cpMax))
        ++end;
    const int next = end == units_.end() ? length : std::max(end->position, start + 1);

    if (painter) {
        const qreal clipBottom = std::min(top + room, end == units_.end() ? top + room : end->top);
        draw(*painter, request, top, clipBottom, first->position);
    }
    return std::min(next, length);
}

void FormatRange::draw(QPainter& painter, const FormatRangeRequest& request, qreal top, qreal bottom,
                       int firstPosition) {
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / kLayoutDpi, device->logicalDpiY() / kLayoutDpi);
    painter.translate(request.rc.left / kTwipsPerUnit, request.rc.top / kTwipsPerUnit - top);
    // Wide enough for whatever stands out of the rectangle sideways, on the page.
    const QRectF clip(-request.rc.left / kTwipsPerUnit, top,
                      std::max(request.rcPage.width(), request.rc.width()) / kTwipsPerUnit, bottom - top);
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.setPen(Qt::black);

    // A paragraph continued from the page before: its lines on this page are
    // drawn one by one, because a whole paragraph's drawing also puts the
    // line before the clip into the output (hidden, but a PDF keeps its
    // text). Such a paragraph has no bullet or border left to draw.
    qreal flowTop = top;
    const QTextBlock block = layout_->findBlock(firstPosition);
    if (block.isValid() && firstPosition != block.position() && !QTextCursor(block).currentTable()) {
        const QRectF box = layout_->documentLayout()->blockBoundingRect(block);
        const QTextLayout* text = block.layout();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            if (block.position() + line.textStart() < firstPosition) continue;
            if (box.top() + line.y() >= bottom) break;
            line.draw(&painter, box.topLeft());
        }
        flowTop = box.bottom();
    }

    if (flowTop < bottom) {
        // Lines that only touch the page's edges (their measured height may
        // fall short of their drawn one by a fraction) belong to the pages
        // beside it: leaving them out of the pass, not only clipping them,
        // keeps their text out of this page's PDF content.
        const qreal inset = std::min<qreal>(2, (bottom - flowTop) / 4);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(clip.left(), flowTop + (flowTop > top ? 0.01 : inset), clip.width(),
                              bottom - flowTop - (flowTop > top ? 0.01 : inset) - inset);
        context.palette.setColor(QPalette::Text, Qt::black);
        layout_->documentLayout()->draw(&painter, context);
    }
    painter.restore();
}

void FormatRange::layOut(int widthTwips, int heightTwips) {
    release();
    layout_.reset(source_.clone());
    layout_->setUndoRedoEnabled(false);
    layout_->documentLayout()->setPaintDevice(&metrics_);
    layout_->setDocumentMargin(0);
    const qreal width = widthTwips / kTwipsPerUnit;
    shrinkPictures(width, heightTwips / kTwipsPerUnit * kPictureHeightShare);
    layout_->setTextWidth(width);
    widthTwips_ = widthTwips;
    heightTwips_ = heightTwips;

    QTextFrame* root = layout_->rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) addTableRows(*table);
            else addFrame(*frame);
        } else {
            addBlockLines(it.currentBlock());
        }
    }
}

void FormatRange::shrinkPictures(qreal maxWidth, qreal maxHeight) {
    QTextCursor cursor(layout_.get());
    for (QTextBlock block = layout_->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const qreal w = image.width(), h = image.height();
            if (w <= 0 || h <= 0 || (w <= maxWidth && h <= maxHeight)) continue;
            const qreal factor = std::min(maxWidth / w, maxHeight / h);
            image.setWidth(w * factor);
            image.setHeight(h * factor);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

void FormatRange::addBlockLines(const QTextBlock& block) {
    const QTextLayout* text = block.layout();
    const QRectF box = layout_->documentLayout()->blockBoundingRect(block);
    const qreal originY = box.top();  // where the document layout puts the block's layout
    for (int i = 0; i < text->lineCount(); ++i) {
        const QTextLine line = text->lineAt(i);
        const qreal top = originY + line.y();
        units_.push_back({top, top + line.height(), block.position() + line.textStart()});
    }
    if (text->lineCount() == 0) units_.push_back({box.top(), box.bottom(), block.position()});
}

std::pair<qreal, qreal> FormatRange::extent(int from, int to) const {
    qreal top = std::numeric_limits<qreal>::max(), bottom = std::numeric_limits<qreal>::lowest();
    for (QTextBlock block = layout_->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const QRectF box = layout_->documentLayout()->blockBoundingRect(block);
        top = std::min(top, box.top());
        bottom = std::max(bottom, box.bottom());
    }
    return {top, bottom};
}

void FormatRange::addTableRows(QTextTable& table) {
    const QRectF frame = layout_->documentLayout()->frameBoundingRect(&table);
    const int rows = table.rows(), columns = table.columns();
    std::vector<std::pair<qreal, qreal>> content;
    std::vector<int> positions;
    for (int r = 0; r < rows; ++r) {
        const int from = table.cellAt(r, 0).firstPosition();
        content.push_back(extent(from, table.cellAt(r, columns - 1).lastPosition()));
        positions.push_back(from);
    }
    // Rows meet halfway between the text of one and the text of the next, so
    // a cut between them runs through the space that separates them.
    for (int r = 0; r < rows; ++r) {
        const qreal top = r == 0 ? frame.top() : (content[r - 1].second + content[r].first) / 2;
        const qreal bottom = r == rows - 1 ? frame.bottom() : (content[r].second + content[r + 1].first) / 2;
        if (!units_.empty() && positions[r] <= units_.back().position) continue;
        units_.push_back({top, std::max(top, bottom), positions[r]});
    }
}

void FormatRange::addFrame(QTextFrame& frame) {
    const QRectF box = layout_->documentLayout()->frameBoundingRect(&frame);
    if (!units_.empty() && frame.firstPosition() <= units_.back().position) return;
    units_.push_back({box.top(), box.bottom(), frame.firstPosition()});
}

}  // namespace tamix
