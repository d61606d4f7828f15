#include "rtf/read_session.h"

#include <algorithm>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_vocabulary.h"

namespace tamix::rtf {

namespace {
using Kind = RtfToken::Kind;
}  // namespace

void ReadSession::note(std::string message) {
    if (skipped_.size() < 199) {
        skipped_.push_back(std::move(message));
    } else {
        ++droppedNotes_;
    }
}

RtfDocument ReadSession::run() {
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
                picture_.binary(token.text);
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
    // An unterminated last paragraph has the formats in force where the document group closed.
    if (outerEnd_) stack_.back() = std::move(*outerEnd_);
    RtfDocument document = text_.finish(paragraphFormat(), currentFormat());
    for (const auto& [name, count] : unknownDestinations_) {
        note("unknown destination \\" + name + " skipped" + (count > 1 ? " (" + std::to_string(count) + " times)" : ""));
    }
    if (droppedNotes_ > 0) skipped_.push_back("... and " + std::to_string(droppedNotes_) + " more");
    return document;
}

void ReadSession::groupStart(std::size_t offset) {
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

void ReadSession::groupEnd(std::size_t endOffset) {
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
        fonts_.finish();
        break;
    case Dest::Picture:
        if (parent != Dest::Picture) finishPicture();
        break;
    case Dest::Bullet:
        if (parent != Dest::Bullet) lists_.applyPn(state().para);
        break;
    default:
        break;
    }
    if (objectDepth_ != 0 && closingDepth == objectDepth_) finishObject(endOffset);
}

bool ReadSession::startDestination(std::string_view word, bool ignorable) {
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
            picture_.start();
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
            // The group is kept verbatim and written back where \uc1 holds, so it is
            // read under \uc1 too: the fallback count in force around it would
            // otherwise change what its words and result picture read as.
            s.uc = 1;
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
            lists_.startPn();
        } else {
            s.dest = Dest::Skip;
        }
    } else if ((word == "pntxtb" || word == "pntxta") && s.dest == Dest::Bullet) {
        s.dest = Dest::PnText;
        lists_.startAffix(word == "pntxtb");
    } else if ((word == "pntext" || word == "listtext") && s.dest == Dest::Body) {
        flushText();  // text before the label keeps the format it was read in
        s.dest = Dest::Label;
        lists_.startLabel();
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

void ReadSession::controlWord(const RtfToken& token) {
    const std::string_view word = token.word;
    GroupState& s = state();
    if (token.kind == Kind::ControlWord && s.dest == Dest::Body) {
        // Document settings count only in the document's own text, never inside an object.
        if (word == "ansicpg" || word == "mac" || word == "pc" || word == "pca" || word == "deff") flushText();
        if (word == "ansicpg") {
            if (token.param > 0) fonts_.setDocumentCodePage(token.param);
            return;
        }
        if (word == "mac") { fonts_.setDocumentCodePage(10000); return; }
        if (word == "pc") { fonts_.setDocumentCodePage(437); return; }
        if (word == "pca") { fonts_.setDocumentCodePage(850); return; }
        if (word == "deff") {
            defaultFont_ = token.param;
            return;
        }
    }
    if (token.kind == Kind::ControlWord) {
        // Words that mean the same in every destination.
        if (word == "u") {
            if (s.dest == Dest::Body) text_.addUnicode(token.param, currentCodePage());
            if (s.dest == Dest::Label) lists_.labelSign();
            if (s.dest == Dest::FontTable) fonts_.addNameUnicode(token.param);
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
            fonts_.begin(token.param);
        } else if (word == "fcharset") {
            fonts_.setCharset(token.param);
        } else if (word == "fnil" || word == "froman" || word == "fswiss" || word == "fmodern" ||
                   word == "fscript" || word == "fdecor" || word == "ftech" || word == "fbidi") {
            fonts_.setFamily(word.substr(1));
        }
        break;
    case Dest::ColorTable:
        colors_.word(word, token.param);
        break;
    case Dest::Picture:
        picture_.word(word, token.hasParam, token.param);
        break;
    case Dest::Object:
        if (word == "objw") object_.width = token.param;
        else if (word == "objh") object_.height = token.param;
        break;
    case Dest::Bullet:
        lists_.pnWord(word, token.param);
        break;
    case Dest::Label:
        if (specialCharacter(word) && word != "tab") lists_.labelSign();
        break;
    case Dest::Skip:
    case Dest::ObjectResult:
    case Dest::Upr:
    case Dest::PnText:
        break;
    }
}

void ReadSession::bodyControlWord(std::string_view word, bool hasParam, int param) {
    GroupState& s = state();
    if (const char32_t special = specialCharacter(word)) {
        appendCodePoint(special);
        return;
    }
    if (word == "chftn") {
        for (char digit : std::to_string(++footnotes_)) appendCodePoint(char32_t(digit));
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
        if (!text_.paragraphEmpty()) endParagraph();
        return;
    }
    if (s.setParagraphWord(word, param)) return;
    // Character formatting: store the text read so far in the old format first.
    GroupState::Characters changed = s.chars;
    if (!changed.set(word, hasParam, param)) return;
    flushText();
    s.chars = changed;
}

void ReadSession::text(std::string_view bytes) {
    GroupState& s = state();
    switch (s.dest) {
    case Dest::Body:
        text_.addBytes(bytes);
        break;
    case Dest::FontTable:
        fonts_.addNameBytes(bytes);
        break;
    case Dest::ColorTable:
        colors_.text(bytes);
        break;
    case Dest::Picture:
        picture_.hex(bytes);
        break;
    case Dest::Label:
        lists_.labelBytes(bytes);
        break;
    case Dest::PnText:
        lists_.affixBytes(bytes);
        break;
    default:
        break;
    }
}

void ReadSession::hexByte(unsigned char byte) {
    GroupState& s = state();
    const char c = char(byte);
    if (s.dest == Dest::Body) {
        text_.addBytes(std::string_view(&c, 1));
    } else if (s.dest == Dest::Label || s.dest == Dest::PnText) {
        text(std::string_view(&c, 1));
    } else if (s.dest == Dest::FontTable && c != ';') {
        fonts_.addNameBytes(std::string_view(&c, 1));  // an escaped ';' is dropped: names never hold one
    }
}

void ReadSession::flushText() {
    if (text_.hasPending()) text_.flush(currentCodePage(), currentFormat());
}

CharFormat ReadSession::currentFormat() {
    const GroupState& s = state();
    CharFormat f;
    const GroupState::Characters& c = s.chars;
    if (const Font* font = fonts_.find(c.font < 0 ? defaultFont_ : c.font)) f.font = *font;
    f.halfPoints = c.halfPoints;
    f.bold = c.bold;
    f.italic = c.italic;
    f.underline = c.underline;
    f.strike = c.strike;
    f.protect = c.protect;
    f.color = colors_.find(c.color);
    if (c.highlight > 0) f.highlight = colors_.find(c.highlight);
    f.vertical = c.vertical;
    return f;
}

void ReadSession::endParagraph() {
    flushText();
    text_.endParagraph(paragraphFormat(), currentFormat());
}

void ReadSession::finishPicture() {
    const Dest parent = state().dest;
    if (parent == Dest::Body) {
        text_.addRun(Run{currentFormat(), picture_.take()});
    } else if (parent == Dest::ObjectResult && !object_.resultPicture) {
        object_.resultPicture = picture_.take();
    }
}

void ReadSession::finishObject(std::size_t endOffset) {
    objectDepth_ = 0;
    if (closedAtEnd_ > 0 || objectTooDeep_) {
        // Its data is incomplete or unreadable; writing it back could not give valid RTF.
        note(objectTooDeep_ ? "an object nested too deep was dropped" : "an object cut short by the end of the input was dropped");
        object_ = EmbeddedObject{};
        return;
    }
    object_.rtf = std::string(input_.substr(objectStart_, endOffset - objectStart_));
    text_.addRun(Run{currentFormat(), std::move(object_)});
    object_ = EmbeddedObject{};
}

}  // namespace tamix::rtf
