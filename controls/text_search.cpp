#include "controls/text_search.h"

#include <algorithm>

namespace tamix::controls {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

}  // namespace

int TextSearch::find(const QString& text, const QString& what, int start, int end, int flags) {
    if (what.isEmpty()) {
        return -1;
    }
    const int total = static_cast<int>(text.size());
    start = std::clamp(start, 0, total);
    if (end < 0 || end > total) {
        end = total;
    }
    const Qt::CaseSensitivity cs = (flags & kMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int n = static_cast<int>(what.size());
    auto splitsBreak = [&](int pos) {
        return pos > 0 && pos < total && text.at(pos) == QLatin1Char('\n') &&
               text.at(pos - 1) == QLatin1Char('\r');
    };
    for (int from = start;;) {
        const int hit = static_cast<int>(text.indexOf(what, from, cs));
        if (hit < 0 || hit + n > end) {
            return -1;
        }
        const int stop = hit + n;
        bool ok = !splitsBreak(hit) && !splitsBreak(stop);
        if (ok && (flags & kWholeWord)) {
            ok = (hit == 0 || !isWordChar(text.at(hit - 1))) && (stop == total || !isWordChar(text.at(stop)));
        }
        if (ok) {
            return hit;
        }
        from = hit + 1;
    }
}

}  // namespace tamix::controls
