#pragma once

#include <QString>

#include <cstdint>
#include <string_view>
#include <vector>

namespace tamix {
class cNode;
}

namespace tamix::links {

// Checks a note's link table against the note's text. Link i (1-based) is
// sound when i <= kMaxLinks, end == start + text.size(), [start, end) lies
// inside the editor's plain text (rtf::EditorText), and the characters there
// are its text exactly. Overlapping links are not a fault here.
class LinkCheck {
public:
    static constexpr int kMaxLinks = 100;

    // One entry of a link table, as the window and the store hold it.
    struct Entry {
        std::int32_t start = 0;
        std::int32_t end = 0;
        QString text;
        QString target;
    };

    // The rule a bad entry breaks; an entry reports only the first it breaks,
    // in this order.
    enum class Problem {
        TooMany,  // its index is past kMaxLinks
        End,      // end != start + text.size()
        Range,    // [start, end) is not inside the text
        Text,     // the characters at [start, end) are not its text
    };

    // A bad entry: its index (1-based), the rule, and one line each of what
    // the rule expects and what stands there instead (texts quoted, with
    // control characters and U+FFFC written as escapes).
    struct Finding {
        int index = 0;
        Problem problem = Problem::Text;
        QString expected;
        QString found;
    };

    // The bad entries of `entries` (entries[0] is link 1) over `text`, the
    // editor's plain text, in index order.
    static std::vector<Finding> check(const QString& text, const std::vector<Entry>& entries);

    // check() over the plain text of an RTF body. Needs a QGuiApplication.
    static std::vector<Finding> checkBody(std::string_view rtf, const std::vector<Entry>& entries);

    // The link table of the node store's current record, link 1 first.
    static std::vector<Entry> entries(cNode& node);
};

}  // namespace tamix::links
