#pragma once

#include "storage/tamix_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamix {

// A byte array with lower bound 0, as blocks, chunks and records are passed.
using Bytes = std::vector<std::uint8_t>;

// One disk file seen as a row of 1,024-byte blocks numbered from 1 (block n
// is file bytes (n-1)*1024 ... n*1024-1). Keeps one block image in memory and
// a cursor, the current record. Knows nothing of what the blocks hold.
//
// Reads are served from a small cache of the blocks last read or written;
// writes always reach the file at once, in the order they are made.
//
// Accessors keep the names of the file format's operations: a getter is the
// bare name (`dbFileName()`), the setter the same name with the value
// (`dbFileName("x.TM2")`).
//
// While open, the file is held under an exclusive advisory lock, so a second
// opener (another process, or another object of this one) is refused.
class cDataBase {
public:
    static constexpr std::int32_t kBlockSize = 1024;

    cDataBase();
    ~cDataBase();
    cDataBase(const cDataBase&) = delete;
    cDataBase& operator=(const cDataBase&) = delete;

    std::int32_t Block_Size() const { return kBlockSize; }
    bool dbIsOpen() const { return fd_ >= 0; }

    // Stores a copy of data, copies its bytes over the start of the block
    // buffer (at most 1,024 of them) and writes the whole buffer as the
    // current record's block.
    void dbDataBlock(const Bytes& data);
    // A copy of the array last read or written.
    Bytes dbDataBlock() const;

    std::int32_t dbCurrentRecord() const { return current_; }
    // Counts one more block and makes it current; writes nothing.
    void dbAddNew();
    std::int32_t dbRecordCount() const { return recordCount_; }

    // Moves, each followed by a read of the new current record. A block past
    // the end of the file reads as zeros; block 0 or below is refused
    // (kErrBadRecordNumber) after the cursor has moved.
    void dbGoto(std::int32_t block);
    void dbMoveLast();
    void dbMovePrevious();
    void dbMoveNext();
    void dbMoveFirst();

    void dbClose();
    // Opens (creating if missing) the named file and reads block 1. Failures
    // are silent: dbIsOpen() stays false and dbOpenError() says why.
    void dbOpen();
    void dbFileName(const std::string& name) { fileName_ = name; }
    const std::string& dbFileName() const { return fileName_; }

    // Why the last dbOpen failed; empty after a successful one.
    const std::optional<TamixError>& dbOpenError() const { return openError_; }
    // The 1,024-byte block buffer: the image of the block last read or written.
    const std::uint8_t* dbBuffer() const { return buffer_.data(); }
    // True when the buffer holds the image of that block as the file has it.
    bool dbBufferHolds(std::int32_t block) const { return bufferBlock_ == block && block > 0; }
    // Length of the file in bytes when it was opened.
    std::int64_t dbOpenedLength() const { return openedLength_; }
    // Makes a block current without reading it, for a write that replaces
    // the whole block.
    void dbPosition(std::int32_t block) { current_ = block; }
    // Writes count whole images to blocks first, first + 1, ... in one call,
    // with the effect of positioning on each in turn and writing it through
    // dbDataBlock: the write limit counts every block (those before the limit
    // reach the file, then kErrDeviceIo), and afterwards the current record,
    // the buffer and the data block copy are those of the last block written.
    void dbDataBlocks(std::int32_t first, const std::uint8_t* const* images, std::size_t count);
    // Empties the open file: record count and current record become 0.
    void dbTruncate();

    // Write barrier: flushes written blocks to the device when barriers are on.
    void dbSync();
    void dbBarriers(bool on) { barriers_ = on; }
    bool dbBarriers() const { return barriers_; }

    // Test seam standing for a process that stops: after `limit` more block
    // writes every further write fails with kErrDeviceIo and reaches nothing.
    // A negative limit (the default) lets every write through.
    void dbWriteLimit(long limit) { writeLimit_ = limit; }
    // Block writes done since the object was created.
    long dbWriteCount() const { return writeCount_; }

    // True when another opener holds the file's lock right now.
    static bool dbInUse(const std::string& path);
    // The error every refusal of a database held by another opener carries.
    static TamixError dbInUseError(const std::string& path);

private:
    void read();
    // The cached image of block, or null.
    const std::uint8_t* cached(std::int32_t block) const;
    // Reads block and the blocks after it into the cache; the image of block,
    // or null when the file does not hold it whole (then the buffer holds
    // what there is of it, zeros after that).
    const std::uint8_t* fetch(std::int32_t block);
    std::uint8_t* slot(std::int32_t block) { return slots_.data() + static_cast<std::size_t>(block % kSlots) * kBlockSize; }
    void forget();
    [[noreturn]] void fail(int number, const std::string& what) const;

    int fd_ = -1;                   // -1 while closed
    std::string fileName_;
    std::int32_t recordCount_ = 0;  // blocks the file holds, or will once the last added is written
    std::int32_t current_ = 0;
    std::vector<std::uint8_t> buffer_;  // always exactly kBlockSize bytes
    std::int32_t bufferBlock_ = 0;  // block whose file image the buffer holds; 0 = none
    // Recently read and written blocks, as the file holds them: slot
    // b % kSlots holds block tags_[slot] (0 = nothing). Every write goes
    // through to the file and to its slot; a write that fails empties it.
    static constexpr std::int32_t kSlots = 256;
    std::vector<std::uint8_t> slots_;   // kSlots * kBlockSize bytes
    std::vector<std::int32_t> tags_;
    // Read-ahead: a miss shortly after the last read continues a scan and
    // reads twice as many blocks as that read did, up to kMaxAhead; any
    // other miss reads kMinAhead blocks.
    static constexpr std::int32_t kMinAhead = 4;
    static constexpr std::int32_t kMaxAhead = 64;
    std::int32_t readEnd_ = 0;      // one past the last block the last read asked for
    std::int32_t ahead_ = kMinAhead;
    Bytes dataBlock_;               // the array last written, unless dataIsBuffer_
    bool dataIsBuffer_ = true;      // the data block copy is the buffer (after a read)
    std::optional<TamixError> openError_;
    std::int64_t openedLength_ = 0;
    bool barriers_ = true;
    long writeLimit_ = -1;
    long writeCount_ = 0;
};

}  // namespace tamix
