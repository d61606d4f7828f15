#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tamix {

// A hash index from strings to non-negative 32-bit ids, for tables that
// already hold their strings: the index keeps only the ids (open addressing,
// never more than half full) and asks `text(id)` for the string an id stands
// for, so the owner must keep every added string unchanged while the index
// is in use.
class StringIds {
public:
    using Text = std::function<std::string_view(std::int32_t id)>;

    // Sized for `expected` strings; it grows past that as needed.
    StringIds(std::size_t expected, Text text);

    // The id of s, or -1 when s has none.
    std::int32_t find(std::string_view s) const { return cells_[cell(s)]; }
    // The id of s; when s has none yet it gets `id` (not negative).
    std::int32_t add(std::string_view s, std::int32_t id);
    std::size_t size() const { return used_; }

private:
    // The cell holding s, or the empty cell where s belongs.
    std::size_t cell(std::string_view s) const;
    void grow();

    Text text_;
    std::vector<std::int32_t> cells_;  // ids; -1 = empty; size a power of two
    std::size_t used_ = 0;
};

}  // namespace tamix
