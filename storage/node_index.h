#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tamix {

// The in-memory key and parent indexes of a node store: for every record its
// chunk number, its 11-byte Key and Parent, and its place in storage order.
// Records with the same Key (and those with the same Parent) form a group
// kept in storage order, so "the first record with this key" and "the next
// child of this parent after record r" are answered without a scan, exactly
// as a scan in storage order would answer them.
//
// Memory is about 80 bytes per record: a 48-byte entry, a slot per block and
// two open-addressing tables of group heads at most half full.
class NodeIndex {
public:
    static constexpr std::size_t kFieldLength = 11;

    void clear();
    // Makes room for records at chunks up to `blocks` at once, so that a
    // bulk build does not grow the chunk table step by step.
    void reserveChunks(std::int32_t blocks);
    // Adds a record at the end of storage order.
    void append(std::int32_t chunk, std::string_view key, std::string_view parent);
    // The record at oldChunk moved to newChunk and may have a new Key or
    // Parent; it keeps its place in storage order.
    void replace(std::int32_t oldChunk, std::int32_t newChunk, std::string_view key, std::string_view parent);
    void remove(std::int32_t chunk);

    // The chunk of the first record in storage order with that Key, 0 if none.
    std::int32_t firstWithKey(std::string_view key) const;
    // The chunk of the first record with that Parent, 0 if none.
    std::int32_t firstWithParent(std::string_view parent) const;
    // The chunk of the first record after the record at chunk `after` (in
    // storage order) with that Parent, 0 if none.
    std::int32_t nextWithParent(std::string_view parent, std::int32_t after) const;

    // The Key and Parent held for the record at chunk; empty when there is none.
    std::string_view keyOf(std::int32_t chunk) const { return fieldOfChunk(chunk, kKey); }
    std::string_view parentOf(std::int32_t chunk) const { return fieldOfChunk(chunk, kParent); }

    std::size_t size() const { return entries_.size() - freeSlots_.size(); }
    std::size_t memoryBytes() const;
    // Gives back spare capacity after a bulk build.
    void shrink();

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    enum Field { kKey = 0, kParent = 1 };

    struct Entry {
        std::int32_t chunk;
        std::uint32_t order;            // rises with storage order
        char field[2][kFieldLength];    // Key, Parent
        std::uint32_t next[2];          // circular group links; the head's prev is the tail
        std::uint32_t prev[2];
    };

    struct Table {
        std::vector<std::uint32_t> cells;  // group heads; kNone = empty; never more than half full
        std::size_t used = 0;
    };

    static std::size_t hash(std::string_view value);
    bool matches(std::uint32_t slot, Field f, std::string_view value) const;
    std::uint32_t findHead(Field f, std::string_view value) const;
    std::size_t findCell(Field f, std::uint32_t head) const;
    void insertHead(Field f, std::uint32_t head);
    void eraseCell(Field f, std::size_t cell);
    void link(Field f, std::uint32_t slot);
    void unlink(Field f, std::uint32_t slot);
    std::uint32_t slotOf(std::int32_t chunk) const;
    std::string_view fieldOfChunk(std::int32_t chunk, Field f) const {
        const std::uint32_t slot = slotOf(chunk);
        return slot == kNone ? std::string_view() : fieldOf(slot, f);
    }
    std::string_view fieldOf(std::uint32_t slot, Field f) const {
        return {entries_[slot].field[f], kFieldLength};
    }

    std::vector<Entry> entries_;
    std::vector<std::uint32_t> freeSlots_;   // entries_ slots not in use
    std::vector<std::uint32_t> slotOfChunk_; // chunk number -> slot, kNone if none
    Table tables_[2];
    std::uint32_t nextOrder_ = 1;
};

}  // namespace tamix
