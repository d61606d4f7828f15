#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// The colour table of a document being read: entries by index, each either a
// colour or "automatic" (an entry with no \red, \green or \blue), and the
// entry being read. At most kMaxColors entries are kept; later ones are read
// and dropped.
class ColorTable {
public:
    static constexpr std::size_t kMaxColors = 4096;

    // \redN, \greenN, \blueN inside the table: sets a component of the entry
    // being read, clamped to 0..255. Other words are ignored.
    void word(std::string_view word, int param);
    // Text inside the table: every ';' finishes the entry being read.
    void text(std::string_view bytes);

    // The colour at `index`; empty for an automatic entry or an index the
    // table does not hold.
    std::optional<Color> find(int index) const;

private:
    std::vector<std::optional<Color>> entries_;  // size <= kMaxColors
    Color pending_;
    bool pendingSet_ = false;  // a component of pending_ was given
};

}  // namespace tamix::rtf
