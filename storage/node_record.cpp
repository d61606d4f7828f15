#include "storage/node_record.h"

#include "storage/c_chunks.h"
#include "storage/tamix_error.h"

#include <algorithm>

namespace tamix {
namespace {

// Reads the fields of a record in order, refusing any that run past its end.
class Reader {
public:
    Reader(const Bytes& data, const std::string& where) : d_(data), where_(where) {}

    [[noreturn]] void fail(const std::string& problem) const {
        throw TamixError(kErrOutOfRange, where_ + problem);
    }
    void need(std::size_t n, const char* what) const {
        if (d_.size() - pos_ < n) fail(std::string("its ") + what + " runs past the end of the record");
    }
    std::int32_t number(const char* what) {
        need(4, what);
        if (d_[pos_ + 3] >= 128) fail(std::string("its ") + what + " has the top bit set");
        const std::int32_t v = cChunks::BytesToLong(&d_[pos_]);
        pos_ += 4;
        return v;
    }
    std::string text(const char* what, std::size_t limit = SIZE_MAX) {
        const auto n = static_cast<std::size_t>(number(what));
        if (n > limit)
            fail(std::string("its ") + what + " is " + std::to_string(n) + " bytes long, more than the " +
                 std::to_string(limit) + " that fit in its first block");
        need(n, what);
        std::string s(d_.begin() + pos_, d_.begin() + pos_ + n);
        pos_ += n;
        return s;
    }
    void skip(std::size_t n) { pos_ += n; }
    std::size_t left() const { return d_.size() - pos_; }

private:
    const Bytes& d_;
    const std::string& where_;
    std::size_t pos_ = 0;
};

}  // namespace

void NodeRecord::ParseHeader(const Bytes& head, const std::string& where) {
    Reader r(head, where);
    if (head.size() < kHeaderBytes) r.fail("it is only " + std::to_string(head.size()) + " bytes long");
    r.skip(23);
    std::string text = r.text("name", kMaxNodeTextBytes);
    deleted = head[0] != 0x20;
    key.assign(head.begin() + 1, head.begin() + 12);
    parent.assign(head.begin() + 12, head.begin() + 23);
    nodeText = std::move(text);
}

bool NodeRecord::PeekHeader(const std::uint8_t* head, std::size_t size, bool& deleted, std::string_view& name) {
    if (size < kHeaderBytes || head[26] >= 128) return false;
    const auto t = static_cast<std::size_t>(cChunks::BytesToLong(head + 23));
    if (t > kMaxNodeTextBytes || size - kHeaderBytes < t) return false;
    deleted = head[0] != 0x20;
    name = std::string_view(reinterpret_cast<const char*>(head) + kHeaderBytes, t);
    return true;
}

void NodeRecord::Parse(const Bytes& data, const std::string& where) {
    ParseHeader(data, where);
    Reader r(data, where);
    r.skip(kHeaderBytes + nodeText.size());
    const std::int32_t count = r.number("link count");
    // Every link takes at least 16 bytes.
    if (static_cast<std::size_t>(count) > r.left() / 16) r.fail("its link count runs past the end of the record");
    std::vector<NodeLink> read(static_cast<std::size_t>(count) + 1);
    for (std::int32_t i = 1; i <= count; ++i) {
        NodeLink& l = read[i];
        l.start = r.number("link start");
        l.end = r.number("link end");
        l.text = r.text("link text");
        l.target = r.text("link target");
    }
    std::string body = r.text("body");
    linkCount = count;
    links = std::move(read);
    rtfData = std::move(body);
}

Bytes NodeRecord::Pack() const {
    if (nodeText.size() > kMaxNodeTextBytes)
        throw TamixError(kErrOutOfRange, "A note name can have at most " + std::to_string(kMaxNodeTextBytes) +
                                             " characters; this one has " + std::to_string(nodeText.size()));
    std::uint64_t size = kHeaderBytes + nodeText.size() + 4 + 4 + rtfData.size() + 1;
    for (std::int32_t i = 1; i <= linkCount; ++i) {
        const NodeLink& l = links[i];
        if (l.start < 0 || l.end < 0)
            throw TamixError(kErrOverflow, "Link " + std::to_string(i) + " has a negative position (" +
                                               std::to_string(std::min(l.start, l.end)) + "), which cannot be stored");
        size += 16 + l.text.size() + l.target.size();
    }
    if (size > static_cast<std::uint64_t>(INT32_MAX))
        throw TamixError(kErrOverflow, "The note is too large to be stored (" + std::to_string(size) + " bytes)");
    Bytes out(size, 0);
    std::size_t pos = 0;
    auto putNumber = [&](std::size_t v) {
        const Bytes b = cChunks::LongToBytes(static_cast<std::int32_t>(v));
        std::copy(b.begin(), b.end(), out.begin() + pos);
        pos += 4;
    };
    auto putText = [&](const std::string& s) {
        putNumber(s.size());
        std::copy(s.begin(), s.end(), out.begin() + pos);
        pos += s.size();
    };
    out[pos++] = deleted ? '*' : ' ';
    std::copy(key.begin(), key.end(), out.begin() + pos);
    pos += kKeyLength;
    std::copy(parent.begin(), parent.end(), out.begin() + pos);
    pos += kKeyLength;
    putText(nodeText);
    putNumber(static_cast<std::size_t>(linkCount));
    for (std::int32_t i = 1; i <= linkCount; ++i) {
        putNumber(static_cast<std::size_t>(links[i].start));
        putNumber(static_cast<std::size_t>(links[i].end));
        putText(links[i].text);
        putText(links[i].target);
    }
    putText(rtfData);
    return out;
}

}  // namespace tamix
