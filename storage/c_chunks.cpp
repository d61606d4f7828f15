#include "storage/c_chunks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tamix {
namespace {

constexpr std::uint8_t kStateClean = 'X';
constexpr std::uint8_t kStateAdd = 'A';
constexpr std::uint8_t kStateModify = 'O';

bool rawZero(const std::uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0 && p[3] == 0; }

}  // namespace

cChunks::cChunks() : blockSize_(cDataBase().Block_Size()) {}

Bytes cChunks::LongToBytes(std::int32_t value) {
    if (value < 0)
        throw TamixError(kErrOverflow, "Overflow: the negative number " + std::to_string(value) +
                                           " cannot be stored");
    Bytes out(4);
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(v & 0xFF);
        v >>= 8;
    }
    return out;
}

std::int32_t cChunks::BytesToLong(const std::uint8_t* b) {
    if (b[3] >= 128) throw TamixError(kErrOverflow, "Overflow: a stored number has its top bit set");
    return static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                     (static_cast<std::uint32_t>(b[3]) << 24));
}

std::int64_t cChunks::cBlocksFor(std::int64_t lastIndex) {
    const std::int64_t beyond = std::max<std::int64_t>(0, lastIndex + 1 - kHeadData);
    return 1 + (beyond + kContinuationData - 1) / kContinuationData;
}

void cChunks::checkListEnd(std::int32_t previous) const {
    if (previous != last_)
        blocks_.corrupt("the header names chunk " + std::to_string(last_) + " as the last, but the list ends at chunk " +
                std::to_string(previous));
}

void cChunks::putHeader(Bytes& image, std::uint8_t state) const {
    ChunkBlocks::put(image, 0, first_);
    ChunkBlocks::put(image, 4, last_);
    ChunkBlocks::put(image, 8, freeHead_);
    image[12] = state;
}

void cChunks::writeHeader(std::uint8_t state) {
    Bytes image(blockSize_, 0);
    putHeader(image, state);
    blocks_.write(1, image);
}

void cChunks::cWriteHeader() { writeHeader(kStateClean); }

void cChunks::cMarkAdd() { writeHeader(kStateAdd); }

void cChunks::cMarkModify() {
    const std::uint8_t* head = blocks_.read(current_);
    Bytes image(head, head + blockSize_);
    std::uint8_t links[8];
    std::memcpy(links, head, 8);
    putHeader(image, kStateModify);
    std::memcpy(&image[13], links, 8);
    ChunkBlocks::put(image, 21, current_);
    blocks_.write(1, image);
}

void cChunks::cCreateFile(const std::string& name) {
    if (db_.dbIsOpen()) dbClose();
    db_.dbFileName(name);
    db_.dbOpen();
    if (!db_.dbIsOpen()) throw *db_.dbOpenError();
    try {
        db_.dbTruncate();
        db_.dbAddNew();
        first_ = last_ = freeHead_ = 0;
        current_ = 0;
        stateAtOpen_ = kStateClean;
        cWriteHeader();
        db_.dbSync();
    } catch (...) {
        db_.dbClose();
        throw;
    }
}

void cChunks::cOpenFile(const std::string& name) {
    if (db_.dbIsOpen()) dbClose();
    db_.dbFileName(name);
    db_.dbOpen();
    if (!db_.dbIsOpen()) throw *db_.dbOpenError();
    try {
        const std::int64_t bytes = db_.dbOpenedLength();
        if (bytes % blockSize_ != 0)
            throw TamixError(kErrCorrupt, "The file " + name + " is not a Tamix database, or it is truncated: its " +
                                              std::to_string(bytes) + " bytes are not a whole number of " +
                                              std::to_string(blockSize_) + "-byte blocks");
        if (db_.dbRecordCount() == 0) db_.dbAddNew();
        cReadHeader();
    } catch (...) {
        db_.dbClose();
        throw;
    }
}

void cChunks::cReadHeader() {
    const std::uint8_t* h = blocks_.read(1);
    const std::uint8_t state = h[12];
    stateAtOpen_ = state;
    const bool empty = std::all_of(h, h + 12, [](std::uint8_t b) { return b == 0; });
    if (!(state == kStateClean || state == kStateAdd || state == kStateModify || (state == 0 && empty))) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", state);
        throw TamixError(kErrCorrupt, "The file " + db_.dbFileName() +
                                          " is not a Tamix database: the state byte of its header block is " + hex);
    }
    first_ = blocks_.link(h, 0, 1, "first-chunk link");
    last_ = blocks_.link(h, 4, 1, "last-chunk link");
    freeHead_ = blocks_.link(h, 8, 1, "free head");
    if ((first_ == 0) != (last_ == 0))
        blocks_.corrupt("the header names " + std::string(first_ == 0 ? "a last chunk but no first" : "a first chunk but no last"));
    if (state == kStateAdd) {
        cFixAdd();
    } else if (state == kStateModify) {
        savedPrevious_ = blocks_.link(h, 13, 1, "saved previous link");
        savedNext_ = blocks_.link(h, 17, 1, "saved next link");
        savedChunk_ = blocks_.link(h, 21, 1, "saved chunk");
        if (savedChunk_ == 0) blocks_.corrupt("the header is marked for a change but names no chunk");
        cFixModify();
    }
    current_ = 0;
}

void cChunks::cAllocBlock() {
    if (freeHead_ == 0) {
        db_.dbAddNew();
        allocated_ = db_.dbCurrentRecord();
    } else {
        const std::uint8_t* b = blocks_.read(freeHead_);
        const std::int32_t next = blocks_.link(b, 0, freeHead_, "free-list link");
        allocated_ = freeHead_;
        freeHead_ = next;
    }
}

void cChunks::cBeginBatch() {
    if (batch_) throw TamixError(kErrInvalidCall, "A batch of appends is already running");
    cMarkAdd();
    db_.dbSync();
    batch_ = true;
    batchChunks_.clear();
}

void cChunks::cEndBatch() {
    if (!batch_) return;
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
    batch_ = false;
    batchChunks_.clear();
}

void cChunks::checkBatchChunk() const {
    if (batch_ && batchChunks_.count(current_) == 0)
        throw TamixError(kErrInvalidCall, "Only chunks added in the running batch can be changed");
}

void cChunks::cAddChunk() {
    if (!batch_) {
        cMarkAdd();
        db_.dbSync();
    }
    cAllocBlock();
    current_ = allocated_;
    const std::int32_t b = allocated_;
    if (first_ == 0) {
        blocks_.write(b, Bytes(blockSize_, 0));
        first_ = last_ = b;
    } else {
        blocks_.setLink(last_, 4, b);
        Bytes fresh(blockSize_, 0);
        ChunkBlocks::put(fresh, 0, last_);
        blocks_.write(b, fresh);
        last_ = b;
    }
    if (batch_) {
        batchChunks_.insert(b);
        return;
    }
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
}

void cChunks::cFixAdd() {
    if (last_ != 0) blocks_.setLink(last_, 4, 0);
    rebuildFreeList();
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
}

void cChunks::cFixModify() {
    const std::int32_t c = savedChunk_, p = savedPrevious_, n = savedNext_;
    if (p != 0) blocks_.setLink(p, 4, c);
    if (n != 0) blocks_.setLink(n, 0, c);
    const std::uint8_t* b = blocks_.read(c);
    Bytes image(b, b + blockSize_);
    ChunkBlocks::put(image, 0, p);
    ChunkBlocks::put(image, 4, n);
    blocks_.write(c, image);
    rebuildFreeList();
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
}

void cChunks::rebuildFreeList() {
    const std::int32_t count = db_.dbRecordCount();
    std::vector<std::uint8_t> owned(static_cast<std::size_t>(count) + 1, 0);
    owned[1] = 1;
    std::int32_t previous = 0;
    for (std::int32_t c = first_; c != 0;) {
        if (owned[c]) blocks_.corrupt("block " + std::to_string(c) + " is reached twice while walking the chunk list");
        owned[c] = 1;
        Bytes head(blocks_.read(c), db_.dbBuffer() + blockSize_);
        if (blocks_.link(head.data(), 0, c, "previous-chunk link") != previous)
            blocks_.corrupt("chunk " + std::to_string(c) + " does not link back to chunk " + std::to_string(previous));
        const std::int32_t next = blocks_.link(head.data(), 4, c, "next-chunk link");
        const std::int64_t continuations = cBlocksFor(blocks_.length(head.data(), c)) - 1;
        // A repaired chunk may still carry the link its interrupted change gave
        // the block holding its last byte; the chain must end there again.
        if (continuations == 0) {
            if (!rawZero(&head[8])) {
                ChunkBlocks::put(head, 8, 0);
                blocks_.write(c, head);
            }
        } else {
            std::int32_t x = blocks_.link(head.data(), 8, c, "continuation link");
            for (std::int64_t i = 1; i <= continuations; ++i) {
                if (x == 0) blocks_.corrupt("the chain of chunk " + std::to_string(c) + " ends before its length");
                if (owned[x]) blocks_.corrupt("block " + std::to_string(x) + " is claimed twice (by chunk " + std::to_string(c) + ")");
                owned[x] = 1;
                Bytes cont(blocks_.read(x), db_.dbBuffer() + blockSize_);
                const std::int32_t nextX = i == continuations ? 0 : blocks_.link(cont.data(), 0, x, "continuation link");
                if (i == continuations && !rawZero(&cont[0])) {
                    ChunkBlocks::put(cont, 0, 0);
                    blocks_.write(x, cont);
                }
                x = nextX;
            }
        }
        previous = c;
        c = next;
    }
    checkListEnd(previous);
    // Every block that belongs to no chunk is free, in ascending order.
    std::int32_t next = 0;
    for (std::int32_t b = count; b >= 2; --b) {
        if (owned[b]) continue;
        const std::uint8_t* image = blocks_.read(b);
        const Bytes want = LongToBytes(next);
        if (!std::equal(want.begin(), want.end(), image)) {
            Bytes changed(image, image + blockSize_);
            std::copy(want.begin(), want.end(), changed.begin());
            blocks_.write(b, changed);
        }
        next = b;
    }
    freeHead_ = next;
}

void cChunks::cChunkData(const Bytes& data) {
    if (data.empty()) throw TamixError(kErrInvalidCall, "A chunk must hold at least one byte");
    if (current_ == 0) blocks_.read(0);
    checkBatchChunk();
    chunkData_ = data;
    savedChunk_ = current_;
    cBuildBlocks();
    if (batch_) {
        const std::int32_t old = current_;
        cCommitBlocks();
        batchChunks_.erase(old);
        batchChunks_.insert(current_);
        return;
    }
    cMarkModify();
    db_.dbSync();
    cCommitBlocks();
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
}

void cChunks::cBuildBlocks() {
    if (chunkData_.size() > static_cast<std::size_t>(INT32_MAX))
        throw TamixError(kErrOverflow, "Overflow: a chunk cannot hold " + std::to_string(chunkData_.size()) + " bytes");
    const auto u = static_cast<std::int32_t>(chunkData_.size() - 1);
    newBlocks_.clear();
    cAllocBlock();
    newBlocks_.emplace_back(allocated_, Bytes(blockSize_, 0));
    {
        Bytes& head = newBlocks_.back().second;
        ChunkBlocks::put(head, 12, u);
        const std::int32_t n = std::min(u, kHeadData - 1) + 1;
        std::copy_n(chunkData_.begin(), n, head.begin() + 16);
    }
    std::int32_t pos = std::min(u, kHeadData - 1);
    while (u - pos > 0) {
        cAllocBlock();
        newBlocks_.emplace_back(allocated_, Bytes(blockSize_, 0));
        const std::int32_t x = allocated_;
        Bytes& previous = newBlocks_[newBlocks_.size() - 2].second;
        ChunkBlocks::put(previous, newBlocks_.size() == 2 ? 8 : 0, x);
        const std::int32_t end = std::min(u, pos + kContinuationData);
        std::copy(chunkData_.begin() + pos + 1, chunkData_.begin() + end + 1, newBlocks_.back().second.begin() + 4);
        pos = end;
    }
}

void cChunks::cCommitBlocks() {
    const std::int32_t c = current_;
    const std::int32_t h = newBlocks_.front().first;
    const std::uint8_t* old = blocks_.read(c);
    const std::int32_t p = blocks_.link(old, 0, c, "previous-chunk link");
    const std::int32_t n = blocks_.link(old, 4, c, "next-chunk link");
    std::copy_n(old, 8, newBlocks_.front().second.begin());
    // In list order; a run of consecutive blocks goes out in one call.
    std::vector<const std::uint8_t*> run;
    for (std::size_t i = 0; i < newBlocks_.size(); ++i) {
        run.push_back(newBlocks_[i].second.data());
        const bool runEnds = i + 1 == newBlocks_.size() || newBlocks_[i + 1].first != newBlocks_[i].first + 1;
        if (runEnds) {
            db_.dbDataBlocks(newBlocks_[i].first - static_cast<std::int32_t>(run.size()) + 1, run.data(), run.size());
            run.clear();
        }
    }
    if (p != 0) {
        blocks_.setLink(p, 4, h);
    } else {
        first_ = h;
    }
    if (n != 0) {
        blocks_.setLink(n, 0, h);
    } else {
        last_ = h;
    }
    freeChain(c);
    freeHead_ = c;
    current_ = h;
}

void cChunks::freeChain(std::int32_t chunk) {
    if (freeHead_ != 0) {
        // The end of the chain is the block holding the chunk's last byte.
        const std::uint8_t* head = blocks_.read(chunk);
        const std::int64_t continuations = cBlocksFor(blocks_.length(head, chunk)) - 1;
        std::int32_t end = chunk;
        int field = 8;
        std::int32_t x = blocks_.link(head, 8, chunk, "continuation link");
        for (std::int64_t i = 1; i <= continuations; ++i) {
            if (x == 0) blocks_.corrupt("the chain of chunk " + std::to_string(chunk) + " ends before its length");
            end = x;
            field = 0;
            const std::uint8_t* cont = blocks_.read(x);
            if (i < continuations) x = blocks_.link(cont, 0, end, "continuation link");
        }
        blocks_.setLink(end, field, freeHead_);
    }
    const std::uint8_t* b = blocks_.read(chunk);
    Bytes image(b, b + blockSize_);
    std::copy_n(image.begin() + 8, 4, image.begin());
    blocks_.write(chunk, image);
}

void cChunks::cDeleteChunk() {
    if (current_ == 0) blocks_.read(0);
    if (batch_) throw TamixError(kErrInvalidCall, "A chunk cannot be deleted while a batch of appends runs");
    cMarkModify();
    db_.dbSync();
    cUnlinkChunk();
    db_.dbSync();
    cWriteHeader();
    db_.dbSync();
}

void cChunks::cUnlinkChunk() {
    const std::int32_t c = current_;
    const std::uint8_t* head = blocks_.read(c);
    const std::int32_t p = blocks_.link(head, 0, c, "previous-chunk link");
    const std::int32_t n = blocks_.link(head, 4, c, "next-chunk link");
    if (p != 0) blocks_.setLink(p, 4, n);
    if (n != 0) blocks_.setLink(n, 0, p);
    freeChain(c);
    freeHead_ = c;
    if (first_ == c) first_ = n;
    if (last_ == c) last_ = p;
}

void cChunks::cReadChunk() {
    const std::int32_t c = current_;
    const std::uint8_t* head = blocks_.read(c);
    const std::int32_t u = blocks_.length(head, c);
    chunkData_.assign(static_cast<std::size_t>(u) + 1, 0);
    std::int32_t pos = std::min(u, kHeadData - 1);
    std::copy_n(head + 16, pos + 1, chunkData_.begin());
    std::int32_t x = blocks_.link(head, 8, c, "continuation link");
    while (u - pos > 0) {
        if (x == 0)
            blocks_.corrupt("the chain of chunk " + std::to_string(c) + " ends after " + std::to_string(pos + 1) + " of its " +
                    std::to_string(std::int64_t{u} + 1) + " bytes");
        const std::uint8_t* cont = blocks_.read(x);
        const std::int32_t end = std::min(u, pos + kContinuationData);
        std::copy(cont + 4, cont + 4 + (end - pos), chunkData_.begin() + pos + 1);
        pos = end;
        if (u - pos > 0) x = blocks_.link(cont, 0, x, "continuation link");
    }
}

Bytes cChunks::cChunkData() {
    cReadChunk();
    return chunkData_;
}

Bytes cChunks::cChunkHeader() {
    const std::uint8_t* head = blocks_.read(current_);
    const std::int32_t u = blocks_.length(head, current_);
    return Bytes(head + 16, head + 16 + std::min(u, kHeadData - 1) + 1);
}

void cChunks::cMoveNext() {
    const std::uint8_t* head = blocks_.read(current_);
    current_ = blocks_.link(head, 4, current_, "next-chunk link");
}

void cChunks::cMovePrevious() {
    const std::uint8_t* head = blocks_.read(current_);
    current_ = blocks_.link(head, 0, current_, "previous-chunk link");
}

cChunks::Head cChunks::cReadHead(std::int32_t chunk) {
    const std::uint8_t* b = blocks_.read(chunk);
    return Head{blocks_.link(b, 0, chunk, "previous-chunk link"), blocks_.link(b, 4, chunk, "next-chunk link"),
                blocks_.link(b, 8, chunk, "continuation link"), blocks_.length(b, chunk), b + 16};
}

void cChunks::cWalk(const std::function<void(std::int32_t, const Head&)>& visit) {
    const std::int32_t count = db_.dbRecordCount();
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(count) + 1, 0);
    constexpr std::uint8_t kFree = 1, kChunk = 2;
    for (std::int32_t b = freeHead_; b != 0;) {
        if (seen[b]) blocks_.corrupt("the free list runs in a loop at block " + std::to_string(b));
        seen[b] = kFree;
        b = blocks_.link(blocks_.read(b), 0, b, "free-list link");
    }
    std::int32_t previous = 0;
    for (std::int32_t c = first_; c != 0;) {
        if (seen[c] == kChunk) blocks_.corrupt("the chunk list runs in a loop at block " + std::to_string(c));
        if (seen[c] == kFree) blocks_.corrupt("block " + std::to_string(c) + " is both free and the head of a chunk");
        seen[c] = kChunk;
        const Head head = cReadHead(c);
        if (head.previous != previous)
            blocks_.corrupt("chunk " + std::to_string(c) + " links back to block " + std::to_string(head.previous) +
                    " instead of " + std::to_string(previous));
        visit(c, head);
        previous = c;
        c = head.next;
    }
    checkListEnd(previous);
}

}  // namespace tamix
