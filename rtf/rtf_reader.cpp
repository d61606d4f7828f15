#include "rtf_reader.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "code_page.h"
#include "rtf_lexer.h"

namespace tamix::rtf {

namespace {

using Kind = RtfToken::Kind;

// What the text of a group is for.
enum class Dest {
    Body,          // document text
    Skip,          // dropped: ignorable or non-text destinations
    FontTable,
    ColorTable,
    Picture,
    Object,        // inside {\object}: only \result matters
    ObjectResult,  // {\result} of an object: its first picture is kept
    Bullet,        // {\*\pn}: paragraph numbering properties
    Upr,           // {\upr}: an ANSI text and its Unicode twin {\*\ud}; only the twin is read
};

// The state a group inherits from its parent and that '}' restores.
struct GroupState {
    Dest dest = Dest::Body;
    int font = -1;  // font table number; -1 = \deff
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strike = false, protect = false;
    int color = 0;      // colour table index; 0 = automatic
    int highlight = 0;  // colour table index; 0 = none
    int uc = 1;         // bytes to skip after \uN
    ParaFormat para;
};

struct FontEntry {
    Font font;
    int codePage = 1252;
};

// Destinations whose text is never document text, though they lack "\*".
const char* const kSkippedDestinations[] = {
    "stylesheet", "info", "header", "headerl", "headerr", "headerf", "footer", "footerl",
    "footerr", "footerf", "footnote", "annotation", "fldinst", "pntext", "listtext",
    "nonshppict", "pntxta", "pntxtb", "listtable", "listoverridetable", "revtbl", "rsidtbl",
    "filetbl", "xe", "tc", "txe", "template", "comment", "title", "subject", "author",
    "operator", "keywords", "doccomm", "hlinkbase", "private", "datafield", "objdata",
    "objclass", "objname", "shpinst", "shptxt", "background", "do", "atnid", "atnauthor",
    "atrfstart", "atrfend", "bkmkstart", "bkmkend", "pgdsctbl", "mmathPr", "xmlnstbl",
    "themedata", "colorschememapping", "latentstyles", "datastore", "generator", "listpicture",
    "fontemb", "fontfile", "panose", "falt", "leveltext", "levelnumbers", "blipuid", "picprop",
    "userprops", "docvar", "buptim", "creatim", "printim", "revtim", "company", "manager",
    "category", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
    "aftncn", "wgrffmtfilter", "sp", "sn", "sv", "passwordhash",
    "protusertbl", "oldcprops", "oldpprops", "oldtprops", "oldsprops", "mhtmltag", "htmltag",
};

bool isSkippedDestination(std::string_view word);

// Words that start a destination of their own when they open a group.
bool startsDestination(std::string_view word) {
    return word == "fonttbl" || word == "colortbl" || word == "pict" || word == "object" || word == "result" ||
           word == "pn" || word == "upr" || word == "ud" || isSkippedDestination(word);
}

bool isSkippedDestination(std::string_view word) {
    for (const char* name : kSkippedDestinations) {
        if (word == name) return true;
    }
    return false;
}

char32_t specialCharacter(std::string_view word) {
    if (word == "tab") return U'\t';
    if (word == "line") return 0x2028;
    if (word == "emdash") return 0x2014;
    if (word == "endash") return 0x2013;
    if (word == "bullet") return 0x2022;
    if (word == "lquote") return 0x2018;
    if (word == "rquote") return 0x2019;
    if (word == "ldblquote") return 0x201C;
    if (word == "rdblquote") return 0x201D;
    if (word == "emspace") return 0x2003;
    if (word == "enspace") return 0x2002;
    if (word == "qmspace") return 0x2005;
    if (word == "zwj") return 0x200D;
    if (word == "zwnj") return 0x200C;
    if (word == "ltrmark") return 0x200E;
    if (word == "rtlmark") return 0x200F;
    return 0;
}

// One read() call: all parse state lives here, so the reader object itself
// keeps nothing but the skip list between calls.
class Session {
public:
    Session(std::string_view input, std::vector<std::string>& skipped) : input_(input), skipped_(skipped) {}

    RtfDocument run();

private:
    GroupState& state() { return stack_.back(); }
    void note(std::string message);

    void groupStart(std::size_t offset);
    void groupEnd(std::size_t endOffset);
    bool startDestination(std::string_view word, bool ignorable);
    void controlWord(const RtfToken& token);
    void bodyControlWord(std::string_view word, bool hasParam, int param);
    void pictureWord(std::string_view word, bool hasParam, int param);
    void text(std::string_view bytes);
    void hexByte(unsigned char byte);
    void unicode(int value);

    void flushBytes();
    void flushText();
    void appendCodePoint(char32_t cp);
    void dropLoneSurrogate();  // a high surrogate not followed by its low half becomes U+FFFD
    void endParagraph();
    CharFormat currentFormat();
    int currentCodePage();
    void finishFont();
    void fontNameUnicode(int value);
    int fontCodePage() const;
    int fontNameCodePage() const { return fontCodePage() == CodePage::kSymbol ? 1252 : fontCodePage(); }
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
    char16_t highSurrogate_ = 0;     // a \uN high surrogate waiting for its low half
    int footnotes_ = 0;              // footnote marks (\chftn) numbered so far

    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    std::vector<std::optional<Color>> colors_;
    CodePage codePage_;

    int fontNumber_ = -1;  // table entry being read; -1 = none
    FontEntry fontPending_;
    bool fontCharsetGiven_ = false;
    std::string fontNameBytes_;    // name bytes not yet decoded
    std::string fontNameText_;     // name decoded so far (UTF-8)
    char16_t fontHighSurrogate_ = 0;  // a \uN high surrogate in a font name

    Color colorPending_;
    bool colorSet_ = false;

    Picture picture_;            // picture being read; nested \pict groups restart it
    int pictureNibble_ = -1;     // a leftover high hex digit, or -1

    std::size_t objectStart_ = 0;
    std::size_t objectDepth_ = 0;  // stack size of the open object's group; 0 = none
    EmbeddedObject object_;
    bool objectTooDeep_ = false;   // the open object holds groups past kMaxDepth

    bool pnBullet_ = false;  // of the {\*\pn} group being read
    int pnIndent_ = 0;

    std::string pendingBytes_;  // code-page bytes not yet decoded, in the current format
    std::string pendingText_;   // UTF-8 text in the current format, not yet a run
    Paragraph paragraph_;
    RtfDocument document_;
};

void Session::note(std::string message) {
    if (skipped_.size() < 199) {
        skipped_.push_back(std::move(message));
    } else {
        ++droppedNotes_;
    }
}

RtfDocument Session::run() {
    stack_.reserve(64);
    stack_.emplace_back();
    const std::size_t start = input_.find("{\\rtf");
    if (start == std::string_view::npos) {
        if (!input_.empty()) note("the input does not start with {\\rtf; read as RTF anyway");
    } else if (start > 0) {
        note(std::to_string(start) + " byte(s) before {\\rtf skipped");
        input_.remove_prefix(start);
    }
    RtfLexer lexer(input_);
    bool closedOuter = false;
    bool textAfterEnd = false;
    for (;;) {
        const RtfToken token = lexer.next();
        if (token.kind == Kind::End) break;
        if (closedOuter) {
            if (token.kind == Kind::Text && token.text.find_first_not_of(std::string_view(" \t\0", 3)) == std::string_view::npos) continue;
            if (!textAfterEnd) note("text after the end of the document at offset " + std::to_string(token.offset) + " read as part of it");
            textAfterEnd = true;
            closedOuter = false;
            outerEnd_.reset();
        }
        const bool wasJustOpened = groupJustOpened_;
        groupJustOpened_ = false;
        if (!pendingBlanks_.empty()) {
            // Blanks at the start of a group are text unless a destination word follows.
            const bool mayBeDestination = (token.kind == Kind::ControlWord && startsDestination(token.word)) ||
                                          (token.kind == Kind::ControlSymbol && token.word == "*");
            if (!mayBeDestination) text(pendingBlanks_);
            if (!(token.kind == Kind::ControlSymbol && token.word == "*")) pendingBlanks_ = {};
        }
        switch (token.kind) {
        case Kind::GroupStart:
            skipBytes_ = 0;
            groupStart(token.offset);
            break;
        case Kind::GroupEnd:
            skipBytes_ = 0;
            ignorableNext_ = false;
            if (stack_.size() <= 1 && flattened_ == 0) {
                note("unbalanced } at offset " + std::to_string(token.offset) + " ignored");
                break;
            }
            groupEnd(lexer.position());
            if (stack_.size() == 1 && flattened_ == 0) closedOuter = true;
            break;
        case Kind::ControlSymbol:
        case Kind::ControlWord:
            if (token.kind == Kind::ControlSymbol && token.word == "*") {
                if (wasJustOpened) {
                    ignorableNext_ = true;
                    groupJustOpened_ = true;  // the destination word still counts as the group's first
                }
                break;
            }
            if (skipBytes_ > 0) {
                --skipBytes_;
                break;
            }
            if (wasJustOpened && token.kind == Kind::ControlWord) {
                const bool ignorable = ignorableNext_;
                ignorableNext_ = false;
                if (startDestination(token.word, ignorable)) break;
            }
            ignorableNext_ = false;
            controlWord(token);
            break;
        case Kind::HexByte:
            ignorableNext_ = false;
            if (skipBytes_ > 0) {
                --skipBytes_;
            } else if (token.param < 0) {
                note("bad \\' escape at offset " + std::to_string(token.offset) + " skipped");
            } else {
                hexByte(static_cast<unsigned char>(token.param));
            }
            break;
        case Kind::Text: {
            std::string_view bytes = token.text;
            if (wasJustOpened && bytes.find_first_not_of(' ') == std::string_view::npos) {
                groupJustOpened_ = true;  // blanks before a destination word do not make it text
                pendingBlanks_ = bytes;
                break;
            }
            ignorableNext_ = false;
            if (skipBytes_ > 0) {
                const std::size_t n = std::min<std::size_t>(std::size_t(skipBytes_), bytes.size());
                bytes.remove_prefix(n);
                skipBytes_ -= int(n);
            }
            if (!bytes.empty()) text(bytes);
            break;
        }
        case Kind::Binary:
            ignorableNext_ = false;
            if (token.truncated) note("\\bin length past the end of the input at offset " + std::to_string(token.offset));
            if (skipBytes_ > 0) {
                --skipBytes_;
            } else if (state().dest == Dest::Picture) {
                picture_.data.append(token.text);
            }
            break;
        case Kind::End:
            break;
        }
    }
    const std::size_t open = stack_.size() - 1 + std::size_t(flattened_);
    if (open > 0) {
        note("the input ends inside " + std::to_string(open) + " open group(s)");
        while (stack_.size() > 1 || flattened_ > 0) {
            ++closedAtEnd_;
            groupEnd(input_.size());
        }
    }
    flushText();
    if (!paragraph_.runs.empty()) {
        // An unterminated last paragraph has the formats in force where the document group closed.
        if (outerEnd_) stack_.back() = std::move(*outerEnd_);
        paragraph_.format = state().para;
        paragraph_.markFormat = currentFormat();
        document_.paragraphs.push_back(std::move(paragraph_));
        document_.endsWithParagraphMark = false;
    }
    for (const auto& [name, count] : unknownDestinations_) {
        note("unknown destination \\" + name + " skipped" + (count > 1 ? " (" + std::to_string(count) + " times)" : ""));
    }
    if (droppedNotes_ > 0) skipped_.push_back("... and " + std::to_string(droppedNotes_) + " more");
    return std::move(document_);
}

void Session::groupStart(std::size_t offset) {
    groupJustOpened_ = true;
    ignorableNext_ = false;
    if (int(stack_.size()) > RtfReader::kMaxDepth) {
        if (objectDepth_ != 0) objectTooDeep_ = true;
        if (flattened_ == 0) {
            note("groups nested deeper than " + std::to_string(RtfReader::kMaxDepth) + " levels at offset " +
                 std::to_string(offset) + " read flat");
        }
        ++flattened_;
        return;
    }
    stack_.push_back(state());
    lastGroupStart_ = offset;
}

void Session::groupEnd(std::size_t endOffset) {
    if (flattened_ > 0) {
        --flattened_;
        return;
    }
    flushText();
    const std::size_t closingDepth = stack_.size();
    if (closingDepth == 2) outerEnd_ = state();
    GroupState closed = std::move(stack_.back());
    stack_.pop_back();
    const Dest parent = state().dest;
    switch (closed.dest) {
    case Dest::FontTable:
        finishFont();
        break;
    case Dest::Picture:
        if (parent != Dest::Picture) finishPicture();
        break;
    case Dest::Bullet:
        if (parent != Dest::Bullet) {
            state().para.bullet = pnBullet_;
            state().para.bulletIndent = pnBullet_ ? pnIndent_ : 0;  // the indent only matters for bullets
        }
        break;
    default:
        break;
    }
    if (objectDepth_ != 0 && closingDepth == objectDepth_) finishObject(endOffset);
}

bool Session::startDestination(std::string_view word, bool ignorable) {
    GroupState& s = state();
    if (s.dest == Dest::Skip) return true;
    if (flattened_ > 0) return false;  // too deep to give the group a state of its own
    if (word == "fonttbl" || word == "colortbl") {
        // Tables inside pictures or objects must not redefine the document's;
        // text read so far keeps the fonts it was read with.
        flushText();
        s.dest = s.dest != Dest::Body ? Dest::Skip : word == "fonttbl" ? Dest::FontTable : Dest::ColorTable;
    } else if (word == "pict") {
        if (s.dest == Dest::Body || s.dest == Dest::ObjectResult) {
            s.dest = Dest::Picture;
            picture_ = Picture{};
            pictureNibble_ = -1;
        } else {
            s.dest = Dest::Skip;
        }
    } else if (word == "object") {
        if (s.dest == Dest::Body && objectDepth_ == 0) {
            s.dest = Dest::Object;
            objectStart_ = lastGroupStart_;
            objectDepth_ = stack_.size();
            objectTooDeep_ = false;
            object_ = EmbeddedObject{};
        } else {
            s.dest = Dest::Skip;
        }
    } else if (word == "result") {
        if (s.dest == Dest::Object) s.dest = Dest::ObjectResult;
    } else if (word == "upr") {
        s.dest = s.dest == Dest::Body ? Dest::Upr : Dest::Skip;
    } else if (word == "ud") {
        s.dest = s.dest == Dest::Upr ? Dest::Body : Dest::Skip;
    } else if (word == "pn") {
        if (s.dest == Dest::Body) {
            s.dest = Dest::Bullet;
            pnBullet_ = false;
            pnIndent_ = 0;
        } else {
            s.dest = Dest::Skip;
        }
    } else if (word == "shppict" || word == "fldrslt" || word == "field" || word == "shprslt") {
        return true;  // their content is ordinary document content
    } else if (isSkippedDestination(word)) {
        s.dest = Dest::Skip;
    } else if (ignorable) {
        s.dest = Dest::Skip;
        ++unknownDestinations_[std::string(word)];
    } else {
        return false;
    }
    return true;
}

void Session::controlWord(const RtfToken& token) {
    const std::string_view word = token.word;
    GroupState& s = state();
    if (token.kind == Kind::ControlWord && s.dest == Dest::Body) {
        // Document settings count only in the document's own text, never inside an object.
        if (word == "ansicpg" || word == "mac" || word == "pc" || word == "pca" || word == "deff") flushText();
        if (word == "ansicpg") {
            if (token.param > 0) documentCodePage_ = token.param;
            return;
        }
        if (word == "mac") { documentCodePage_ = 10000; return; }
        if (word == "pc") { documentCodePage_ = 437; return; }
        if (word == "pca") { documentCodePage_ = 850; return; }
        if (word == "deff") {
            defaultFont_ = token.param;
            return;
        }
    }
    if (token.kind == Kind::ControlWord) {
        // Words that mean the same in every destination.
        if (word == "u") {
            if (s.dest == Dest::Body) unicode(token.param);
            if (s.dest == Dest::FontTable && fontNumber_ >= 0) fontNameUnicode(token.param);
            skipBytes_ = std::max(0, s.uc);
            return;
        }
        if (word == "uc") {
            s.uc = token.hasParam ? std::clamp(token.param, 0, 10) : 1;
            return;
        }
    } else {
        // Control symbols: escaped characters are text, the rest special characters.
        const char c = word.empty() ? '\0' : word[0];
        if (c == '\\' || c == '{' || c == '}') {
            text(word);
        } else if (s.dest == Dest::Body) {
            if (c == '~') appendCodePoint(0xA0);
            else if (c == '-') appendCodePoint(0xAD);
            else if (c == '_') appendCodePoint(0x2011);
        }
        return;
    }
    switch (s.dest) {
    case Dest::Body:
        bodyControlWord(word, token.hasParam, token.param);
        break;
    case Dest::FontTable:
        if (word == "f") {
            finishFont();
            fontNumber_ = token.param;
            fontPending_ = FontEntry{};
            fontCharsetGiven_ = false;
            fontNameBytes_.clear();
            fontNameText_.clear();
        } else if (word == "fcharset") {
            fontPending_.font.charset = token.param;
            fontCharsetGiven_ = true;
        } else if (word == "fnil" || word == "froman" || word == "fswiss" || word == "fmodern" ||
                   word == "fscript" || word == "fdecor" || word == "ftech" || word == "fbidi") {
            fontPending_.font.family = std::string(word.substr(1));
        }
        break;
    case Dest::ColorTable:
        if (word == "red") { colorPending_.red = std::uint8_t(std::clamp(token.param, 0, 255)); colorSet_ = true; }
        else if (word == "green") { colorPending_.green = std::uint8_t(std::clamp(token.param, 0, 255)); colorSet_ = true; }
        else if (word == "blue") { colorPending_.blue = std::uint8_t(std::clamp(token.param, 0, 255)); colorSet_ = true; }
        break;
    case Dest::Picture:
        pictureWord(word, token.hasParam, token.param);
        break;
    case Dest::Object:
        if (word == "objw") object_.width = token.param;
        else if (word == "objh") object_.height = token.param;
        break;
    case Dest::Bullet:
        if (word == "pnlvlblt") pnBullet_ = true;
        else if (word == "pnindent") pnIndent_ = token.param;
        break;
    case Dest::Skip:
    case Dest::ObjectResult:
    case Dest::Upr:
        break;
    }
}

void Session::bodyControlWord(std::string_view word, bool hasParam, int param) {
    GroupState& s = state();
    const bool on = !hasParam || param != 0;
    if (const char32_t special = specialCharacter(word)) {
        appendCodePoint(special);
        return;
    }
    if (word == "chftn") {
        flushBytes();
        pendingText_ += std::to_string(++footnotes_);
        return;
    }
    if (isSkippedDestination(word)) {
        // A destination word out of place still starts its destination.
        flushText();
        s.dest = Dest::Skip;
        return;
    }
    if (word == "par" || word == "cell" || word == "nestcell") {
        endParagraph();
        return;
    }
    if (word == "sect" || word == "page") {
        if (!paragraph_.runs.empty() || !pendingBytes_.empty() || !pendingText_.empty()) endParagraph();
        return;
    }
    ParaFormat& p = s.para;
    if (word == "pard") { p = ParaFormat{}; return; }
    if (word == "ql") { p.alignment = Alignment::Left; return; }
    if (word == "qr") { p.alignment = Alignment::Right; return; }
    if (word == "qc") { p.alignment = Alignment::Center; return; }
    if (word == "qj") { p.alignment = Alignment::Justify; return; }
    if (word == "li" || word == "lin") { p.leftIndent = param; return; }
    if (word == "ri" || word == "rin") { p.rightIndent = param; return; }
    if (word == "fi") { p.firstIndent = param; return; }
    if (word == "sb") { p.spaceBefore = param; return; }
    if (word == "sa") { p.spaceAfter = param; return; }
    if (word == "tx") {
        if (p.tabs.size() < 64) p.tabs.push_back(param);
        return;
    }

    // Character formatting: store the text read so far in the old format first.
    if (word == "plain") {
        flushText();
        s.font = -1;
        s.halfPoints = 24;
        s.bold = s.italic = s.underline = s.strike = s.protect = false;
        s.color = 0;
        s.highlight = 0;
    } else if (word == "b") { flushText(); s.bold = on; }
    else if (word == "i") { flushText(); s.italic = on; }
    else if (word == "strike" || word == "striked") { flushText(); s.strike = on; }
    else if (word == "protect") { flushText(); s.protect = on; }
    else if (word == "ulnone") { flushText(); s.underline = false; }
    else if (word.size() >= 2 && word.substr(0, 2) == "ul" && word != "ulc") { flushText(); s.underline = on; }
    else if (word == "f") { flushText(); s.font = param; }
    else if (word == "fs") {
        flushText();
        s.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
    } else if (word == "cf") { flushText(); s.color = param; }
    else if (word == "highlight") { flushText(); s.highlight = param; }
}

void Session::pictureWord(std::string_view word, bool hasParam, int param) {
    Picture& p = picture_;
    if (word == "pngblip") { p.format = PictureFormat::Png; p.formatParam = 0; }
    else if (word == "jpegblip") { p.format = PictureFormat::Jpeg; p.formatParam = 0; }
    else if (word == "emfblip") { p.format = PictureFormat::Emf; p.formatParam = 0; }
    else if (word == "wmetafile") { p.format = PictureFormat::Wmf; p.formatParam = param; }
    else if (word == "dibitmap") { p.format = PictureFormat::Dib; p.formatParam = param; }
    else if (word == "wbitmap") { p.format = PictureFormat::Bitmap; p.formatParam = param; }
    else if (word == "picw") p.width = param;
    else if (word == "pich") p.height = param;
    else if (word == "picwgoal") p.goalWidth = param;
    else if (word == "pichgoal") p.goalHeight = param;
    else if (word == "picscalex") p.scaleX = param;
    else if (word == "picscaley") p.scaleY = param;
    else {
        if (word == "macpict" || word == "pmmetafile" || word == "wmphoto" || word == "picbmp") {
            if (word != "picbmp") {
                p.format = PictureFormat::Other;
                p.formatParam = 0;
            }
        }
        if (p.extra.size() < 4096) {
            p.extra += '\\';
            p.extra += word;
            if (hasParam) p.extra += std::to_string(param);
        }
    }
}

void Session::text(std::string_view bytes) {
    GroupState& s = state();
    switch (s.dest) {
    case Dest::Body:
        dropLoneSurrogate();
        for (unsigned char c : bytes) {
            if (c >= 0x20 || c == '\t') pendingBytes_.push_back(char(c));
        }
        break;
    case Dest::FontTable:
        for (char c : bytes) {
            if (c == ';') {
                finishFont();
            } else if (fontNumber_ >= 0 && fontNameBytes_.size() < 256) {
                fontNameBytes_.push_back(c);
            }
        }
        break;
    case Dest::ColorTable:
        for (char c : bytes) {
            if (c != ';') continue;
            if (colors_.size() < 4096) colors_.push_back(colorSet_ ? std::optional<Color>(colorPending_) : std::nullopt);
            colorPending_ = Color{};
            colorSet_ = false;
        }
        break;
    case Dest::Picture: {
        std::string& data = picture_.data;
        for (unsigned char c : bytes) {
            int v;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            else continue;
            if (pictureNibble_ < 0) {
                pictureNibble_ = v;
            } else {
                data.push_back(char(pictureNibble_ * 16 + v));
                pictureNibble_ = -1;
            }
        }
        break;
    }
    default:
        break;
    }
}

void Session::hexByte(unsigned char byte) {
    GroupState& s = state();
    if (s.dest == Dest::Body) {
        dropLoneSurrogate();
        if (byte >= 0x20 || byte == '\t') pendingBytes_.push_back(char(byte));
    } else if (s.dest == Dest::FontTable && fontNumber_ >= 0 && fontNameBytes_.size() < 256) {
        fontNameBytes_.push_back(char(byte));
    }
}

void Session::unicode(int value) {
    char32_t cp = value < 0 ? char32_t(value + 65536) : char32_t(value);
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        dropLoneSurrogate();
        flushBytes();
        highSurrogate_ = char16_t(cp);
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF) {
        if (highSurrogate_ == 0) {
            appendCodePoint(0xFFFD);
            return;
        }
        cp = 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (cp - 0xDC00);
        highSurrogate_ = 0;
        CodePage::appendUtf8(cp, pendingText_);
        return;
    }
    if (cp == 0 || (cp < 0x20 && cp != '\t')) return;
    appendCodePoint(cp);
}

void Session::appendCodePoint(char32_t cp) {
    dropLoneSurrogate();
    flushBytes();
    CodePage::appendUtf8(cp, pendingText_);
}

void Session::dropLoneSurrogate() {
    if (highSurrogate_ == 0) return;
    flushBytes();
    highSurrogate_ = 0;
    CodePage::appendUtf8(0xFFFD, pendingText_);
}

int Session::currentCodePage() {
    const int number = state().font < 0 ? defaultFont_ : state().font;
    auto it = fonts_.find(number);
    const int cp = it != fonts_.end() ? it->second.codePage : documentCodePage_;
    return cp == 1200 || cp == 1201 ? 1252 : cp;  // UTF-16 is no byte code page
}

void Session::flushBytes() {
    if (pendingBytes_.empty()) return;
    codePage_.decode(pendingBytes_, currentCodePage(), pendingText_);
    pendingBytes_.clear();
}

void Session::flushText() {
    dropLoneSurrogate();
    flushBytes();
    if (pendingText_.empty()) return;
    paragraph_.append(Run{currentFormat(), std::move(pendingText_)});
    pendingText_.clear();
}

CharFormat Session::currentFormat() {
    const GroupState& s = state();
    CharFormat f;
    auto it = fonts_.find(s.font < 0 ? defaultFont_ : s.font);
    if (it != fonts_.end()) f.font = it->second.font;
    f.halfPoints = s.halfPoints;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strike = s.strike;
    f.protect = s.protect;
    if (s.color >= 0 && std::size_t(s.color) < colors_.size()) f.color = colors_[std::size_t(s.color)];
    if (s.highlight > 0 && std::size_t(s.highlight) < colors_.size()) f.highlight = colors_[std::size_t(s.highlight)];
    return f;
}

void Session::endParagraph() {
    flushText();
    paragraph_.format = state().para;
    paragraph_.markFormat = currentFormat();
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph{};
    document_.endsWithParagraphMark = true;
}

void Session::fontNameUnicode(int value) {
    codePage_.decode(fontNameBytes_, fontNameCodePage(), fontNameText_);
    fontNameBytes_.clear();
    char32_t cp = value < 0 ? char32_t(value + 65536) : char32_t(value);
    const char16_t high = fontHighSurrogate_;
    fontHighSurrogate_ = 0;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        fontHighSurrogate_ = char16_t(cp);  // a high half with no low half after it is dropped
        return;
    }
    if (cp >= 0xDC00 && cp <= 0xDFFF && high != 0) cp = 0x10000 + ((char32_t(high) - 0xD800) << 10) + (cp - 0xDC00);
    CodePage::appendUtf8(cp, fontNameText_);
}

int Session::fontCodePage() const {
    const int cp = fontCharsetGiven_ ? CodePage::forCharset(fontPending_.font.charset, documentCodePage_) : documentCodePage_;
    return cp == 1200 || cp == 1201 ? 1252 : cp;
}

void Session::finishFont() {
    if (fontNumber_ < 0) return;
    FontEntry entry = std::move(fontPending_);
    entry.codePage = fontCodePage();
    std::string name = std::move(fontNameText_);
    codePage_.decode(fontNameBytes_, fontNameCodePage(), name);
    // Drop control characters and trim blanks around the name.
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }), name.end());
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    entry.font.name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    if (fonts_.size() < 4096 || fonts_.count(fontNumber_)) fonts_[fontNumber_] = std::move(entry);
    fontNumber_ = -1;
    fontPending_ = FontEntry{};
    fontCharsetGiven_ = false;
    fontNameBytes_.clear();
    fontNameText_.clear();
}

void Session::finishPicture() {
    pictureNibble_ = -1;
    const Dest parent = state().dest;
    if (parent == Dest::Body) {
        paragraph_.append(Run{currentFormat(), std::move(picture_)});
    } else if (parent == Dest::ObjectResult && !object_.resultPicture) {
        object_.resultPicture = std::move(picture_);
    }
    picture_ = Picture{};
}

void Session::finishObject(std::size_t endOffset) {
    objectDepth_ = 0;
    if (closedAtEnd_ > 0 || objectTooDeep_) {
        // Its data is incomplete or unreadable; writing it back could not give valid RTF.
        note(objectTooDeep_ ? "an object nested too deep was dropped" : "an object cut short by the end of the input was dropped");
        object_ = EmbeddedObject{};
        return;
    }
    object_.rtf = std::string(input_.substr(objectStart_, endOffset - objectStart_));
    paragraph_.append(Run{currentFormat(), std::move(object_)});
    object_ = EmbeddedObject{};
}

}  // namespace

RtfDocument RtfReader::read(std::string_view rtf) {
    skipped_.clear();
    Session session(rtf, skipped_);
    return session.run();
}

}  // namespace tamix::rtf
