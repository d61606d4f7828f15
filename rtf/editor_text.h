#pragma once

#include <QString>

#include <string_view>

class QTextDocument;

namespace tamix::rtf {

// A note's plain text exactly as the note editor shows and counts it, so that
// positions into it are the editor's positions: paragraphs joined by "\r\n"
// (no break after the last), a soft line break as "\v", a tab as "\t", a
// picture or embedded object as one U+FFFC; every other character is one
// UTF-16 unit of the QTextDocument's text. The editor's Text() is text() of
// its document.
class EditorText {
public:
    // The text of QTextDocument positions [from, to) (to -1 = the end), the
    // range clamped to the document; a range that covers a paragraph break
    // holds its "\r\n".
    static QString text(const QTextDocument& document, int from = 0, int to = -1);

    // The text of an RTF body as the editor loads it (TextDocumentAdapter::
    // loadRtf). Malformed RTF gives what can be read. Needs a QGuiApplication.
    static QString fromRtf(std::string_view rtf);
};

}  // namespace tamix::rtf
