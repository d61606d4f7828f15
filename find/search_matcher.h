#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace tamix {

// What a search looks for and how, matched with exactly the note editor's
// rules (controls::TextSearch, which RichTextBox::Find uses), so that a note
// this matcher finds a hit in is a note the editor finds it in, at the same
// positions.
class SearchMatcher {
public:
    // `flags`: RichTextBox::kFindWholeWord plus kFindMatchCase, as summed in
    // the find state's SearchFlags.
    SearchMatcher(QString what, int flags);

    // True when `text` (an editor text) holds at least one hit.
    bool holdsHit(const QString& text) const;
    // Every hit in `text` as the editor steps through them: each next search
    // starts one character after the previous hit's start, so overlapping
    // hits are all listed, in increasing order.
    std::vector<int> hits(const QString& text) const;

    // Whether a stored body's editor text (BodyText) holds a hit. Bodies
    // that cannot hold one are told from their bytes alone, without reading
    // them as RTF: see bodyMayHoldHit.
    bool bodyHoldsHit(std::string_view storedBody) const;
    // False only when the body surely holds no hit: a letter or digit of the
    // search text that only ASCII characters match (under the case rule in
    // force) appears in the text only where its byte, or an escape \'hh or
    // \uN of its value, stands in the RTF; when none of them does for one of
    // those characters, no hit can exist. A necessary condition, never a
    // sufficient one.
    bool bodyMayHoldHit(std::string_view storedBody) const;

    const QString& what() const { return what_; }
    int flags() const { return flags_; }

private:
    QString what_;  // an empty text matches nowhere
    int flags_;
    // For each distinct letter or digit of what_ that no non-ASCII character
    // matches: the ASCII bytes that match it (both cases unless case is
    // matched). A body must hold one of each group for a hit.
    std::vector<std::string> anchors_;
};

}  // namespace tamix
