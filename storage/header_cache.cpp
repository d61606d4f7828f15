#include "storage/header_cache.h"

namespace tamix {

void HeaderCache::clear() {
    std::vector<Entry>().swap(entries_);
    std::vector<char>().swap(names_);
}

void HeaderCache::append(std::int32_t chunk, bool deleted, std::string_view name) {
    // Offsets are 32-bit; a store too large for them keeps the rest unread.
    if (names_.size() + name.size() > UINT32_MAX) {
        appendUnreadable(chunk);
        return;
    }
    names_.insert(names_.end(), name.begin(), name.end());
    entries_.push_back({chunk, static_cast<std::uint32_t>(names_.size()),
                        static_cast<std::uint8_t>(kReadable | (deleted ? kDeleted : 0))});
}

void HeaderCache::appendUnreadable(std::int32_t chunk) {
    entries_.push_back({chunk, static_cast<std::uint32_t>(names_.size()), 0});
}

}  // namespace tamix
