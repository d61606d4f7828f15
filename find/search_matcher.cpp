#include "find/search_matcher.h"

#include "controls/text_search.h"

namespace tamix {

bool SearchMatcher::holdsHit(const QString& text) const {
    return controls::TextSearch::find(text, what_, 0, -1, flags_) >= 0;
}

std::vector<int> SearchMatcher::hits(const QString& text) const {
    std::vector<int> out;
    for (int from = 0;;) {
        const int hit = controls::TextSearch::find(text, what_, from, -1, flags_);
        if (hit < 0) return out;
        out.push_back(hit);
        from = hit + 1;
    }
}

}  // namespace tamix
