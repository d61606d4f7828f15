#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "rtf/code_page.h"
#include "rtf/rtf_document.h"

namespace tamix::rtf {

// The font table of a document being read: entries by font number, each with
// the code page its text is in, and the entry being read. Names are decoded
// in their font's charset, stripped of control characters and trimmed, and
// kept to kMaxNameLength characters; at most kMaxFonts fonts are kept.
class FontTable {
public:
    static constexpr std::size_t kMaxNameLength = 100;
    static constexpr std::size_t kMaxFonts = 4096;

    explicit FontTable(CodePage& codePage) : codePage_(codePage) {}

    // \ansicpg: the code page of fonts without a charset, and of charset 1.
    void setDocumentCodePage(int codePage) { documentCodePage_ = codePage; }
    int documentCodePage() const { return documentCodePage_; }

    // \fN inside the table: finishes the entry being read and starts entry N.
    void begin(int number);
    void setCharset(int charset);
    void setFamily(std::string_view family);  // "roman", "swiss", ...
    void addNameBytes(std::string_view bytes);  // a ';' finishes the entry
    void addNameUnicode(int value);             // \uN, surrogate pairs joined
    // Stores the entry being read, if any. Safe to call at any time.
    void finish();

    // The font numbered `number`, or null.
    const Font* find(int number) const;
    // The code page of text in font `number` (the document's when there is no such font).
    int codePage(int number) const;

private:
    struct Entry {
        Font font;
        int codePage = 1252;
    };
    int pendingCodePage() const;

    CodePage& codePage_;
    int documentCodePage_ = 1252;
    std::unordered_map<int, Entry> fonts_;  // size <= kMaxFonts

    int number_ = -1;  // entry being read; -1 = none
    Entry pending_;
    bool charsetGiven_ = false;
    std::string nameBytes_;          // name bytes not yet decoded
    std::string nameText_;           // name decoded so far (UTF-8)
    char16_t highSurrogate_ = 0;     // a \uN high half waiting for its low half
};

}  // namespace tamix::rtf
