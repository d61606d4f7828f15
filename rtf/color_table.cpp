#include "rtf/color_table.h"

#include <algorithm>
#include <cstdint>

namespace tamix::rtf {

void ColorTable::word(std::string_view word, int param) {
    const auto value = std::uint8_t(std::clamp(param, 0, 255));
    if (word == "red") pending_.red = value;
    else if (word == "green") pending_.green = value;
    else if (word == "blue") pending_.blue = value;
    else return;
    pendingSet_ = true;
}

void ColorTable::text(std::string_view bytes) {
    for (char c : bytes) {
        if (c != ';') continue;
        if (entries_.size() < kMaxColors) entries_.push_back(pendingSet_ ? std::optional<Color>(pending_) : std::nullopt);
        pending_ = Color{};
        pendingSet_ = false;
    }
}

std::optional<Color> ColorTable::find(int index) const {
    if (index < 0 || std::size_t(index) >= entries_.size()) return std::nullopt;
    return entries_[std::size_t(index)];
}

}  // namespace tamix::rtf
