#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rtf/rtf_document.h"

namespace tamix::rtf {

// Reads RTF into an RtfDocument. Never throws on bad input and never fails:
// unbalanced braces, a file cut short, absurd nesting, \bin lengths past the
// end, oversized numbers or control words, NUL bytes and binary garbage all
// give the best document that can be made of the input, and each problem is
// listed in skipped(). Parsing is iterative; group state is kept for at most
// kMaxDepth nested groups (deeper groups are read with the state of the
// deepest kept level), so memory stays proportional to the input.
class RtfReader {
public:
    static constexpr int kMaxDepth = 1000;

    // Reads a whole RTF text. Calling it again forgets the previous skip list.
    RtfDocument read(std::string_view rtf);

    // What the last read() could not use, in input order: one line per
    // problem or per kind of unknown destination ("unknown destination
    // \foo (3 times)"). At most 200 entries; the last one says when more
    // were dropped.
    const std::vector<std::string>& skipped() const { return skipped_; }

private:
    std::vector<std::string> skipped_;  // filled by read() only
};

}  // namespace tamix::rtf
