#pragma once

#include <string>
#include <string_view>

namespace tamix {

// Converts between UTF-8 text and the single-byte Windows-1252 code page in
// which the database stores every text field. The conversion is exact in both
// directions: the five byte values the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) read as the control characters of the same number, so any
// byte string survives a read and a write unchanged.
class CodePage1252 {
public:
    // UTF-8 text -> one byte per character. A character the code page cannot
    // hold, or input that is not valid UTF-8, is refused with a TamixError
    // (kErrCodePage) naming the character; nothing is ever replaced.
    static std::string fromUtf8(std::string_view utf8);

    // Code-page bytes -> UTF-8 text. Never fails.
    static std::string toUtf8(std::string_view bytes);

    // The number of characters in valid UTF-8 text (code points); refuses
    // invalid UTF-8 like fromUtf8.
    static std::size_t characterCount(std::string_view utf8);

    // Lower-cases a UTF-8 text for label comparisons: ASCII and the letters of
    // the code page's upper half (including the few in 0x80-0x9F).
    static std::string foldCase(std::string_view utf8);
};

}  // namespace tamix
