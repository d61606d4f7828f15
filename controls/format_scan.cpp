#include "controls/format_scan.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace tamix::controls {

bool FormatScan::chars(const QTextDocument& document, int from, int to,
                       const std::function<bool(const QTextCharFormat&)>& visit) {
    bool any = false;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            int start = fragment.position();
            int end = start + fragment.length();
            if (std::max(start, from) >= std::min(end, to)) {
                continue;
            }
            any = true;
            if (!visit(fragment.charFormat())) {
                return true;
            }
        }
    }
    return any;
}

void FormatScan::blocks(const QTextDocument& document, int from, int to,
                        const std::function<bool(const QTextBlock&)>& visit) {
    QTextBlock last = document.findBlock(to);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        if (!visit(block) || block == last) {
            return;
        }
    }
}

}  // namespace tamix::controls
