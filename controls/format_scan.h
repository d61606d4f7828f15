#pragma once

#include <functional>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;

namespace tamix::controls {

// Walks the formats of a range of a QTextDocument (document positions).
class FormatScan {
public:
    // Calls `visit` with the format of every run of characters in [from, to);
    // paragraph breaks are not characters here. Stops when `visit` answers
    // false. Answers whether any character was visited.
    static bool chars(const QTextDocument& document, int from, int to,
                      const std::function<bool(const QTextCharFormat&)>& visit);

    // Calls `visit` with every block from the one holding `from` to the one
    // holding `to`, both included. Stops when `visit` answers false.
    static void blocks(const QTextDocument& document, int from, int to,
                       const std::function<bool(const QTextBlock&)>& visit);
};

}  // namespace tamix::controls
