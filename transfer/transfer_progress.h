#pragma once

#include <cstdint>
#include <functional>

namespace tamix {

// Told after each note a transfer has copied: how many are done of how
// many in all. May be empty. A window uses it to show the count and to
// repaint while the copy runs.
using TransferProgress = std::function<void(std::int64_t done, std::int64_t total)>;

}  // namespace tamix
