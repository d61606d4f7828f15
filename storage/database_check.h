#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tamix {

// Reads a database file without repairing or writing it and reports what it
// finds: the header's state byte, the chunk list, every continuation chain,
// the free list and every record. Every walk is bounded by the block count
// and no buffer larger than the file is ever allocated.
class DatabaseCheck {
public:
    struct Report {
        std::uint8_t state = 0;          // the header's state byte
        std::int64_t blocks = 0;         // whole blocks in the file, the header included
        std::int64_t chunks = 0;         // chunks reached through the list
        std::int64_t free = 0;           // blocks reached through the free list
        std::int64_t lost = 0;           // blocks past the header that belong to nothing
        std::vector<std::string> problems;  // one line each; empty for a sound file
    };

    // Checks the named file, parsing every chunk as a node record unless
    // `records` is false. Fails with a TamixError when it cannot be read, or
    // while another program holds it open.
    static Report Run(const std::string& path, bool records = true);
};

}  // namespace tamix
