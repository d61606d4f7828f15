#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tamix {

// The header fields of every record, in storage order, as an open read them
// from the head blocks: the chunk number, the deletion mark and the name
// bytes (Key and Parent live in the node index). It lets the walk that
// follows an open visit every record without reading its head block again.
//
// A record whose header cannot be read is kept as unreadable, so that the
// walk reads that one from the file and fails there with the file's own
// error. The cache knows nothing of changes: its owner drops it before
// anything is written.
class HeaderCache {
public:
    // Empties the cache and gives its memory back.
    void clear();
    void append(std::int32_t chunk, bool deleted, std::string_view name);
    void appendUnreadable(std::int32_t chunk);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::int32_t chunk(std::size_t i) const { return entries_[i].chunk; }
    bool readable(std::size_t i) const { return entries_[i].flags & kReadable; }
    bool deleted(std::size_t i) const { return entries_[i].flags & kDeleted; }
    std::string_view name(std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : entries_[i - 1].nameEnd;
        return {names_.data() + begin, entries_[i].nameEnd - begin};
    }
    std::size_t memoryBytes() const { return entries_.capacity() * sizeof(Entry) + names_.capacity(); }

private:
    static constexpr std::uint8_t kReadable = 1;
    static constexpr std::uint8_t kDeleted = 2;

    struct Entry {
        std::int32_t chunk;
        std::uint32_t nameEnd;  // the name is names_[previous entry's nameEnd, nameEnd)
        std::uint8_t flags;
    };

    std::vector<Entry> entries_;
    std::vector<char> names_;  // every name, one after the other
};

}  // namespace tamix
