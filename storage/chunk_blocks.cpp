#include "storage/chunk_blocks.h"

#include "storage/c_chunks.h"

#include <algorithm>

namespace tamix {

void ChunkBlocks::put(Bytes& image, int offset, std::int32_t value) {
    const Bytes b = cChunks::LongToBytes(value);
    std::copy(b.begin(), b.end(), image.begin() + offset);
}

void ChunkBlocks::corrupt(const std::string& problem) const {
    throw TamixError(kErrCorrupt, "The database " + db_.dbFileName() + " is damaged: " + problem);
}

std::int32_t ChunkBlocks::link(const std::uint8_t* image, int offset, std::int32_t block,
                               const char* field) const {
    const std::uint8_t* p = image + offset;
    const std::string where = std::string("the ") + field + " in block " + std::to_string(block);
    if (p[3] >= 128) corrupt(where + " has its top bit set");
    const std::int32_t v = cChunks::BytesToLong(p);
    if (v == 1) corrupt(where + " points into the header block");
    if (v > db_.dbRecordCount())
        corrupt(where + " names block " + std::to_string(v) + ", past the end of the file (" +
                std::to_string(db_.dbRecordCount()) + " blocks)");
    return v;
}

std::int32_t ChunkBlocks::length(const std::uint8_t* image, std::int32_t block) const {
    if (image[15] >= 128) corrupt("the length in block " + std::to_string(block) + " has its top bit set");
    const std::int32_t u = cChunks::BytesToLong(image + 12);
    if (cChunks::cBlocksFor(u) > std::max(0, db_.dbRecordCount() - 1))
        corrupt("the chunk at block " + std::to_string(block) + " claims " + std::to_string(std::int64_t{u} + 1) +
                " bytes, more than the file's " + std::to_string(db_.dbRecordCount()) + " blocks can hold");
    return u;
}

void ChunkBlocks::checkHeaderLink(std::int32_t value, const char* field) const {
    if (value == 1) corrupt(std::string("the ") + field + " in the header points into the header block");
    if (value > db_.dbRecordCount())
        corrupt(std::string("the ") + field + " in the header names block " + std::to_string(value) +
                ", past the end of the file (" + std::to_string(db_.dbRecordCount()) + " blocks)");
}

const std::uint8_t* ChunkBlocks::read(std::int32_t block) {
    if (block > db_.dbRecordCount())
        corrupt("block " + std::to_string(block) + " is past the end of the file (" +
                std::to_string(db_.dbRecordCount()) + " blocks)");
    db_.dbGoto(block);
    return db_.dbBuffer();
}

void ChunkBlocks::write(std::int32_t block, const Bytes& image) {
    db_.dbPosition(block);
    db_.dbDataBlock(image);
}

void ChunkBlocks::setLink(std::int32_t block, int offset, std::int32_t value) {
    const std::uint8_t* b = read(block);
    Bytes image(b, b + cDataBase::kBlockSize);
    put(image, offset, value);
    write(block, image);
}

}  // namespace tamix
