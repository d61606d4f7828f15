#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace tamix {

class cNode;

// Makes an RTF or plain-text document into a new note. A file that starts
// with "{\rtf" is read as RTF and stored as the program writes RTF; any
// other file is plain text (UTF-8 when valid, else Windows-1252), stored as
// RTF in the given font, each line a paragraph.
class DocumentImport {
public:
    // Larger documents are refused rather than read into memory.
    static constexpr std::int64_t kMaxBytes = 128LL * 1024 * 1024;
    // The tree editor's limit for a note's name.
    static constexpr int kMaxTitle = 100;

    // The note's title for the document at `path`: its file name without
    // the folder and without the extension (a name without one stays whole),
    // at most kMaxTitle characters. A title the database's code page cannot
    // hold is refused.
    static std::string Title(const std::string& path);
    // The stored body of the document. Refuses a missing or unreadable file,
    // one larger than kMaxBytes, a file named ".rtf" that is not RTF, and a
    // plain-text file holding NUL bytes (not text).
    static std::string Body(const std::string& path, const QString& fontName, double fontSize);

    // Adds the document as a new note below `parentKey` with the key
    // MaxKeyNumber + 1 and answers that key. Everything is read and checked
    // first; the note and its body are then written under one journal mark,
    // so a crash leaves both or neither.
    static std::string Run(cNode& main, const std::string& path, const std::string& parentKey,
                           std::int32_t& maxKeyNumber, const QString& fontName, double fontSize);
};

}  // namespace tamix
