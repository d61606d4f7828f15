#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tamix {

// Writes a note's body to a document: RTF as it is, or its plain text as
// the editor shows it (paragraphs and line breaks as CR LF, pictures left
// out) in UTF-8.
class NoteExport {
public:
    enum class Kind { Rtf, Text };

    // The kind a file name asks for: Text when it ends in ".txt" (any case),
    // RTF otherwise.
    static Kind KindOf(const std::string& name);
    // `name` with ".rtf" or ".txt" appended unless it already ends so (any case).
    static std::string TargetName(const std::string& name, Kind kind);
    // The bytes of a plain-text export of the editor text `text`.
    static std::string TextBytes(QString text);
    // The bytes of a plain-text export of a stored RTF body (needs a
    // QGuiApplication, as the editor's text does).
    static std::string TextOfRtf(std::string_view rtf);
    // Replaces any file at `path` with `bytes`; the old file goes only once
    // the new one is complete. Throws TamixError when it cannot be written.
    static void Write(const std::string& path, const std::string& bytes);
};

}  // namespace tamix
