#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace tamix {

class cNode;

// One hyperlink of the shown note: the characters LinkStart ... LinkEnd - 1
// of the editor's text (a paragraph break counts two) are LinkText; LinkLink
// is the target, "Note:" + a node key for a link to a note.
struct LinkEntry {
    std::int32_t LinkStart = 0;
    std::int32_t LinkEnd = 0;
    QString LinkText;
    QString LinkLink;

    bool operator==(const LinkEntry&) const = default;
};

// The link table of the note shown in the editor, entries 1 ... Count() in
// the order they were added. It is emptied when another note is chosen,
// filled from the note's record after its body is loaded, and written into
// the record before the body is saved.
class LinkTable {
public:
    // The table has room for this many links; adding stops there.
    static constexpr int kMaxLinks = 100;

    int Count() const { return static_cast<int>(entries_.size()); }
    bool Full() const { return Count() >= kMaxLinks; }
    // Entry i, 1-based; i must be in 1 ... Count().
    LinkEntry& operator[](int i) { return entries_[static_cast<std::size_t>(i - 1)]; }
    const LinkEntry& operator[](int i) const { return entries_[static_cast<std::size_t>(i - 1)]; }
    const std::vector<LinkEntry>& entries() const { return entries_; }

    void Clear() { entries_.clear(); }
    // Appends an entry and answers its index; 0 when the table is full.
    int Add(const LinkEntry& entry);
    // Removes entry i; the later entries move down by one place.
    void Remove(int i);

    // Reads the current record's link entries. A record written elsewhere
    // with more than kMaxLinks entries is read whole (so saving writes back
    // what was there), but nothing more can be added to it.
    void Load(cNode& node);
    // Writes the entries into the current record (saved with its body).
    void Save(cNode& node) const;

private:
    std::vector<LinkEntry> entries_;
};

}  // namespace tamix
