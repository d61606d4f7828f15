#pragma once

#include <QString>

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
    SearchMatcher(QString what, int flags) : what_(std::move(what)), flags_(flags) {}

    // True when `text` (an editor text) holds at least one hit.
    bool holdsHit(const QString& text) const;
    // Every hit in `text` as the editor steps through them: each next search
    // starts one character after the previous hit's start, so overlapping
    // hits are all listed, in increasing order.
    std::vector<int> hits(const QString& text) const;

    const QString& what() const { return what_; }
    int flags() const { return flags_; }

private:
    QString what_;  // an empty text matches nowhere
    int flags_;
};

}  // namespace tamix
