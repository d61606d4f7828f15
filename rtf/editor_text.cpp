#include "rtf/editor_text.h"

#include "rtf/text_document_adapter.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tamix::rtf {

QString EditorText::text(const QTextDocument& document, int from, int to) {
    // The last position is the end of the text, before the final block's
    // implicit terminator.
    const int end = std::max(0, document.characterCount() - 1);
    if (to < 0 || to > end) to = end;
    from = std::clamp(from, 0, end);
    QString out;
    if (from >= to) return out;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int start = block.position();
        const int separator = start + block.length() - 1;
        const int s = std::max(start, from);
        const int e = std::min(separator, to);
        if (s < e) {
            QString part = block.text().mid(s - start, e - s);
            part.replace(QChar::LineSeparator, QLatin1Char('\v'));
            out += part;
        }
        if (separator < to) out += QLatin1String("\r\n");
    }
    return out;
}

QString EditorText::fromRtf(std::string_view rtf) {
    QTextDocument document;
    TextDocumentAdapter::loadRtf(rtf, document);
    return text(document);
}

}  // namespace tamix::rtf
