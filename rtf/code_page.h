#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

class QStringDecoder;

namespace tamix::rtf {

// Turns bytes of a Windows code page into UTF-8. Windows-1252 and the
// symbol charset are done by table; other code pages go
// through ICU-backed QStringDecoders, created on first use and kept for the
// life of this object. An unknown code page is read as 1252.
class CodePage {
public:
    // The pseudo code page of symbol fonts (\fcharset2): byte b is the
    // private-use character U+F000 + b, as Windows maps it (blanks stay blanks).
    static constexpr int kSymbol = 42;

    CodePage();
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    // Appends the UTF-8 text of `bytes` in code page `codePage` to `out`.
    // Multi-byte code pages need whole characters in one call. Control
    // characters other than tab never come out of the converters.
    void decode(std::string_view bytes, int codePage, std::string& out);

    // The code page for an \fcharset value; `documentCodePage` (\ansicpg)
    // serves charset 1 ("default"). Unknown charsets give 1252.
    static int forCharset(int charset, int documentCodePage);

    // The Windows-1252 byte for a code point, or -1 when 1252 cannot hold it.
    static int encode1252(char32_t codePoint);

    // The code point of a Windows-1252 byte (undefined bytes map to the
    // C1 control of the same number, as Windows does).
    static char32_t decode1252(unsigned char byte);

    // Appends the UTF-8 form of a code point (invalid ones as U+FFFD).
    static void appendUtf8(char32_t codePoint, std::string& out);

private:
    // Decoders by code page; a null entry means ICU does not know it.
    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

}  // namespace tamix::rtf
