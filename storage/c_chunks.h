#pragma once

#include "storage/c_data_base.h"
#include "storage/chunk_blocks.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tamix {

// Variable-length byte strings ("chunks") kept on a cDataBase in one doubly
// linked list in order of addition, each spread over a chain of blocks, with
// freed blocks recycled through a free list.
//
// File layout (numbers are 4-byte little-endian, 0 ... 2^31-1, 0 = none):
//   block 1, the header:  0 first chunk | 4 last chunk | 8 free head |
//     12 state byte 'X' clean, 'A' add in progress, 'O' change in progress |
//     13 saved previous | 17 saved next | 21 saved chunk (state 'O' only)
//   head block of a chunk (its number is the chunk's number):
//     0 previous chunk | 4 next chunk | 8 first continuation | 12 last index U |
//     16 data bytes 0 ... min(U, 1007)
//   continuation block:   0 next continuation | 4 up to 1,020 more data bytes
//   free block:           0 next free block
//
// Every change of the list is journalled in the header: written once marked
// with the values from before the change, once clean after it. An open that
// finds a marked header repairs the list links, then rebuilds the free list
// from every block that belongs to no chunk, and only then writes the header
// clean, so a crash during the repair is repaired again at the next open.
// With barriers on, the marked header, the data blocks and the clean header
// each reach the device before the next step begins.
//
// Every link read from the file is checked before it is followed: a link into
// the header or past the end of the file, a length the file could not hold,
// or a walk longer than the block count stops with a TamixError (kErrCorrupt)
// naming the problem and the block. File errors propagate unchanged.
class cChunks {
public:
    static constexpr std::int32_t kHeadData = cDataBase::kBlockSize - 16;          // 1,008
    static constexpr std::int32_t kContinuationData = cDataBase::kBlockSize - 4;   // 1,020

    cChunks();

    // Opens (creating) the file, empties it, and writes an empty header.
    void cCreateFile(const std::string& name);
    // Opens the file, reads the header and repairs an interrupted change;
    // the current chunk becomes 0. Refuses a file that cannot be opened, is
    // held by another opener, or is not a database.
    void cOpenFile(const std::string& name);
    // Appends a chunk holding one zero byte; it becomes the current chunk.
    void cAddChunk();
    // Unlinks the current chunk and frees its blocks; the current chunk stays
    // on the freed block until the caller moves.
    void cDeleteChunk();
    // Replaces the current chunk's data (at least one byte) copy-on-write; the
    // new head block becomes the current chunk.
    void cChunkData(const Bytes& data);
    // The current chunk's whole data.
    Bytes cChunkData();
    // The part of the current chunk's data held in its head block.
    Bytes cChunkHeader();
    void cMoveFirst() { current_ = first_; }
    void cMoveLast() { current_ = last_; }
    std::int32_t cCurrentChunkRec() const { return current_; }
    void cGoto(std::int32_t chunk) { current_ = chunk; }
    void cMoveNext();
    void cMovePrevious();
    bool dbIsOpen() const { return db_.dbIsOpen(); }
    void dbClose() {
        batch_ = false;
        db_.dbClose();
    }

    // A batch of appends under one journal mark, for copying many records
    // in: cBeginBatch marks the header as an add in progress with the list
    // as it stands and flushes it; until cEndBatch, cAddChunk appends and
    // cChunkData rewrites only chunks added in this batch (anything else is
    // refused with kErrInvalidCall, as is cDeleteChunk), without header
    // writes or barriers of their own. cEndBatch flushes the data and writes
    // the header clean. A batch cut short by a crash (or a close before
    // cEndBatch) is rolled back whole by the next open: the list ends again
    // at the chunk that was last before the batch and every block the batch
    // took is free again. Chunks that existed before are never written
    // except the old last chunk's next link, which the repair resets.
    void cBeginBatch();
    void cEndBatch();
    bool cInBatch() const { return batch_; }
    // Puts the saved chunk back between the saved previous and next chunks.
    void cFixModify();

    static Bytes LongToBytes(std::int32_t value);
    static std::int32_t BytesToLong(const std::uint8_t* fourBytes);

    // What a head block says, decoded and checked; `data` points at its
    // min(U, 1007) + 1 data bytes and stays valid until the next block access.
    struct Head {
        std::int32_t previous;
        std::int32_t next;
        std::int32_t continuation;
        std::int32_t lastIndex;
        const std::uint8_t* data;
    };
    Head cReadHead(std::int32_t chunk);

    // Walks the whole list in storage order and calls visit for every chunk
    // after checking it: the free list and the chunk list must be free of
    // loops and of each other, every back link must match and the list must
    // end at the header's last chunk. `visit` may read other blocks.
    void cWalk(const std::function<void(std::int32_t chunk, const Head& head)>& visit);

    std::int32_t cFirstChunk() const { return first_; }
    std::int32_t cLastChunk() const { return last_; }
    std::int32_t cFreeHead() const { return freeHead_; }
    // The state byte the last cOpenFile found in the header.
    std::uint8_t cStateAtOpen() const { return stateAtOpen_; }
    // Blocks a chunk of lastIndex + 1 bytes occupies.
    static std::int64_t cBlocksFor(std::int64_t lastIndex);
    cDataBase& blockFile() { return db_; }
    const cDataBase& blockFile() const { return db_; }
    const std::string& cFileName() const { return db_.dbFileName(); }

private:
    // A walk of the chunk list that ended at `previous` must end at the
    // header's last chunk; throws kErrCorrupt otherwise.
    void checkListEnd(std::int32_t previous) const;
    // Puts the first, last and free-list links and `state` into the header
    // fields of `image`; the bytes after them are left as they are.
    void putHeader(Bytes& image, std::uint8_t state) const;
    // Writes a header block with `state`, zeros after its fields.
    void writeHeader(std::uint8_t state);

    void cWriteHeader();
    // Inside a batch, refuses a change of a chunk the batch did not add.
    void checkBatchChunk() const;
    void cReadHeader();
    void cAllocBlock();
    void cBuildBlocks();
    void cCommitBlocks();
    void cReadChunk();
    void cMarkAdd();
    void cFixAdd();
    void cMarkModify();
    void cUnlinkChunk();
    void freeChain(std::int32_t chunk);
    void rebuildFreeList();

    cDataBase db_;
    ChunkBlocks blocks_{db_};  // every block access goes through its checks
    std::int32_t blockSize_;
    std::int32_t first_ = 0;      // in-memory header fields, authoritative while open
    std::int32_t last_ = 0;
    std::int32_t freeHead_ = 0;
    std::int32_t current_ = 0;    // 0 = no current chunk
    std::int32_t savedPrevious_ = 0;
    std::int32_t savedNext_ = 0;
    std::int32_t savedChunk_ = 0;
    std::int32_t allocated_ = 0;
    std::uint8_t stateAtOpen_ = 0;
    Bytes chunkData_;
    std::vector<std::pair<std::int32_t, Bytes>> newBlocks_;  // head first, in chain order
    bool batch_ = false;                       // between cBeginBatch and cEndBatch
    std::unordered_set<std::int32_t> batchChunks_;  // the head blocks of the chunks the batch added
};

}  // namespace tamix
