#pragma once

#include <cstddef>
#include <string_view>

namespace tamix::rtf {

// One lexical unit of RTF.
struct RtfToken {
    enum class Kind {
        GroupStart,     // '{'
        GroupEnd,       // '}'
        ControlWord,    // '\' letters [-]digits; "par" also for '\' before a line end
        ControlSymbol,  // '\' and one non-letter: word holds that character
        HexByte,        // \'hh: param holds the byte, or -1 when the digits are not hex
        Text,           // bytes up to the next '\', '{', '}' or line end
        Binary,         // \binN: text holds the (possibly shortened) data
        End,            // no more input
    };
    Kind kind = Kind::End;
    std::string_view word;  // control word letters or the symbol character
    std::string_view text;  // Text and Binary data
    bool hasParam = false;
    int param = 0;          // clamped to the 32-bit range
    bool truncated = false; // Binary data shorter than its length, or a number clamped
    std::size_t offset = 0; // where the token starts in the input
};

// Splits RTF into tokens. Every call consumes at least one byte until End,
// so a loop over next() ends after at most (input size + 1) tokens; no token
// needs more than constant memory beyond views into the input.
class RtfLexer {
public:
    explicit RtfLexer(std::string_view input) : input_(input) {}

    RtfToken next();

    // The offset just past the last token returned.
    std::size_t position() const { return pos_; }

private:
    RtfToken controlWord(std::size_t start);

    std::string_view input_;
    std::size_t pos_ = 0;  // never past input_.size()
};

}  // namespace tamix::rtf
