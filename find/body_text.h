#pragma once

#include <QString>

#include <optional>
#include <string_view>

namespace tamix {

// The plain text a stored note body shows in the note editor, counted as the
// editor counts it (rtf::EditorText), without building a document: the body
// is prepared as the note loader prepares it (scale words removed), read by
// the RTF reader (or, for the plain bodies this program writes, directly;
// see quick), and its runs laid out as the editor lays them out.
//
// Equality with the editor's Text() after loading the same body is the
// contract a tree search relies on to skip notes without a hit: paragraphs
// joined by "\r\n", "\t" for tabs, "\v" for line breaks, U+FFFC for each
// picture or object, U+FFFC inside text left out (the editor keeps none),
// and "\r\n", "\r", "\n", U+2029, U+FDD0 or U+FDD1 inside a run's text
// starting a paragraph as they do when the editor inserts them.
class BodyText {
public:
    // The editor's text of the stored (unconverted) body bytes. Malformed RTF
    // gives what the reader makes of it; never throws on bad input.
    static QString of(std::string_view storedBody);

    // The same text read directly from the bytes, for a body in the plain
    // subset this program's writer uses for text: formatting words, \par,
    // \tab, \line, Windows-1252 bytes and \' escapes, \uN with one
    // replacement character, the font and colour tables and skipped
    // destinations. Nothing for any other body (pictures, objects, bullets,
    // other code pages, symbols, unknown words), which `of` then gives to
    // the RTF reader: every construct the quick path does not know sends
    // the body there, so it never reads a body differently.
    static std::optional<QString> quick(std::string_view storedBody);
};

}  // namespace tamix
