#pragma once

#include <QChar>
#include <QString>

namespace tamix {

class LinkHandler;
class TreeHost;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// Tools > Detect Links: turns every web, mail and file-transfer address of
// the shown note that is not a link yet into a link whose display text and
// target are the address. The note's text itself never changes.
//
// Positions here are the algorithm's: 1-based, so position p is the
// character just before the caret at the editor's SelStart p.
class LinkDetector {
public:
    // The prefixes an address starts with, in the order they are scanned.
    static constexpr const char* kPrefixes[] = {"http://", "mailto:", "ftp://"};

    LinkDetector(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links, TreeHost& host);

    // Scans the shown note for every prefix in turn and makes a link at
    // each occurrence, with the main window disabled and the hourglass
    // shown; the caret goes back where it was. Stops once the link table is
    // full.
    void DetectLinks();
    // Makes the word around position p (just after a prefix's first
    // character) a link to itself, unless p lies in a link already or the
    // word would overlap one. False when the table had no room for it.
    bool DetectLinkAt(int p);
    // The run of word characters around the caret: those before it and
    // those after it, as long as the character just before the caret is
    // one; "" otherwise (also at the very beginning).
    QString WordAtCaret() const;
    // True for the printable ASCII characters except the space and the
    // backquote.
    static bool IsWordChar(QChar ch);

private:
    // The word around position p: its 0-based first character and text.
    struct Word {
        int start = 0;
        QString text;
    };
    Word wordAround(int p) const;
    // True when some link shares a character with [start, start + length).
    bool overlapsLink(int start, int length) const;

    DatabaseState& state_;
    controls::RichTextBox& editor_;
    LinkHandler& links_;
    TreeHost& host_;
};

}  // namespace tamix
