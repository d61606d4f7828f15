#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rtf/code_page.h"
#include "rtf/color_table.h"
#include "rtf/font_table.h"
#include "rtf/group_state.h"
#include "rtf/list_paragraphs.h"
#include "rtf/picture_reader.h"
#include "rtf/rtf_document.h"
#include "rtf/rtf_lexer.h"
#include "rtf/text_collector.h"

namespace tamix::rtf {

// One read() call: all parse state lives here, so the reader object itself
// keeps nothing but the skip list between calls.
class ReadSession {
public:
    ReadSession(std::string_view input, std::vector<std::string>& skipped)
        : input_(input), skipped_(skipped), fonts_(codePage_), text_(codePage_) {}

    RtfDocument run();

private:
    GroupState& state() { return stack_.back(); }
    void note(std::string message);

    void groupStart(std::size_t offset);
    void groupEnd(std::size_t endOffset);
    bool startDestination(std::string_view word, bool ignorable);
    void controlWord(const RtfToken& token);
    void bodyControlWord(std::string_view word, bool hasParam, int param);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);

    void flushText();
    void appendCodePoint(char32_t cp) { text_.addCodePoint(cp, currentCodePage()); }
    void endParagraph();
    // The format of the paragraph that ends now.
    ParaFormat paragraphFormat() { return lists_.paragraphFormat(state().para, state().listOverride > 0); }
    CharFormat currentFormat();
    int currentCodePage() { return fonts_.codePage(state().chars.font < 0 ? defaultFont_ : state().chars.font); }
    void finishPicture();
    void finishObject(std::size_t endOffset);

    std::string_view input_;
    std::vector<std::string>& skipped_;
    std::map<std::string, int, std::less<>> unknownDestinations_;  // name -> times seen
    int droppedNotes_ = 0;

    std::vector<GroupState> stack_;  // [0] is the state outside every group; never empty
    std::optional<GroupState> outerEnd_;  // the document group's state as it closed, unless text followed
    int flattened_ = 0;              // open groups beyond kMaxDepth, read with the top state
    std::size_t lastGroupStart_ = 0; // offset of the last '{'
    int closedAtEnd_ = 0;            // groups closed because the input ended
    bool groupJustOpened_ = false;   // the last token was '{' (or "{\*")
    bool ignorableNext_ = false;     // "{\*" seen, waiting for the destination word
    std::string_view pendingBlanks_; // blanks right after '{', held until the next token shows their role
    int skipBytes_ = 0;              // fallback characters still to skip after \uN
    int footnotes_ = 0;              // footnote marks (\chftn) numbered so far

    CodePage codePage_;  // shared by the font table and the text collector
    int defaultFont_ = 0;
    FontTable fonts_;
    ColorTable colors_;

    PictureReader picture_;  // the picture being read; a nested \pict group restarts it

    std::size_t objectStart_ = 0;
    std::size_t objectDepth_ = 0;  // stack size of the open object's group; 0 = none
    EmbeddedObject object_;
    bool objectTooDeep_ = false;   // the open object holds groups past kMaxDepth

    ListParagraphs lists_;  // the {\*\pn} group, the paragraph's label and the list above

    TextCollector text_;
};

}  // namespace tamix::rtf
