#pragma once

#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <utility>
#include <vector>

class QTextDocument;

namespace tamix::controls {

// Keeps the protected characters of a QTextDocument as they are, whatever
// path edits the document: the editor's own members, Qt's editing calls on
// the editor's base class, or a QTextCursor on the document.
//
// It records every run of protected characters (within a paragraph). When an
// edit ends having changed a run (a character, a character's format, or text
// put strictly inside it), it takes the whole edit back through the
// document's undo stack and reports refused(); every other edit is kept and
// reported by changed(). Text may always be added at a run's edges.
//
// Loads are kept whole: an edit made while a Trust lives, one made while the
// document's undo stack is off (QTextDocument::setPlainText and setHtml turn
// it off while they load), and one that clears the document (and with it
// the undo stack).
//
// A U+FFFC that is not a picture or an object (its format is no image
// format) is never kept as text: every kept edit loses the ones it brought.
//
// The guard turns the document's undo stack on and empties it after every
// edit: nothing else may use that history.
class RichTextBoxGuard : public QObject {
    Q_OBJECT

public:
    explicit RichTextBoxGuard(QObject* parent = nullptr);
    ~RichTextBoxGuard() override;

    // Watches `document` from now on (nullptr: nothing) and records its runs.
    void watch(QTextDocument* document);
    QTextDocument* document() const { return document_; }

    // True from the start of an edit until it has been kept or taken back.
    bool changing() const { return pending_ != Pending::None || busy_ || clearing_; }

    // Keeps or takes back the edit in progress once it has ended. The
    // document's contentsChanged calls it; call it also where an edit may end
    // without that signal (QTextEdit::textChanged after a load).
    void settle();

    // Number of protected runs recorded.
    int runCount() const { return static_cast<int>(runs_.size()); }

    // While a Trust lives, edits are loads: kept as they are.
    class Trust {
    public:
        explicit Trust(RichTextBoxGuard& guard) : guard_(guard) { ++guard_.trust_; }
        ~Trust() { --guard_.trust_; }
        Trust(const Trust&) = delete;
        Trust& operator=(const Trust&) = delete;

    private:
        RichTextBoxGuard& guard_;
    };

signals:
    // An edit ended and was kept.
    void changed();
    // An edit ended that changed protected text; it has been taken back.
    void refused();

private:
    enum class Pending { None, Edit, Load };

    // A run of protected characters: its first and last character are
    // followed by cursors, so that text added at either edge stays outside.
    struct Run {
        QTextCursor first;   // before the run's first character
        QTextCursor last;    // before the run's last character
        QString text;
        std::vector<std::pair<int, QTextCharFormat>> formats;  // (length, format), neighbours differ
    };

    void onContentsChange(int position, int removed, int added);
    // Records every protected run of the document as it is now.
    void record();
    // True when every run is where its cursors say, unchanged and in order.
    bool runsIntact() const;
    // The text and formats of document positions [from, to).
    void read(int from, int to, QString& text, std::vector<std::pair<int, QTextCharFormat>>& formats) const;
    bool hasProtected(int from, int to) const;
    // Removes U+FFFC characters in [from, to) that are no picture or object.
    void removeStrayObjects(int from, int to);
    // Takes back every edit since the last one settled.
    void revert();
    void forgetHistory();

    QTextDocument* document_ = nullptr;
    std::vector<Run> runs_;        // in document order, none overlapping
    Pending pending_ = Pending::None;
    int dirtyFrom_ = 0;            // what the pending edit left new or changed (document positions)
    int dirtyTo_ = 0;
    int trust_ = 0;                // Trusts alive
    bool busy_ = false;            // the guard itself is changing the document
    bool clearing_ = false;        // inside QTextDocument::clear, whose cursors are set aside
};

}  // namespace tamix::controls
