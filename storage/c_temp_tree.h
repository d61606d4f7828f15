#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tamix {

// An in-memory table of (Key, Parent, NodeText) entries with a cursor and
// the node store's three searches. Entries 1 ... Count hold the data in order
// of addition (entry 0 exists and is never used); texts are kept unchanged.
// The searches compare exactly and visit entries in ascending index order;
// they answer from key and parent indexes, with the results of that linear
// search. A failed search leaves Current alone. The indexes are built by the
// first search after Init and kept current by every setter from then on, so
// filling a table that is never searched costs no index work.
class cTempTree {
public:
    cTempTree();

    // Fields of entry Current; outside 0 ... Count they fail with kErrOutOfRange.
    const std::string& Key() const;
    void Key(std::string_view key);
    const std::string& Parent() const;
    void Parent(std::string_view parent);
    const std::string& NodeText() const;
    void NodeText(std::string_view text);

    // Count := 0, only the empty entry 0 remains; Current is not changed.
    void Init();
    // Adds an empty entry; it becomes Current.
    void AddNode();
    bool FindFirstParent(std::string_view parent);
    bool FindNextParent(std::string_view parent);
    bool FindKey(std::string_view key);
    // The same search backwards: the last entry with that Parent, and the
    // last one before Current.
    bool FindLastParent(std::string_view parent);
    bool FindPreviousParent(std::string_view parent);

    // Fields of entry index (0 ... Count) without moving Current; outside
    // that range they fail with kErrOutOfRange.
    const std::string& KeyAt(std::int32_t index) const { return entry(index).key; }
    const std::string& ParentAt(std::int32_t index) const { return entry(index).parent; }
    const std::string& NodeTextAt(std::int32_t index) const { return entry(index).text; }

    std::int32_t Count() const { return count_; }
    std::int32_t Current() const { return current_; }
    // Makes entry index current (it is checked when a field is used).
    void Goto(std::int32_t index) { current_ = index; }

private:
    struct Entry {
        std::string key, parent, text;
    };
    using Index = std::unordered_map<std::string, std::vector<std::int32_t>>;  // ascending entry indices

    const Entry& entry() const { return entry(current_); }
    const Entry& entry(std::int32_t index) const;
    // Builds the indexes from entries 1 ... Count when they are not built.
    void index();
    static void add(Index& index, const std::string& value, std::int32_t i);
    static void drop(Index& index, const std::string& value, std::int32_t i);
    bool found(std::int32_t i);

    std::deque<Entry> entries_;   // indices 0 ... count_; never moved as the table grows
    std::int32_t count_ = 0;
    std::int32_t current_ = 0;
    bool indexed_ = false;        // byKey_ and byParent_ mirror entries 1 ... count_
    Index byKey_;
    Index byParent_;
};

}  // namespace tamix
