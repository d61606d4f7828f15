#pragma once

#include "storage/c_chunks.h"
#include "storage/header_cache.h"
#include "storage/node_index.h"
#include "storage/node_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamix {

// The note database as the rest of the system sees it: one record per note,
// kept as one chunk of a cChunks store, with exactly one record (the current
// record) in memory, a cursor over the records in storage order (the order in
// which records were first saved), searches by key and by parent key, and
// save, save-as-new and delete of the current record.
//
// Record layout (numbers 4-byte little-endian, texts one Windows-1252 byte
// per character):
//   0 deletion mark '*' or ' ' | 1 Key (11) | 12 Parent (11) | 23 T | 27 NodeText (T) |
//   LinkCount | per link: LinkStart, LinkEnd, TL, LinkText, LL, LinkLink |
//   R | RTFData (R) | a final zero byte
//
// Naming: a getter is the field's bare name (`NodeText()`), its setter the
// same name with the value (`NodeText("Shopping")`). Text is UTF-8 at this
// interface and is refused (kErrCodePage) when Windows-1252 cannot hold it.
// RTFData is the exception: it is passed as the stored bytes, unconverted.
// The end-of-records test is `AtEOF()` (EOF is a macro of the C library).
//
// Getters and setters marked "loads" first read the whole current record once
// per positioning (and never over a record just cleared by ClearNode).
//
// The searches answer from in-memory key and parent indexes that OpenFile
// builds and every save and delete keeps current; their results, the cursor
// they leave and the fields they load are those of a scan from the first
// record in storage order.
//
// OpenFile keeps the header fields it reads from every head block, and the
// walk from MoveFirst through MoveNext that follows takes them from there
// instead of reading the blocks again; they are dropped when that walk
// reaches the end, and before any change is written.
//
// OpenFile checks the list as it reads it (see cChunks::cWalk) and drops
// chunks too short to be a record, left by a crash between the two halves of
// SaveNewNode. Errors are never caught here; they propagate as TamixError.
class cNode {
public:
    static constexpr int kKeyLength = NodeRecord::kKeyLength;
    static constexpr int kMaxNodeTextBytes = NodeRecord::kMaxNodeTextBytes;
    static constexpr int kMinRecordBytes = NodeRecord::kMinBytes;

    cNode();

    bool Deleted() const { return rec_.deleted; }
    void Deleted(bool deleted);                 // loads
    std::string Key() const;
    void Key(std::string_view key);             // loads; padded with spaces or cut to 11
    std::string Parent() const;
    void Parent(std::string_view parent);       // loads; padded or cut to 11
    std::string NodeText() const;
    void NodeText(std::string_view text);       // loads; at most 981 bytes
    const std::string& RTFData();               // loads; the stored bytes
    void RTFData(std::string_view bytes);       // loads

    bool FileIsEmpty() const { return fileIsEmpty_; }
    // True when there is no current record.
    bool AtEOF() const { return chunks_.cCurrentChunkRec() == 0; }

    // Closes an open file and creates an empty database (the caller removes
    // an existing file first; an existing file is emptied all the same).
    void CreateFile(const std::string& name);
    void OpenFile(const std::string& name);
    bool FileIsOpen() const { return chunks_.dbIsOpen(); }
    void CloseFile();

    // Moves, each followed by the header-only read of the new record.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    // The first record in storage order whose Key equals key exactly; false
    // leaves the cursor at the end.
    bool FindKey(std::string_view key);
    // The first record whose Parent equals parent.
    bool FindFirstParent(std::string_view parent);
    // The next record after the current one whose Parent equals parent.
    bool FindNextParent(std::string_view parent);

    // Empties the in-memory record for a new node; the positioned record is
    // neither read nor changed by the setters that follow.
    void ClearNode();
    // Stores the in-memory record at the end of storage order; it becomes
    // the current record.
    void SaveNewNode();
    // Rewrites the current record from the in-memory record (loads first).
    void SaveNode();
    // Removes the current record; reposition before the next access.
    void DeleteNode();

    std::int32_t LinkCount();                             // loads
    void LinkCount(std::int32_t count);                   // loads; keeps entries in range
    std::int32_t LinkStart(std::int32_t index);           // loads; index 0 ... LinkCount
    void LinkStart(std::int32_t index, std::int32_t value);
    std::int32_t LinkEnd(std::int32_t index);
    void LinkEnd(std::int32_t index, std::int32_t value);
    std::string LinkText(std::int32_t index);
    void LinkText(std::int32_t index, std::string_view text);
    std::string LinkLink(std::int32_t index);
    void LinkLink(std::int32_t index, std::string_view target);

    // Many new records under one journal mark (cChunks::cBeginBatch): in
    // between, only SaveNewNode and SaveNode of records added since
    // BeginBatch may write; a crash before EndBatch rolls back every record
    // of the batch at the next open, and nothing else changes.
    void BeginBatch() { chunks_.cBeginBatch(); }
    void EndBatch() { chunks_.cEndBatch(); }
    bool InBatch() const { return chunks_.cInBatch(); }

    // Write barriers on (the default) or off; see cChunks.
    void Barriers(bool on) { chunks_.blockFile().dbBarriers(on); }
    // Memory held by the key and parent indexes, in bytes.
    std::size_t IndexBytes() const { return index_.memoryBytes(); }
    // Memory held by the header fields kept from the open, in bytes.
    std::size_t HeaderBytes() const { return headers_.memoryBytes(); }
    cChunks& chunks() { return chunks_; }

private:
    void LoadNodeHeader();
    void LoadNode();
    void rebuildIndex();
    void loadIndexed(std::int32_t chunk);
    bool headerKept() const;
    void dropHeaders();
    void checkLinkIndex(std::int32_t index) const;
    std::string where() const;
    static std::string fixedKey(std::string_view text);

    cChunks chunks_;
    NodeIndex index_;                 // mirrors the chunk list while a file is open
    // The chunk list's records in storage order as the open read them; true
    // to the file while the block file's write count is headersWrites_.
    HeaderCache headers_;
    long headersWrites_ = 0;
    std::size_t headerAt_ = 0;        // the entry of headers_ the walk is on
    NodeRecord rec_;                  // the in-memory record
    bool fileIsEmpty_ = false;
    std::int32_t loadedRecord_ = 0;   // chunk whose whole record is in memory; -1 none
};

}  // namespace tamix
