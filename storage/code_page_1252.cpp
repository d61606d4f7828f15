#include "storage/code_page_1252.h"

#include "storage/tamix_error.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace tamix {
namespace {

// Unicode code point of bytes 0x80-0x9F; the undefined ones map to the C1
// control character of the same value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t toCodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
    return b;
}

// The byte for a code point, or -1 when the code page has none.
int toByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

[[noreturn]] void refuseEncoding(std::size_t at) {
    throw TamixError(kErrCodePage, "The text is not valid UTF-8 (at byte " +
                                       std::to_string(at + 1) + ")");
}

// Decodes the code point starting at text[pos] and advances pos; refuses
// malformed, overlong and surrogate sequences.
char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra;
    char32_t c;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        refuseEncoding(pos);
    }
    if (pos + extra >= text.size()) refuseEncoding(pos);
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) refuseEncoding(pos);
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        refuseEncoding(pos);
    pos += extra + 1;
    return c;
}

std::string describe(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string shown;
    if (c >= 0x20 && !(c >= 0x7F && c < 0xA0)) {
        shown = "\"";
        appendUtf8(shown, c);
        shown += "\" ";
    }
    return "The character " + shown + "(" + code +
           ") cannot be stored: the database holds only characters of the Windows-1252 code page";
}

}  // namespace

std::string CodePage1252::fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = nextCodePoint(utf8, pos);
        const int b = toByte(c);
        if (b < 0) throw TamixError(kErrCodePage, describe(c));
        out += static_cast<char>(b);
    }
    return out;
}

std::string CodePage1252::toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) appendUtf8(out, toCodePoint(static_cast<unsigned char>(b)));
    return out;
}

std::size_t CodePage1252::characterCount(std::string_view utf8) {
    std::size_t pos = 0, count = 0;
    while (pos < utf8.size()) {
        nextCodePoint(utf8, pos);
        ++count;
    }
    return count;
}

std::string CodePage1252::foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = nextCodePoint(utf8, pos);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c += 0x20;
        else if (c == 0x0160 || c == 0x0152 || c == 0x017D)
            c += 1;
        else if (c == 0x0178)
            c = 0xFF;
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace tamix
