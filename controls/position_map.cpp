#include "controls/position_map.h"

#include "rtf/editor_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace tamix::controls {

namespace {

// Last document position: the end of the text, before the final block's
// implicit terminator.
int documentEnd(const QTextDocument& document) {
    return std::max(0, document.characterCount() - 1);
}

}  // namespace

int PositionMap::toControl(const QTextDocument& document, int documentPosition) {
    int pos = std::clamp(documentPosition, 0, documentEnd(document));
    // Every block before the one holding pos contributes one extra character.
    return pos + document.findBlock(pos).blockNumber();
}

int PositionMap::toDocument(const QTextDocument& document, int position) {
    if (position <= 0) {
        return 0;
    }
    if (position >= length(document)) {
        return documentEnd(document);
    }
    // Block k starts at editor position block.position() + k; find the last
    // block starting at or before `position`.
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        int mid = low + (high - low + 1) / 2;
        QTextBlock block = document.findBlockByNumber(mid);
        if (block.position() + mid <= position) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    QTextBlock block = document.findBlockByNumber(low);
    int offset = position - (block.position() + low);
    int textLength = block.length() - 1;
    return block.position() + std::min(offset, textLength);
}

int PositionMap::length(const QTextDocument& document) {
    return documentEnd(document) + document.blockCount() - 1;
}

QString PositionMap::text(const QTextDocument& document, int from, int to) {
    return rtf::EditorText::text(document, from, to);
}

}  // namespace tamix::controls
