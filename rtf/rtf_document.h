#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tamix::rtf {

// A 24-bit colour. Stored as separate channels so that no byte order is
// implied; the editor's 0x00BBGGRR layout is produced by bgr().
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    std::uint32_t bgr() const { return red | (green << 8) | (std::uint32_t(blue) << 16); }
    bool operator==(const Color&) const = default;
};

// A font as a run uses it. The writer builds the font table from the fonts
// the runs name, so the model holds no table indexes.
struct Font {
    std::string name;            // UTF-8; empty means "the reader's default"
    std::string family = "nil";  // RTF family word without the \f: nil, roman, swiss, modern, script, decor, tech, bidi
    int charset = 0;             // \fcharset value; 0 = ANSI, 2 = symbol, 204 = Cyrillic, ...

    bool operator==(const Font&) const = default;
};

// The vertical position of characters: raised (\super, \up) or lowered
// (\sub, \dn) by the writer's and the editor's own measure.
enum class VerticalAlign { Normal, Super, Sub };

// Character formatting of one run. Default-constructed it is RTF's plain
// text: default font, 12 points, no attributes, automatic colour.
struct CharFormat {
    Font font;
    int halfPoints = 24;  // \fs: font size in half points, always > 0
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool protect = false;          // \protect: the editor refuses to change these characters
    std::optional<Color> color;    // \cf; empty = automatic (black)
    std::optional<Color> highlight;  // \highlight; empty = none
    VerticalAlign vertical = VerticalAlign::Normal;

    bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left, Right, Center, Justify };

// The label of a list paragraph: a bullet, or a number in one of the
// numbering styles.
enum class ListStyle { None, Bullet, Decimal, LowerLetter, UpperLetter, LowerRoman, UpperRoman };

// Paragraph formatting. Lengths are twips (1/1440 inch).
struct ParaFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;    // \li
    int rightIndent = 0;   // \ri
    int firstIndent = 0;   // \fi, relative to leftIndent; negative = hanging
    int spaceBefore = 0;   // \sb
    int spaceAfter = 0;    // \sa
    ListStyle list = ListStyle::None;  // a list paragraph ({\*\pn ...}, or a word processor's \ls)
    int bulletIndent = 0;  // \pnindent: distance from the label to the text
    // Of a numbered paragraph: the number of the first paragraph of the run
    // of consecutive paragraphs with this format (\pnstart); the label of
    // each is listBefore + its number + listAfter. 1 for every other paragraph.
    int listStart = 1;
    std::string listBefore;  // \pntxtb of a numbered list, e.g. "("
    std::string listAfter;   // \pntxta, e.g. "."
    std::vector<int> tabs; // \tx positions, in the order read

    bool isList() const { return list != ListStyle::None; }
    bool isNumbered() const { return list != ListStyle::None && list != ListStyle::Bullet; }
    bool operator==(const ParaFormat&) const = default;
};

enum class PictureFormat {
    Png,       // \pngblip
    Jpeg,      // \jpegblip
    Emf,       // \emfblip
    Wmf,       // \wmetafileN (N = mapping mode in formatParam)
    Dib,       // \dibitmapN (device-independent bitmap without file header)
    Bitmap,    // \wbitmapN (device-dependent bitmap)
    Other,     // anything else (\macpict, \pmmetafile ...): kept, never shown
};

// A picture exactly as read, so that writing gives it back unchanged.
struct Picture {
    PictureFormat format = PictureFormat::Png;
    int formatParam = 0;  // N of \wmetafileN, \dibitmapN, \wbitmapN, \pmmetafileN
    int width = 0;        // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int height = 0;       // \pich
    int goalWidth = 0;    // \picwgoal in twips; 0 = not given
    int goalHeight = 0;   // \pichgoal
    int scaleX = 100;     // \picscalex in percent
    int scaleY = 100;     // \picscaley
    std::string data;     // the picture's bytes (decoded from hex or \bin)
    std::string extra;    // other control words of the \pict group, verbatim RTF (e.g. "\wbmbitspixel24")

    bool operator==(const Picture&) const = default;
};

// An embedded object ({\object ...}). The whole group is kept as read so that
// writing gives it back unchanged; it is shown through its \result picture.
struct EmbeddedObject {
    std::string rtf;                     // the complete group, "{\object" ... "}", braces balanced
    int width = 0;                       // \objw in twips
    int height = 0;                      // \objh in twips
    std::optional<Picture> resultPicture;  // the first picture of \result, if any

    bool operator==(const EmbeddedObject&) const = default;
};

// One run: text in one format, or one picture, or one object (each of the
// latter two counts as a single character in an editor).
struct Run {
    CharFormat format;
    // Text is UTF-8 with '\t' for tabs and U+2028 for line breaks (\line);
    // it never contains '\r' or '\n' and is never empty.
    std::variant<std::string, Picture, EmbeddedObject> content;

    bool isText() const { return content.index() == 0; }
    const std::string& text() const { return std::get<0>(content); }
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    ParaFormat format;
    CharFormat markFormat;  // format of the paragraph mark; gives an empty paragraph its font
    std::vector<Run> runs;  // adjacent text runs never share a format (append() merges them)

    // Appends a run, merging text into the previous run when the formats are
    // equal and dropping empty text, so equal documents compare equal.
    void append(Run run);
    bool operator==(const Paragraph&) const = default;
};

// A rich-text document: paragraphs in order. Every paragraph but the last ends
// with a paragraph mark; the last one has its mark when endsWithParagraphMark
// is set (a whole note does, a selection inside a paragraph does not).
struct RtfDocument {
    std::vector<Paragraph> paragraphs;
    bool endsWithParagraphMark = false;

    // The plain text: paragraphs joined by '\n', line breaks as '\n', tabs as
    // '\t'; pictures and objects give nothing. A trailing mark adds no '\n'.
    std::string plainText() const;
    // Clears \protect from every run and paragraph mark: what another
    // program or note gives the editor never arrives protected.
    void removeProtection();
    bool operator==(const RtfDocument&) const = default;
};

}  // namespace tamix::rtf
