#pragma once

#include <string>
#include <string_view>

#include "rtf/code_page.h"
#include "rtf/rtf_document.h"

namespace tamix::rtf {

// Gathers the document's text while it is read: code-page bytes wait until
// the format changes and are then decoded in one go (so double-byte
// characters split over two escapes come out whole), text becomes runs, and
// runs become paragraphs. The caller flushes before every change of format or
// font, so pending text always belongs to the format in force.
class TextCollector {
public:
    explicit TextCollector(CodePage& codePage) : codePage_(codePage) {}

    // Code-page bytes of text; control characters other than tab are dropped.
    void addBytes(std::string_view bytes);
    // A character; pending bytes are decoded with `codePage` first.
    void addCodePoint(char32_t cp, int codePage);
    // \uN: surrogate halves are joined; a lone one becomes U+FFFD.
    void addUnicode(int value, int codePage);

    // True when text waits to become a run.
    bool hasPending() const { return !bytes_.empty() || !text_.empty() || highSurrogate_ != 0; }
    // True when the paragraph being read has neither runs nor pending text.
    bool paragraphEmpty() const { return paragraph_.runs.empty() && !hasPending(); }

    // Turns the pending text into a run in `format`.
    void flush(int codePage, const CharFormat& format);
    // Adds a picture or object run (pending text must have been flushed).
    void addRun(Run run) { paragraph_.append(std::move(run)); }
    // Closes the paragraph being read with a paragraph mark.
    void endParagraph(const ParaFormat& format, const CharFormat& mark);
    // The document: a last paragraph without a mark is kept when it has runs.
    RtfDocument finish(const ParaFormat& format, const CharFormat& mark);

private:
    void decodeBytes(int codePage);
    void dropLoneSurrogate(int codePage);

    CodePage& codePage_;
    std::string bytes_;            // code-page bytes not yet decoded
    std::string text_;             // UTF-8 text not yet a run
    char16_t highSurrogate_ = 0;   // a \uN high half waiting for its low half
    Paragraph paragraph_;          // the paragraph being read
    RtfDocument document_;         // paragraphs read so far
};

}  // namespace tamix::rtf
