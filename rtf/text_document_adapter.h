#pragma once

#include <string>
#include <string_view>

#include <QTextFormat>

#include "rtf/rtf_document.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

class QTextDocument;
class QTextCursor;

namespace tamix::rtf {

// Moves rich text between the RTF model and a QTextDocument. Needs a
// QGuiApplication (fonts and images); never touches widgets.
//
// Mapping (all positions are Qt positions: a block separator is one character):
// - A Paragraph is a QTextBlock. Alignment, indents, spacing and tab stops
//   map to QTextBlockFormat (twips / 15 = pixels at 96 dpi, kept as reals so
//   that they come back exactly). A bulleted paragraph belongs to a
//   QTextList with style ListDisc and indent 0 (its margins are the block's),
//   a numbered one a list of the matching numbering style with its text
//   around the number as prefix and suffix and its first number in
//   ListStartProperty; consecutive paragraphs of one list format share one
//   list, and a numbered run that goes on counting an earlier list of its
//   style joins that list, so the labels shown are the labels read. The
//   \pnindent is kept in BulletIndentProperty of the block format; a list
//   block without that property is written with 360 twips.
// - Superscript and subscript are the char format's vertical alignment.
// - Paragraph::markFormat is the block's char format (QTextBlock::charFormat);
//   it gives an empty paragraph (and an empty document) its font.
// - A text Run is a fragment with a QTextCharFormat: font family, point size
//   (halfPoints / 2), bold (weight >= DemiBold when read back), italic,
//   underline, strike-out, foreground (absent = automatic), background
//   (highlight). ProtectedProperty (bool) marks protected characters. The RTF
//   font family word and charset ride along in FontFamilyKindProperty and
//   CharsetProperty. A fragment without a family or size takes the
//   document's default font.
// - '\t' is a tab, U+2028 a line break (\line) inside the block.
// - A Picture is one character (U+FFFC) with a QTextImageFormat whose width
//   and height are the display size in pixels (goal size x scale, else the
//   picture's own size); PictureRtfProperty holds the picture's own RTF so
//   that it is written back unchanged. PNG, JPEG and DIB pictures are shown;
//   WMF, EMF and others show a grey placeholder of that size. Images are
//   document resources named "tamix-picture:" + a hash of the picture.
// - An EmbeddedObject is one character with a QTextImageFormat showing its
//   \result picture (or a placeholder of \objw x \objh); ObjectRtfProperty
//   holds the whole "{\object...}" group, written back unchanged (so SelRTF
//   of a selected object contains "{\object\").
// - Image characters that came from elsewhere (no RTF property, a QImage or
//   QPixmap resource) are written as PNG pictures of their display size.
class TextDocumentAdapter {
public:
    // Char format property (bool): the character is protected (link text).
    static constexpr int ProtectedProperty = QTextFormat::UserProperty + 1;
    // Image format property (QByteArray): the picture's "{\pict...}" group (RtfWriter::writePicture).
    static constexpr int PictureRtfProperty = QTextFormat::UserProperty + 2;
    // Image format property (QByteArray): the embedded object's RTF group.
    static constexpr int ObjectRtfProperty = QTextFormat::UserProperty + 3;
    // Char format property (QString): the RTF font family word ("swiss" ...).
    static constexpr int FontFamilyKindProperty = QTextFormat::UserProperty + 4;
    // Char format property (int): the font's \fcharset.
    static constexpr int CharsetProperty = QTextFormat::UserProperty + 5;
    // Block format property (int, twips): the list label's \pnindent.
    static constexpr int BulletIndentProperty = QTextFormat::UserProperty + 6;
    // List format property (int): the number of the list's first item (the
    // list shows it counting from 1; a missing property means 1).
    static constexpr int ListStartProperty = QTextFormat::UserProperty + 7;

    // Replaces the whole content of `target` with `document` (QTextDocument::clear,
    // then one edit block). An empty document leaves one empty default block.
    static void load(const RtfDocument& document, QTextDocument& target);

    // Inserts `document` at the cursor (replacing its selection), as a paste
    // or SelRTF assignment does, in one edit block: the first paragraph's
    // runs join the cursor's block; every paragraph mark in `document` starts
    // a new block, and a paragraph that has its mark gives its format to the
    // block it ends; the text after the cursor keeps its block's format. The
    // cursor ends after the inserted content. Protection is not checked here.
    static void insert(const RtfDocument& document, QTextCursor& cursor);

    // The content between Qt positions `from` and `to` (-1 = end of the
    // document, including the last block's mark). The range is clipped to the
    // document; an empty range gives an empty document. A range that covers a
    // block's separator gives a paragraph with its mark; the whole document
    // always ends with a mark. A range starting inside a block still takes
    // that block's paragraph format.
    static RtfDocument extract(const QTextDocument& source, int from = 0, int to = -1);

    // RtfWriter::write(extract(source, from, to)).
    static std::string toRtf(const QTextDocument& source, int from = 0, int to = -1);

    // insert(RtfReader().read(rtf), cursor).
    static void insertRtf(std::string_view rtf, QTextCursor& cursor);

    // load(RtfReader().read(rtf), target).
    static void loadRtf(std::string_view rtf, QTextDocument& target);
};

}  // namespace tamix::rtf
