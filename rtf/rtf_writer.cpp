#include "rtf/rtf_writer.h"

#include <algorithm>
#include <unordered_map>

#include "rtf/code_page.h"
#include "rtf/list_label.h"

namespace tamix::rtf {

namespace {

constexpr char kHex[] = "0123456789abcdef";

bool isKnownFamily(const std::string& family) {
    static constexpr const char* kFamilies[] = {"nil", "roman", "swiss", "modern", "script", "decor", "tech", "bidi"};
    return std::any_of(std::begin(kFamilies), std::end(kFamilies), [&](const char* f) { return family == f; });
}

// Picture control words come from the reader as "\word" or "\wordN"; anything
// else would break the group, so it is not written.
bool isControlWordList(const std::string& words) {
    for (char c : words) {
        const bool ok = c == '\\' || c == '-' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!ok) return false;
    }
    return words.empty() || words[0] == '\\';
}

// Decodes one UTF-8 sequence at `i`, advancing it; malformed bytes give U+FFFD.
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else return 0xFFFD;
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

// The writer's view of the reader's state, so only differences are written.
struct Tracked {
    int font = -1;  // -1: not yet written, so the first run names its font
    int halfPoints = -1;
    bool bold = false, italic = false, underline = false, strike = false, protect = false;
    int color = 0;
    int highlight = 0;
    VerticalAlign vertical = VerticalAlign::Normal;
};

class Writer {
public:
    explicit Writer(const RtfDocument& document) : doc_(document) {}
    std::string run();
    std::string pictureOnly(const Picture& p) {
        picture(p);
        return std::move(out_);
    }

private:
    int fontIndex(const Font& font);
    int colorIndex(const std::optional<Color>& color);
    void collectTables();
    void word(std::string_view w);
    void word(std::string_view w, int param);
    void format(const CharFormat& f);
    void paragraphFormat(const Paragraph& para);
    // The label group a list paragraph starts with, as rich-edit controls
    // write it for readers that know no lists: "{\pntext\f1\'b7\tab}".
    void listLabel(const Paragraph& para, int number);
    // The font index of a numbered paragraph's label: its first text's.
    int labelFont(const Paragraph& para);
    // How characters map to bytes in the run's font.
    enum class Bytes { Ansi, Symbol, None };
    static Bytes bytesFor(int charset);
    void text(const std::string& s, Bytes bytes);
    void picture(const Picture& p);
    void fontName(const std::string& name, Bytes bytes);

    const RtfDocument& doc_;
    std::string out_;
    std::vector<Font> fonts_;
    std::vector<Color> colors_;
    int symbolFont_ = -1;
    bool needDelimiter_ = false;  // the last thing written was a control word
    Tracked tracked_;
    std::unordered_map<std::string, int> fontIndexes_;  // name, family, charset -> index in fonts_
    std::unordered_map<std::uint32_t, int> colorIndexes_;  // colour -> colour table index (from 1)
    const Font* lastFont_ = nullptr;  // into fonts_: the font fontIndex answered last, renewed whenever fonts_ grows
    int lastFontIndex_ = 0;
};

int Writer::fontIndex(const Font& font) {
    if (lastFont_ && *lastFont_ == font) return lastFontIndex_;
    std::string key = font.name;
    key += '\0';
    key += font.family;
    key += '\0';
    key += std::to_string(font.charset);
    auto [it, added] = fontIndexes_.try_emplace(std::move(key), int(fonts_.size()));
    if (added) fonts_.push_back(font);
    lastFont_ = &fonts_[std::size_t(it->second)];
    lastFontIndex_ = it->second;
    return it->second;
}

int Writer::colorIndex(const std::optional<Color>& color) {
    if (!color) return 0;
    const std::uint32_t key = color->bgr();
    auto [it, added] = colorIndexes_.try_emplace(key, int(colors_.size()) + 1);
    if (added) colors_.push_back(*color);
    return it->second;
}

void Writer::collectTables() {
    bool bullets = false;
    for (const Paragraph& p : doc_.paragraphs) {
        bullets = bullets || p.format.list == ListStyle::Bullet;
        for (const Run& r : p.runs) {
            fontIndex(r.format.font);
            colorIndex(r.format.color);
            colorIndex(r.format.highlight);
        }
        fontIndex(p.markFormat.font);
        colorIndex(p.markFormat.color);
        colorIndex(p.markFormat.highlight);
    }
    if (fonts_.empty()) fontIndex(Font{});  // a font table is never empty
    if (bullets) {
        Font symbol{"Symbol", "tech", 2};
        symbolFont_ = fontIndex(symbol);
    }
    lastFont_ = nullptr;
}

void Writer::word(std::string_view w) {
    out_ += '\\';
    out_ += w;
    needDelimiter_ = true;
}

void Writer::word(std::string_view w, int param) {
    out_ += '\\';
    out_ += w;
    out_ += std::to_string(param);
    needDelimiter_ = true;
}

void Writer::format(const CharFormat& f) {
    const int font = fontIndex(f.font);
    if (font != tracked_.font) word("f", tracked_.font = font);
    if (f.halfPoints != tracked_.halfPoints) word("fs", tracked_.halfPoints = f.halfPoints);
    if (f.bold != tracked_.bold) word((tracked_.bold = f.bold) ? "b" : "b0");
    if (f.italic != tracked_.italic) word((tracked_.italic = f.italic) ? "i" : "i0");
    if (f.underline != tracked_.underline) word((tracked_.underline = f.underline) ? "ul" : "ulnone");
    if (f.strike != tracked_.strike) word((tracked_.strike = f.strike) ? "strike" : "strike0");
    if (f.protect != tracked_.protect) word((tracked_.protect = f.protect) ? "protect" : "protect0");
    const int color = colorIndex(f.color);
    if (color != tracked_.color) word("cf", tracked_.color = color);
    const int highlight = colorIndex(f.highlight);
    if (highlight != tracked_.highlight) word("highlight", tracked_.highlight = highlight);
    if (f.vertical != tracked_.vertical) {
        tracked_.vertical = f.vertical;
        word(f.vertical == VerticalAlign::Super ? "super" : f.vertical == VerticalAlign::Sub ? "sub" : "nosupersub");
    }
}

int Writer::labelFont(const Paragraph& para) {
    for (const Run& r : para.runs) {
        if (r.isText()) return fontIndex(r.format.font);
    }
    return fontIndex(para.markFormat.font);
}

void Writer::listLabel(const Paragraph& para, int number) {
    const ParaFormat& p = para.format;
    if (p.list == ListStyle::Bullet) {
        out_ += "{\\pntext\\f" + std::to_string(symbolFont_) + "\\'b7\\tab}";
    } else {
        out_ += "{\\pntext";
        word("f", labelFont(para));
        text(p.listBefore + ListLabel::Number(p.list, number) + p.listAfter, Bytes::Ansi);
        word("tab");
        out_ += '}';
    }
    needDelimiter_ = false;
}

void Writer::paragraphFormat(const Paragraph& para) {
    const ParaFormat& p = para.format;
    word("pard");
    if (p.isList()) {
        listLabel(para, p.listStart);
        if (p.list == ListStyle::Bullet) {
            out_ += "{\\*\\pn\\pnlvlblt\\pnf" + std::to_string(symbolFont_) + "\\pnindent" +
                    std::to_string(p.bulletIndent) + "{\\pntxtb\\'b7}}";
        } else {
            static constexpr const char* kStyleWords[] = {"", "", "pndec", "pnlcltr", "pnucltr", "pnlcrm", "pnucrm"};
            out_ += "{\\*\\pn\\pnlvlbody";
            word("pnf", labelFont(para));
            word("pnindent", p.bulletIndent);
            word("pnstart", p.listStart);
            word(kStyleWords[int(p.list)]);
            for (const auto& [name, affix] : {std::pair{"pntxtb", &p.listBefore}, std::pair{"pntxta", &p.listAfter}}) {
                if (affix->empty()) continue;
                out_ += '{';
                word(name);
                text(*affix, Bytes::Ansi);
                out_ += '}';
            }
            out_ += '}';
        }
        needDelimiter_ = false;
    }
    switch (p.alignment) {
    case Alignment::Left: break;
    case Alignment::Right: word("qr"); break;
    case Alignment::Center: word("qc"); break;
    case Alignment::Justify: word("qj"); break;
    }
    if (p.firstIndent != 0) word("fi", p.firstIndent);
    if (p.leftIndent != 0) word("li", p.leftIndent);
    if (p.rightIndent != 0) word("ri", p.rightIndent);
    if (p.spaceBefore != 0) word("sb", p.spaceBefore);
    if (p.spaceAfter != 0) word("sa", p.spaceAfter);
    for (int tab : p.tabs) word("tx", tab);
}

Writer::Bytes Writer::bytesFor(int charset) {
    if (charset == 0 || charset == 1) return Bytes::Ansi;
    if (charset == 2) return Bytes::Symbol;
    return Bytes::None;
}

void Writer::text(const std::string& s, Bytes bytes) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        // Plain printable ASCII goes out in one piece (in a symbol font only blanks
        // are themselves: its other bytes stand for private-use characters).
        std::size_t j = i;
        while (j < n && (bytes != Bytes::Symbol || s[j] == ' ')) {
            const unsigned char c = static_cast<unsigned char>(s[j]);
            // DEL is left to the escapes: some code pages read the byte 0x7F as another character.
            if (c < 0x20 || c >= 0x7F || c == '\\' || c == '{' || c == '}') break;
            ++j;
        }
        if (j > i) {
            if (needDelimiter_) out_ += ' ';
            out_.append(s, i, j - i);
            needDelimiter_ = false;
            i = j;
            continue;
        }
        const char32_t cp = nextCodePoint(s, i);
        if (bytes == Bytes::Symbol && cp > 0x20 && cp < 0x80) {
            // In a symbol font a byte would stand for a private-use character.
            word("u", int(cp));
            out_ += '?';
            needDelimiter_ = false;
        } else if (cp == '\\' || cp == '{' || cp == '}') {
            out_ += '\\';
            out_ += char(cp);
            needDelimiter_ = false;
        } else if (cp == '\t') {
            word("tab");
        } else if (cp == 0x2028 || cp == '\n') {
            word("line");
        } else if (cp < 0x20) {
            // other control characters have no place in a note
        } else {
            int byte = -1;
            if (bytes == Bytes::Ansi) byte = CodePage::encode1252(cp);
            else if (bytes == Bytes::Symbol && cp > 0xF020 && cp <= 0xF0FF) byte = int(cp - 0xF000);
            if (byte >= 0) {
                out_ += "\\'";
                out_ += kHex[byte >> 4];
                out_ += kHex[byte & 15];
            } else if (cp > 0xFFFF) {
                const char32_t v = cp - 0x10000;
                word("u", int(0xD800 + (v >> 10)) - 65536);
                out_ += '?';
                word("u", int(0xDC00 + (v & 0x3FF)) - 65536);
                out_ += '?';
            } else {
                word("u", cp > 0x7FFF ? int(cp) - 65536 : int(cp));
                out_ += '?';
            }
            needDelimiter_ = false;
        }
    }
}

void Writer::fontName(const std::string& name, Bytes bytes) {
    std::string clean;
    for (char c : name) {
        if (c != ';' && c != '\r' && c != '\n') clean += c;
    }
    needDelimiter_ = true;  // the name always follows a control word
    text(clean, bytes == Bytes::Symbol ? Bytes::Ansi : bytes);  // font names are never symbols
}

void Writer::picture(const Picture& p) {
    out_ += "{\\pict";
    // Other words first: the format word that follows must be the last one read.
    if (isControlWordList(p.extra)) out_ += p.extra;
    switch (p.format) {
    case PictureFormat::Png: out_ += "\\pngblip"; break;
    case PictureFormat::Jpeg: out_ += "\\jpegblip"; break;
    case PictureFormat::Emf: out_ += "\\emfblip"; break;
    case PictureFormat::Wmf: out_ += "\\wmetafile" + std::to_string(p.formatParam); break;
    case PictureFormat::Dib: out_ += "\\dibitmap" + std::to_string(p.formatParam); break;
    case PictureFormat::Bitmap: out_ += "\\wbitmap" + std::to_string(p.formatParam); break;
    case PictureFormat::Other: break;
    }
    out_ += "\\picw" + std::to_string(p.width) + "\\pich" + std::to_string(p.height);
    if (p.goalWidth != 0) out_ += "\\picwgoal" + std::to_string(p.goalWidth);
    if (p.goalHeight != 0) out_ += "\\pichgoal" + std::to_string(p.goalHeight);
    if (p.scaleX != 100) out_ += "\\picscalex" + std::to_string(p.scaleX);
    if (p.scaleY != 100) out_ += "\\picscaley" + std::to_string(p.scaleY);
    out_ += "\r\n";
    const std::size_t start = out_.size();
    out_.resize(start + p.data.size() * 2 + p.data.size() / 64 * 2);
    char* o = out_.data() + start;
    for (std::size_t k = 0; k < p.data.size(); ++k) {
        const unsigned char b = static_cast<unsigned char>(p.data[k]);
        *o++ = kHex[b >> 4];
        *o++ = kHex[b & 15];
        if (k % 64 == 63) {
            *o++ = '\r';
            *o++ = '\n';
        }
    }
    out_.resize(std::size_t(o - out_.data()));
    out_ += '}';
    needDelimiter_ = false;
}

std::string Writer::run() {
    collectTables();
    std::size_t estimate = 256;
    for (const Paragraph& p : doc_.paragraphs) {
        for (const Run& r : p.runs) {
            if (r.isText()) estimate += r.text().size() + 16;
            else if (auto* pict = std::get_if<Picture>(&r.content)) estimate += pict->data.size() * 2 + 128;
            else estimate += std::get<EmbeddedObject>(r.content).rtf.size();
        }
        estimate += 32;
    }
    out_.reserve(estimate);

    out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const Font& f = fonts_[i];
        out_ += "{\\f" + std::to_string(i) + "\\f" + (isKnownFamily(f.family) ? f.family : std::string("nil")) +
                "\\fcharset" + std::to_string(f.charset);
        fontName(f.name, bytesFor(f.charset));
        out_ += ";}";
    }
    out_ += "}\r\n";
    if (!colors_.empty()) {
        out_ += "{\\colortbl ;";
        for (const Color& c : colors_) {
            out_ += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" + std::to_string(c.blue) + ';';
        }
        out_ += "}\r\n";
    }
    out_ += "\\viewkind4\\uc1";
    needDelimiter_ = true;

    const ParaFormat* current = nullptr;
    int number = 0;  // of the last numbered paragraph's label
    for (std::size_t i = 0; i < doc_.paragraphs.size(); ++i) {
        const Paragraph& para = doc_.paragraphs[i];
        if (!current || !(*current == para.format)) {
            paragraphFormat(para);
            current = &para.format;
            number = para.format.listStart;
        } else if (para.format.isList()) {
            listLabel(para, ++number);
        }
        for (const Run& run : para.runs) {
            format(run.format);
            if (run.isText()) {
                text(run.text(), bytesFor(run.format.font.charset));
            } else if (auto* pict = std::get_if<Picture>(&run.content)) {
                picture(*pict);
            } else {
                const std::string& raw = std::get<EmbeddedObject>(run.content).rtf;
                if (raw.size() >= 2 && raw.front() == '{' && raw.back() == '}') {
                    out_ += raw;
                    needDelimiter_ = false;
                }
            }
        }
        format(para.markFormat);
        if (i + 1 < doc_.paragraphs.size() || doc_.endsWithParagraphMark) {
            word("par");
            out_ += "\r\n";
            needDelimiter_ = false;
        }
    }
    out_ += '}';
    return std::move(out_);
}

}  // namespace

std::string RtfWriter::write(const RtfDocument& document) {
    return Writer(document).run();
}

std::string RtfWriter::writePicture(const Picture& picture) {
    const RtfDocument none;
    return Writer(none).pictureOnly(picture);
}

}  // namespace tamix::rtf
