#include "storage/node_index.h"

#include <algorithm>
#include <cstring>

namespace tamix {

void NodeIndex::clear() {
    entries_.clear();
    freeSlots_.clear();
    slotOfChunk_.clear();
    for (Table& t : tables_) {
        t.cells.clear();
        t.used = 0;
    }
    nextOrder_ = 1;
}

void NodeIndex::reserveChunks(std::int32_t blocks) {
    if (blocks >= 0 && static_cast<std::size_t>(blocks) >= slotOfChunk_.size())
        slotOfChunk_.resize(static_cast<std::size_t>(blocks) + 1, kNone);
}

std::size_t NodeIndex::hash(std::string_view value) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : value) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return static_cast<std::size_t>(h ^ (h >> 29));
}

bool NodeIndex::matches(std::uint32_t slot, Field f, std::string_view value) const {
    return std::memcmp(entries_[slot].field[f], value.data(), kFieldLength) == 0;
}

std::uint32_t NodeIndex::findHead(Field f, std::string_view value) const {
    const Table& t = tables_[f];
    if (value.size() != kFieldLength || t.cells.empty()) return kNone;
    const std::size_t mask = t.cells.size() - 1;
    for (std::size_t i = hash(value) & mask; t.cells[i] != kNone; i = (i + 1) & mask)
        if (matches(t.cells[i], f, value)) return t.cells[i];
    return kNone;
}

std::size_t NodeIndex::findCell(Field f, std::uint32_t head) const {
    const Table& t = tables_[f];
    const std::size_t mask = t.cells.size() - 1;
    std::size_t i = hash(fieldOf(head, f)) & mask;
    while (t.cells[i] != head) i = (i + 1) & mask;
    return i;
}

void NodeIndex::insertHead(Field f, std::uint32_t head) {
    Table& t = tables_[f];
    if ((t.used + 1) * 2 > t.cells.size()) {
        std::vector<std::uint32_t> old = std::move(t.cells);
        t.cells.assign(std::max<std::size_t>(16, old.size() * 2), kNone);
        t.used = 0;
        for (std::uint32_t h : old)
            if (h != kNone) insertHead(f, h);
    }
    const std::size_t mask = t.cells.size() - 1;
    std::size_t i = hash(fieldOf(head, f)) & mask;
    while (t.cells[i] != kNone) i = (i + 1) & mask;
    t.cells[i] = head;
    ++t.used;
}

void NodeIndex::eraseCell(Field f, std::size_t cell) {
    // Backward-shift deletion keeps every probe sequence unbroken.
    Table& t = tables_[f];
    const std::size_t mask = t.cells.size() - 1;
    std::size_t hole = cell;
    for (std::size_t i = (cell + 1) & mask; t.cells[i] != kNone; i = (i + 1) & mask) {
        const std::size_t home = hash(fieldOf(t.cells[i], f)) & mask;
        // Move the cell back when its home does not lie in (hole, i].
        const bool between = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
        if (!between) {
            t.cells[hole] = t.cells[i];
            hole = i;
        }
    }
    t.cells[hole] = kNone;
    --t.used;
}

void NodeIndex::link(Field f, std::uint32_t slot) {
    Entry& e = entries_[slot];
    const std::uint32_t head = findHead(f, fieldOf(slot, f));
    if (head == kNone) {
        e.next[f] = e.prev[f] = slot;
        insertHead(f, slot);
        return;
    }
    // Usually the new record is the last in storage order: append at the tail.
    std::uint32_t after = entries_[head].prev[f];
    if (entries_[after].order > e.order) {
        std::uint32_t before = head;
        while (entries_[before].order < e.order) before = entries_[before].next[f];
        after = entries_[before].prev[f];
        if (before == head) tables_[f].cells[findCell(f, head)] = slot;
    }
    const std::uint32_t before = entries_[after].next[f];
    e.prev[f] = after;
    e.next[f] = before;
    entries_[after].next[f] = slot;
    entries_[before].prev[f] = slot;
}

void NodeIndex::unlink(Field f, std::uint32_t slot) {
    Entry& e = entries_[slot];
    const std::size_t cell = findCell(f, findHead(f, fieldOf(slot, f)));
    const bool isHead = tables_[f].cells[cell] == slot;
    if (e.next[f] == slot) {
        eraseCell(f, cell);
        return;
    }
    entries_[e.prev[f]].next[f] = e.next[f];
    entries_[e.next[f]].prev[f] = e.prev[f];
    if (isHead) tables_[f].cells[cell] = e.next[f];
}

std::uint32_t NodeIndex::slotOf(std::int32_t chunk) const {
    if (chunk <= 0 || static_cast<std::size_t>(chunk) >= slotOfChunk_.size()) return kNone;
    return slotOfChunk_[chunk];
}

void NodeIndex::append(std::int32_t chunk, std::string_view key, std::string_view parent) {
    std::uint32_t slot;
    if (!freeSlots_.empty()) {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        slot = static_cast<std::uint32_t>(entries_.size());
        entries_.emplace_back();
    }
    Entry& e = entries_[slot];
    e.chunk = chunk;
    e.order = nextOrder_++;
    std::memcpy(e.field[kKey], key.data(), kFieldLength);
    std::memcpy(e.field[kParent], parent.data(), kFieldLength);
    if (static_cast<std::size_t>(chunk) >= slotOfChunk_.size())
        slotOfChunk_.resize(std::max<std::size_t>(chunk + 1, slotOfChunk_.size() * 3 / 2), kNone);
    slotOfChunk_[chunk] = slot;
    link(kKey, slot);
    link(kParent, slot);
}

void NodeIndex::replace(std::int32_t oldChunk, std::int32_t newChunk, std::string_view key,
                        std::string_view parent) {
    const std::uint32_t slot = slotOf(oldChunk);
    if (slot == kNone) return;
    Entry& e = entries_[slot];
    slotOfChunk_[oldChunk] = kNone;
    e.chunk = newChunk;
    if (static_cast<std::size_t>(newChunk) >= slotOfChunk_.size())
        slotOfChunk_.resize(std::max<std::size_t>(newChunk + 1, slotOfChunk_.size() * 3 / 2), kNone);
    slotOfChunk_[newChunk] = slot;
    const std::string_view values[2] = {key, parent};
    for (Field f : {kKey, kParent}) {
        if (matches(slot, f, values[f])) continue;
        unlink(f, slot);
        std::memcpy(e.field[f], values[f].data(), kFieldLength);
        link(f, slot);
    }
}

void NodeIndex::remove(std::int32_t chunk) {
    const std::uint32_t slot = slotOf(chunk);
    if (slot == kNone) return;
    unlink(kKey, slot);
    unlink(kParent, slot);
    slotOfChunk_[chunk] = kNone;
    entries_[slot].chunk = 0;
    freeSlots_.push_back(slot);
}

std::int32_t NodeIndex::firstWithKey(std::string_view key) const {
    const std::uint32_t head = findHead(kKey, key);
    return head == kNone ? 0 : entries_[head].chunk;
}

std::int32_t NodeIndex::firstWithParent(std::string_view parent) const {
    const std::uint32_t head = findHead(kParent, parent);
    return head == kNone ? 0 : entries_[head].chunk;
}

std::int32_t NodeIndex::nextWithParent(std::string_view parent, std::int32_t after) const {
    const std::uint32_t from = slotOf(after);
    const std::uint32_t head = findHead(kParent, parent);
    if (from == kNone || head == kNone) return 0;
    if (matches(from, kParent, parent)) {
        const std::uint32_t next = entries_[from].next[kParent];
        return next == head ? 0 : entries_[next].chunk;
    }
    const std::uint32_t order = entries_[from].order;
    if (entries_[entries_[head].prev[kParent]].order < order) return 0;
    std::uint32_t s = head;
    while (entries_[s].order < order) s = entries_[s].next[kParent];
    return entries_[s].chunk;
}

std::size_t NodeIndex::memoryBytes() const {
    return entries_.capacity() * sizeof(Entry) + freeSlots_.capacity() * sizeof(std::uint32_t) +
           slotOfChunk_.capacity() * sizeof(std::uint32_t) +
           (tables_[0].cells.capacity() + tables_[1].cells.capacity()) * sizeof(std::uint32_t);
}

void NodeIndex::shrink() {
    entries_.shrink_to_fit();
    freeSlots_.shrink_to_fit();
}

}  // namespace tamix
