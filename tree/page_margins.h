#pragma once

#include <cstdint>

namespace tamix {

// The printing state kept for the whole run: the four page margins in whole
// inches (one each at start-up; no command changes them) and whether the
// preview window asked for the note to be printed when it closed.
struct PageMargins {
    static constexpr int kTwipsPerInch = 1440;

    std::int16_t Left = 1;
    std::int16_t Right = 1;
    std::int16_t Top = 1;
    std::int16_t Bottom = 1;
    // Cleared at start-up and whenever the preview window loads.
    bool PrintRequested = false;
};

}  // namespace tamix
