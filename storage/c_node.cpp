#include "storage/c_node.h"

#include "storage/code_page_1252.h"

#include <algorithm>

namespace tamix {

cNode::cNode() = default;

std::string cNode::fixedKey(std::string_view text) {
    std::string bytes = CodePage1252::fromUtf8(text);
    bytes.resize(kKeyLength, ' ');
    return bytes;
}

std::string cNode::where() const {
    return "The record at block " + std::to_string(chunks_.cCurrentChunkRec()) + " of " + chunks_.cFileName() +
           " cannot be read: ";
}

void cNode::Deleted(bool deleted) {
    LoadNode();
    rec_.deleted = deleted;
}

std::string cNode::Key() const { return CodePage1252::toUtf8(rec_.key); }

void cNode::Key(std::string_view key) {
    std::string bytes = fixedKey(key);
    LoadNode();
    rec_.key = std::move(bytes);
}

std::string cNode::Parent() const { return CodePage1252::toUtf8(rec_.parent); }

void cNode::Parent(std::string_view parent) {
    std::string bytes = fixedKey(parent);
    LoadNode();
    rec_.parent = std::move(bytes);
}

std::string cNode::NodeText() const { return CodePage1252::toUtf8(rec_.nodeText); }

void cNode::NodeText(std::string_view text) {
    std::string bytes = CodePage1252::fromUtf8(text);
    if (bytes.size() > static_cast<std::size_t>(kMaxNodeTextBytes))
        throw TamixError(kErrOutOfRange, "A note name can have at most " + std::to_string(kMaxNodeTextBytes) +
                                             " characters; this one has " + std::to_string(bytes.size()));
    LoadNode();
    rec_.nodeText = std::move(bytes);
}

const std::string& cNode::RTFData() {
    LoadNode();
    return rec_.rtfData;
}

void cNode::RTFData(std::string_view bytes) {
    LoadNode();
    rec_.rtfData.assign(bytes);
}

void cNode::CreateFile(const std::string& name) {
    if (chunks_.dbIsOpen()) chunks_.dbClose();
    index_.clear();
    dropHeaders();
    chunks_.cCreateFile(name);
    fileIsEmpty_ = true;
}

void cNode::OpenFile(const std::string& name) {
    if (chunks_.dbIsOpen()) chunks_.dbClose();
    index_.clear();
    dropHeaders();
    chunks_.cOpenFile(name);
    try {
        rebuildIndex();
    } catch (...) {
        chunks_.dbClose();
        index_.clear();
        dropHeaders();
        throw;
    }
    chunks_.cMoveFirst();
    headerAt_ = 0;
    if (chunks_.cCurrentChunkRec() == 0) {
        fileIsEmpty_ = true;
    } else {
        fileIsEmpty_ = false;
        LoadNodeHeader();
    }
}

void cNode::rebuildIndex() {
    // A chunk too short to be a record is the first half of a SaveNewNode
    // that a crash cut short; it is dropped so that the tree can load.
    std::vector<std::int32_t> tooShort;
    index_.reserveChunks(chunks_.blockFile().dbRecordCount());
    chunks_.cWalk([&](std::int32_t chunk, const cChunks::Head& head) {
        if (head.lastIndex + 1 < kMinRecordBytes) {
            tooShort.push_back(chunk);
            return;
        }
        index_.append(chunk, {reinterpret_cast<const char*>(head.data) + 1, kKeyLength},
                      {reinterpret_cast<const char*>(head.data) + 12, kKeyLength});
        bool deleted = false;
        std::string_view text;
        if (NodeRecord::PeekHeader(head.data, static_cast<std::size_t>(std::min(head.lastIndex, cChunks::kHeadData - 1)) + 1,
                                   deleted, text))
            headers_.append(chunk, deleted, text);
        else
            headers_.appendUnreadable(chunk);
    });
    index_.shrink();
    for (std::int32_t chunk : tooShort) {
        chunks_.cGoto(chunk);
        chunks_.cDeleteChunk();
    }
    // Dropping a chunk leaves the other records' headers and order as they were.
    headersWrites_ = chunks_.blockFile().dbWriteCount();
}

bool cNode::headerKept() const {
    return headerAt_ < headers_.size() && chunks_.blockFile().dbWriteCount() == headersWrites_ &&
           headers_.chunk(headerAt_) == chunks_.cCurrentChunkRec();
}

void cNode::dropHeaders() {
    headers_.clear();
    headerAt_ = 0;
}

void cNode::CloseFile() {
    chunks_.dbClose();
    index_.clear();
    dropHeaders();
    loadedRecord_ = -1;
    ClearNode();
}

void cNode::LoadNodeHeader() {
    if (AtEOF()) return;
    if (headerKept() && headers_.readable(headerAt_)) {
        const std::int32_t chunk = chunks_.cCurrentChunkRec();
        rec_.deleted = headers_.deleted(headerAt_);
        rec_.key.assign(index_.keyOf(chunk));
        rec_.parent.assign(index_.parentOf(chunk));
        rec_.nodeText.assign(headers_.name(headerAt_));
        return;
    }
    rec_.ParseHeader(chunks_.cChunkHeader(), where());
}

void cNode::LoadNode() {
    if (AtEOF()) return;
    const std::int32_t chunk = chunks_.cCurrentChunkRec();
    if (chunk == loadedRecord_) return;
    rec_.Parse(chunks_.cChunkData(), where());
    loadedRecord_ = chunk;
}

void cNode::MoveFirst() {
    chunks_.cMoveFirst();
    headerAt_ = 0;
    LoadNodeHeader();
    loadedRecord_ = -1;
}

void cNode::MoveLast() {
    chunks_.cMoveLast();
    LoadNodeHeader();
    loadedRecord_ = -1;
}

void cNode::MoveNext() {
    if (headerKept()) {
        // The list links were checked when the open read them.
        ++headerAt_;
        chunks_.cGoto(headerAt_ < headers_.size() ? headers_.chunk(headerAt_) : 0);
        if (AtEOF()) dropHeaders();
    } else {
        chunks_.cMoveNext();
    }
    LoadNodeHeader();
    loadedRecord_ = -1;
}

void cNode::MovePrevious() {
    chunks_.cMovePrevious();
    LoadNodeHeader();
    loadedRecord_ = -1;
}

void cNode::loadIndexed(std::int32_t chunk) {
    // A search that fails has walked to the end: the fields hold the last
    // record's header and the cursor is past it.
    chunks_.cGoto(chunk != 0 ? chunk : chunks_.cLastChunk());
    LoadNodeHeader();
    if (chunk == 0) chunks_.cGoto(0);
    loadedRecord_ = -1;
}

namespace {

// The 11 stored bytes a search argument would have to equal; empty when no
// stored key can equal it.
std::string searchBytes(std::string_view text) {
    try {
        std::string bytes = CodePage1252::fromUtf8(text);
        if (bytes.size() != NodeIndex::kFieldLength) bytes.clear();
        return bytes;
    } catch (const TamixError&) {
        return {};
    }
}

}  // namespace

bool cNode::FindKey(std::string_view key) {
    const std::int32_t chunk = index_.firstWithKey(searchBytes(key));
    loadIndexed(chunk);
    return chunk != 0;
}

bool cNode::FindFirstParent(std::string_view parent) {
    const std::int32_t chunk = index_.firstWithParent(searchBytes(parent));
    loadIndexed(chunk);
    return chunk != 0;
}

bool cNode::FindNextParent(std::string_view parent) {
    const std::int32_t from = chunks_.cCurrentChunkRec();
    if (from == 0) chunks_.cMoveNext();  // fails as the walk would: there is no current record
    const std::int32_t chunk = index_.nextWithParent(searchBytes(parent), from);
    loadIndexed(chunk);
    return chunk != 0;
}

void cNode::ClearNode() {
    rec_.deleted = false;
    rec_.key.assign(kKeyLength, ' ');
    rec_.parent.assign(kKeyLength, ' ');
    rec_.nodeText.clear();
    rec_.linkCount = 0;
    rec_.rtfData.clear();
    loadedRecord_ = chunks_.cCurrentChunkRec();
}

void cNode::SaveNewNode() {
    const Bytes record = rec_.Pack();
    dropHeaders();
    chunks_.cAddChunk();
    chunks_.cChunkData(record);
    index_.append(chunks_.cCurrentChunkRec(), rec_.key, rec_.parent);
}

void cNode::SaveNode() {
    LoadNode();
    const Bytes record = rec_.Pack();
    dropHeaders();
    const std::int32_t old = chunks_.cCurrentChunkRec();
    chunks_.cChunkData(record);
    index_.replace(old, chunks_.cCurrentChunkRec(), rec_.key, rec_.parent);
}

void cNode::DeleteNode() {
    const std::int32_t chunk = chunks_.cCurrentChunkRec();
    dropHeaders();
    chunks_.cDeleteChunk();
    index_.remove(chunk);
}

void cNode::checkLinkIndex(std::int32_t index) const {
    if (index < 0 || index > rec_.linkCount || static_cast<std::size_t>(index) >= rec_.links.size())
        throw TamixError(kErrOutOfRange, "Link " + std::to_string(index) + " is outside the link table (0 to " +
                                             std::to_string(rec_.linkCount) + ")");
}

std::int32_t cNode::LinkCount() {
    LoadNode();
    return rec_.linkCount;
}

void cNode::LinkCount(std::int32_t count) {
    if (count < 0)
        throw TamixError(kErrOutOfRange, "A note cannot have " + std::to_string(count) + " links");
    LoadNode();
    rec_.linkCount = count;
    rec_.links.resize(static_cast<std::size_t>(count) + 1);
}

std::int32_t cNode::LinkStart(std::int32_t index) {
    LoadNode();
    checkLinkIndex(index);
    return rec_.links[index].start;
}

void cNode::LinkStart(std::int32_t index, std::int32_t value) {
    LoadNode();
    checkLinkIndex(index);
    rec_.links[index].start = value;
}

std::int32_t cNode::LinkEnd(std::int32_t index) {
    LoadNode();
    checkLinkIndex(index);
    return rec_.links[index].end;
}

void cNode::LinkEnd(std::int32_t index, std::int32_t value) {
    LoadNode();
    checkLinkIndex(index);
    rec_.links[index].end = value;
}

std::string cNode::LinkText(std::int32_t index) {
    LoadNode();
    checkLinkIndex(index);
    return CodePage1252::toUtf8(rec_.links[index].text);
}

void cNode::LinkText(std::int32_t index, std::string_view text) {
    std::string bytes = CodePage1252::fromUtf8(text);
    LoadNode();
    checkLinkIndex(index);
    rec_.links[index].text = std::move(bytes);
}

std::string cNode::LinkLink(std::int32_t index) {
    LoadNode();
    checkLinkIndex(index);
    return CodePage1252::toUtf8(rec_.links[index].target);
}

void cNode::LinkLink(std::int32_t index, std::string_view target) {
    std::string bytes = CodePage1252::fromUtf8(target);
    LoadNode();
    checkLinkIndex(index);
    rec_.links[index].target = std::move(bytes);
}

}  // namespace tamix
