#pragma once

#include "storage/c_data_base.h"

#include <cstdint>
#include <string>

namespace tamix {

// The blocks of a chunk file as the chunk store reads and writes them. Every
// link and length read through it is checked against the file before anyone
// follows it: a link into the header or past the end of the file, a top bit
// set, or a length the file could not hold stops with a TamixError
// (kErrCorrupt) naming the file, the field and the block.
class ChunkBlocks {
public:
    explicit ChunkBlocks(cDataBase& db) : db_(db) {}
    ChunkBlocks(const ChunkBlocks&) = delete;
    ChunkBlocks& operator=(const ChunkBlocks&) = delete;

    // The image of `block`, valid until the next block access.
    const std::uint8_t* read(std::int32_t block);
    void write(std::int32_t block, const Bytes& image);
    // Rewrites the 4-byte link at `offset` of `block`, the rest of the block kept.
    void setLink(std::int32_t block, int offset, std::int32_t value);
    // The link at `offset` of `image`, read from `block`; `field` names it in
    // the message.
    std::int32_t link(const std::uint8_t* image, int offset, std::int32_t block, const char* field) const;
    // The last index U of the chunk whose head block `image` is.
    std::int32_t length(const std::uint8_t* image, std::int32_t block) const;
    void checkHeaderLink(std::int32_t value, const char* field) const;
    [[noreturn]] void corrupt(const std::string& problem) const;
    static void put(Bytes& image, int offset, std::int32_t value);

private:
    cDataBase& db_;  // owned by the chunk store, which outlives this
};

}  // namespace tamix
