#pragma once

#include <QString>

namespace tamix::controls {

// Finding text in the editor's plain text (paragraph breaks "\r\n").
class TextSearch {
public:
    static constexpr int kWholeWord = 2;
    static constexpr int kMatchCase = 4;

    // The position of the first match of `what` that lies inside
    // [start, end) of `text` (end -1 = the end), or -1. kMatchCase compares
    // letter case, kWholeWord wants no letter, digit or "_" on either side.
    // A match never begins or ends between the "\r" and "\n" of a break.
    static int find(const QString& text, const QString& what, int start, int end, int flags);
};

}  // namespace tamix::controls
