#pragma once

#include <QString>

class QTextDocument;

namespace tamix::controls {

// Translates between QTextDocument positions, where a paragraph break is one
// character, and the editor's positions, where it is two ("\r\n"). A tab, a
// soft line break (U+2028 in the document) and a picture or object (U+FFFC)
// are one character in both.
class PositionMap {
public:
    // The editor position of a document position (clamped to the document).
    static int toControl(const QTextDocument& document, int documentPosition);

    // The document position of an editor position, clamped to the text. A
    // position between the "\r" and the "\n" of a break maps to the end of
    // the paragraph's text, the position before the break.
    static int toDocument(const QTextDocument& document, int position);

    // Number of editor characters: the length of text(document).
    static int length(const QTextDocument& document);

    // The plain text of document positions [from, to) (to -1 = the end):
    // breaks as "\r\n", soft line breaks as "\v", pictures and objects as
    // U+FFFC, tabs as "\t".
    static QString text(const QTextDocument& document, int from = 0, int to = -1);
};

}  // namespace tamix::controls
