#pragma once

#include "rtf/rtf_document.h"

#include <QFont>
#include <QString>
#include <memory>

class QMimeData;

namespace tamix {

namespace controls {
class RichTextBox;
}

// What the editor's clipboard commands put on the clipboard and what they
// make of what they find there. Needs a QGuiApplication; never a window.
//
// Out: "text/rtf" (our writer) and text/plain, in which every paragraph
// break and soft line break is "\n" and pictures are left out, as other
// programs on the desktop expect.
//
// In: the richest format that can be read, in the order "text/rtf" (or
// "application/rtf"), "text/html" (read by QTextDocument), text/plain,
// then an image. A format that is too large, malformed or does not decode
// gives way to the next; when none is left, the paste names the first
// problem met. Pasted rich text never carries protection: only the link
// table makes protected text.
class ClipboardContent {
public:
    // Clipboard data of one format larger than this is not read.
    static constexpr qsizetype kMaxPasteBytes = qsizetype(32) * 1024 * 1024;
    // Nor is content that would add more characters than this to the note,
    // or a paragraph longer than kMaxParagraph. The editor lays out text as
    // it goes in: about a second per million characters of ordinary lines,
    // but a paragraph with nowhere to break its lines takes time growing
    // with the square of its length, seconds at this limit and minutes at
    // a million characters (bench/editor_bench).
    static constexpr int kMaxPasteLength = 2000000;
    static constexpr int kMaxParagraph = 100000;

    // What a paste puts into the editor.
    struct Paste {
        enum class Kind { Nothing, Rich, Plain };
        Kind kind = Kind::Nothing;
        rtf::RtfDocument document;  // Rich: without protection
        QString text;               // Plain: as the clipboard holds it
        // The characters the insertion adds to the editor's text, counted
        // as the editor counts them (a paragraph break is two).
        int length = 0;
        // Nothing: why, in a sentence for the user; "" when the clipboard
        // simply holds nothing to paste.
        QString problem;
    };

    // The editor's selection in the formats above.
    static std::unique_ptr<QMimeData> fromSelection(const controls::RichTextBox& editor);

    // The clipboard holds text, rich text or an image (nullptr: nothing).
    static bool holdsPasteable(const QMimeData* data);
    // The clipboard holds text or rich text.
    static bool holdsText(const QMimeData* data);

    // The content a paste inserts. Rich text from HTML takes `font` where
    // the page names none.
    static Paste read(const QMimeData* data, const QFont& font);
    // The plain text Paste Text Only inserts: text/plain, else the text of
    // the rich text.
    static Paste readText(const QMimeData* data);

    // Editor characters of plain text once inserted: "\r\n", "\r" and "\n"
    // each become a paragraph break of two characters; U+FFFC is left out.
    static int editorLength(const QString& text);
    // Editor characters of a document once inserted at the caret: its
    // characters, one per picture or object, two per paragraph mark.
    static int editorLength(const rtf::RtfDocument& document);
};

}  // namespace tamix
