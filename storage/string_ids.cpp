#include "storage/string_ids.h"

namespace tamix {

StringIds::StringIds(std::size_t expected, Text text) : text_(std::move(text)) {
    std::size_t n = 16;
    while (n < 2 * expected) n *= 2;
    cells_.assign(n, -1);
}

std::size_t StringIds::cell(std::string_view s) const {
    const std::size_t mask = cells_.size() - 1;
    std::size_t i = std::hash<std::string_view>()(s) & mask;
    while (cells_[i] >= 0 && text_(cells_[i]) != s) i = (i + 1) & mask;
    return i;
}

std::int32_t StringIds::add(std::string_view s, std::int32_t id) {
    std::size_t i = cell(s);
    if (cells_[i] >= 0) return cells_[i];
    if (2 * (used_ + 1) > cells_.size()) {
        grow();
        i = cell(s);
    }
    cells_[i] = id;
    ++used_;
    return id;
}

void StringIds::grow() {
    std::vector<std::int32_t> old(2 * cells_.size(), -1);
    old.swap(cells_);
    const std::size_t mask = cells_.size() - 1;
    for (std::int32_t id : old) {
        if (id < 0) continue;
        std::size_t i = std::hash<std::string_view>()(text_(id)) & mask;
        while (cells_[i] >= 0) i = (i + 1) & mask;
        cells_[i] = id;
    }
}

}  // namespace tamix
