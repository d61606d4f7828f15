#pragma once

#include "storage/c_data_base.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamix {

// One link entry of a record; texts are Windows-1252 bytes.
struct NodeLink {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string text;
    std::string target;
};

// A node record as the chunk store holds it (texts as Windows-1252 bytes):
//   0 deletion mark '*' / ' ' | 1 Key (11) | 12 Parent (11) | 23 T | 27 NodeText (T) |
//   LinkCount | per link: LinkStart, LinkEnd, TL, LinkText, LL, LinkLink |
//   R | RTFData (R) | a final zero byte
// All numbers 4-byte little-endian in 0 ... 2^31-1.
struct NodeRecord {
    static constexpr std::size_t kKeyLength = 11;
    static constexpr std::size_t kHeaderBytes = 27;     // mark, Key, Parent, T
    static constexpr std::size_t kMinBytes = 36;
    static constexpr std::size_t kMaxNodeTextBytes = 981;

    bool deleted = false;
    std::string key = std::string(kKeyLength, ' ');     // always 11 bytes
    std::string parent = std::string(kKeyLength, ' ');  // always 11 bytes
    std::string nodeText;
    std::int32_t linkCount = 0;
    std::vector<NodeLink> links = std::vector<NodeLink>(1);  // indices 0 ... size-1; may exceed linkCount
    std::string rtfData;

    // Reads the header part held in a head block: mark, Key, Parent, NodeText.
    // Fails with kErrOutOfRange, the message starting with `where`, when the
    // bytes cannot hold them (a name over 981 bytes among them).
    void ParseHeader(const Bytes& head, const std::string& where);
    // The deletion mark and name that ParseHeader would read from these head
    // bytes; false where it would fail. `name` points into `head`.
    static bool PeekHeader(const std::uint8_t* head, std::size_t size, bool& deleted, std::string_view& name);
    // Reads a whole record. Every length is checked against what is left of
    // the record before anything is allocated for it.
    void Parse(const Bytes& data, const std::string& where);
    // The record's bytes; fails when a field cannot be stored.
    Bytes Pack() const;
};

}  // namespace tamix
