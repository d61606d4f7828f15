#pragma once

#include <QPoint>
#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVariant>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/rich_text_box_guard.h"

class QMenu;
class QMimeData;

namespace tamix::controls {

// A format that may differ over the selection.
enum class Tristate { Off = 0, On = 1, Mixed = 2 };

// The note editor: a QTextEdit with the members, positions, protection and
// events the rest of the system relies on.
//
// Member style: getters carry the plain name (`SelStart()`), setters "set" +
// name (`setSelStart(v)`). Reads that can be mixed over the selection answer
// Tristate or an empty std::optional.
//
// Positions count characters from 0 as the editor's users' files do: every
// paragraph break is two characters ("\r\n") and no position lies between
// them; a tab, a soft line break and a picture or object are one character
// each. Text(), SelStart(), SelLength(), Find() and CharFromPos() all count
// this way, so Text().mid(SelStart(), SelLength()) == SelText().
//
// Protection: characters whose format carries the protected property cannot
// be changed by typing (overwrite mode included), Backspace, Delete, paste,
// drop, dragging them out, cut (keys, context menu, Cut()), an input method,
// setSelText/setSelRTF or a character-format setter, and no text can be put
// strictly inside a run of them. Qt's own editing calls on the QTextEdit
// base and QTextCursor edits of document() are refused as well: an edit that
// changed protected text is taken back as soon as it ends. A refused attempt
// beeps (see setBeep) and changes nothing. Replacing the whole document
// (setText, setTextRTF, LoadFile, and QTextEdit's setPlainText, setHtml and
// clear) is a load, not an edit, and is always allowed.
//
// Only a link's own characters are protected: text typed, committed by an
// input method, pasted or dropped as plain text, or set by setSelText where
// the typing format would be protected gets the plain typing format instead:
// unprotected, not underlined, no colour of its own, in the font of the
// nearest unprotected text of its paragraph (else the base font).
//
// U+FFFC is one character only as a picture or object: typed, committed,
// pasted, loaded or set as text it is left out.
//
// There is no undo: the undo keys and the context menu's undo and redo do
// nothing.
//
// Events are Qt signals, raised synchronously, also for changes the program
// makes. Change follows every change of the document's text or format;
// SelChange follows every change of the selection (after Change when one
// action causes both). Handlers may change the arguments passed by reference.
//
// Lengths (indents) are twips; twips per pixel = 1440 / logical DPI. Mouse
// event coordinates are twips relative to the drawing area's top-left.
class RichTextBox : public QTextEdit {
    Q_OBJECT

public:
    // Find flags, summed.
    static constexpr int kFindWholeWord = 2;
    static constexpr int kFindMatchCase = 4;
    // SaveFile types.
    static constexpr int kFileRtf = 0;
    static constexpr int kFileText = 1;

    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    // --- Selection and text -------------------------------------------------
    // Setting SelStart collapses the selection there; setting SelLength
    // extends it from SelStart. Values are clamped to the text; a position
    // between "\r" and "\n" moves to the end of that paragraph's text.
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    // Selects [start, start + length) in one step (one SelChange).
    void select(int start, int length);

    // The selected text. Setting it replaces the selection ("\r\n", "\r" or
    // "\n" start a paragraph, "\v" is a soft line break) in the format of the
    // insertion point and leaves the caret after the new text.
    QString SelText() const;
    void setSelText(const QString& text);

    // The whole plain text: paragraphs joined by "\r\n", soft breaks "\v",
    // pictures and objects U+FFFC. Setting it replaces the document with
    // plain text in the base font.
    QString Text() const;
    void setText(const QString& text);

    // RTF of the whole document or of the selection ("{\object" marks an
    // embedded object). setTextRTF replaces the document; setSelRTF replaces
    // the selection (protection rules apply). Malformed RTF loads as much as
    // can be read and never throws.
    std::string TextRTF() const;
    void setTextRTF(std::string_view rtf);
    std::string SelRTF() const;
    void setSelRTF(std::string_view rtf);

    // --- Character format of the selection (or the typing format) ---------
    Tristate SelBold() const;
    void setSelBold(bool on);
    Tristate SelItalic() const;
    void setSelItalic(bool on);
    Tristate SelUnderline() const;
    void setSelUnderline(bool on);
    Tristate SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    // Protection never refuses to be changed itself.
    Tristate SelProtected() const;
    void setSelProtected(bool on);
    std::optional<QString> SelFontName() const;
    void setSelFontName(const QString& name);
    std::optional<double> SelFontSize() const;  // points
    void setSelFontSize(double points);
    // 0x00BBGGRR; text without a colour of its own reads 0 (black).
    std::optional<quint32> SelColor() const;
    void setSelColor(quint32 bgr);

    // --- Paragraph format of the paragraphs the selection touches ----------
    Tristate SelBullet() const;
    void setSelBullet(bool on);
    // 0 left, 1 right, 2 center (justified reads as left).
    std::optional<int> SelAlignment() const;
    void setSelAlignment(int alignment);
    // Left indent of the first line, right indent, and how far the other
    // lines stand right of the first (twips).
    std::optional<double> SelIndent() const;
    void setSelIndent(double twips);
    std::optional<double> SelRightIndent() const;
    void setSelRightIndent(double twips);
    std::optional<double> SelHangingIndent() const;
    void setSelHangingIndent(double twips);
    // Distance between a bullet and its text (twips) of the first paragraph
    // of the selection; setting it sets it for every paragraph touched.
    double BulletIndent() const;
    void setBulletIndent(double twips);

    // --- Base font: the font of plain text and of an empty document --------
    QString FontName() const;
    void setFontName(const QString& name);
    double FontSize() const;
    void setFontSize(double points);

    // --- Find and files ------------------------------------------------------
    // Finds `text` inside [start, end) of Text() (end -1 = to the end) with
    // flags kFindWholeWord and kFindMatchCase; selects the match and answers
    // its position, or answers -1 and leaves the selection alone.
    int Find(const QString& text, int start = 0, int end = -1, int flags = 0);
    // Reads RTF when the file starts with "{\rtf", otherwise plain text
    // (UTF-8 when valid, else Windows-1252) in the base font. Throws
    // TamixError when the file cannot be read or is larger than 128 MiB; the
    // document is then unchanged.
    void LoadFile(const QString& path);
    // Writes TextRTF() (kFileRtf) or Text() as UTF-8 (kFileText). Throws
    // TamixError when the file cannot be written.
    void SaveFile(const QString& path, int fileType = kFileRtf);

    // --- Clipboard (the control's own formats: text/rtf and text/plain) ----
    void Cut();
    void Copy();
    void Paste();
    // Mime data of the selection: "text/rtf" and text/plain with "\r\n".
    QMimeData* selectionMimeData() const;
    // The selection as other programs on the desktop take it, and what a
    // drag out of the editor carries: "text/rtf" without protection, and
    // text/plain in which every paragraph break and soft line break is "\n"
    // and pictures are left out.
    QMimeData* desktopMimeData() const;
    // The editor's own context menu (the caller owns it): Undo and Redo
    // always disabled, Cut, Copy, Paste, Delete and Select All through the
    // members above. Shown on a context-menu request unless the context menu
    // policy says otherwise.
    QMenu* createContextMenu();

    // Text().size() and Text().mid(start, length), without building the
    // whole text (for a range that does not start or end inside a
    // paragraph break).
    int TextLength() const;
    QString TextRange(int start, int length) const;

    // True when every character of start ... start + length - 1 (editor
    // positions, length > 0) is protected; reads formats only, the
    // selection stays.
    bool WhollyProtected(int start, int length) const;

    // The character nearest `pixels` (drawing-area coordinates), or -1 when
    // the document is empty.
    int CharFromPos(const QPoint& pixels) const;

    // 0 the default (I-beam) pointer, 1 the arrow.
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    bool TabStop() const;
    void setTabStop(bool tabStop);
    void Refresh();
    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;

    // Conversions between the positions above and QTextDocument positions.
    int toDocumentPosition(int position) const;
    int fromDocumentPosition(int documentPosition) const;

    // What a refused edit does; QApplication::beep by default.
    void setBeep(std::function<void()> beep);

signals:
    void Change();
    void SelChange();
    // Key codes: letters 65-90, digits 48-57, Backspace 8, Tab 9, Enter 13,
    // Escape 27, Space 32, navigation 33-40, Insert 45, Delete 46, keypad
    // 96-111, F1.. 112.., US punctuation 186-192 and 219-222. Shift state:
    // 1 Shift, 2 Ctrl, 4 Alt. Setting `keyCode` to 0 swallows the key; other
    // changes of the arguments have no effect on what the key does.
    // Every key that can change the text raises KeyDown before it acts.
    void KeyDown(int& keyCode, int& shift);
    void KeyUp(int& keyCode, int& shift);
    // button 1 left, 2 right, 4 middle (MouseMove: the buttons held); x, y
    // in twips.
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void GotFocus();
    void LostFocus();
    // Something is dropped at `position`, where it may be inserted; `move`
    // when it is this editor's own selection dragged to be moved. A handler
    // that sets `handled` has done the insertion (and the removal, for a
    // move) itself; otherwise the editor does both as an unhandled drop.
    void DropData(const QMimeData* data, int position, bool move, bool& handled);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Qt's own editing entry points that would bypass protection or the
    // position rules; use the members above instead.
    using QTextEdit::append;
    using QTextEdit::cut;
    using QTextEdit::insertHtml;
    using QTextEdit::insertPlainText;
    using QTextEdit::paste;
    using QTextEdit::redo;
    using QTextEdit::setHtml;
    using QTextEdit::setDocument;
    using QTextEdit::setPlainText;
    using QTextEdit::setUndoRedoEnabled;
    using QTextEdit::undo;

    // Collects the Change and SelChange of one action and raises them when
    // the outermost action ends, so that handlers never run in the middle of
    // an edit.
    class Batch {
    public:
        explicit Batch(RichTextBox& box) : box_(box) { ++box_.batchDepth_; }
        ~Batch() {
            if (--box_.batchDepth_ == 0) {
                box_.flush();
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        RichTextBox& box_;
    };

    // The guard kept an edit, or took one back.
    void onDocumentChanged();
    void onEditRefused();
    void onCursorMoved();
    // Raises the Change and SelChange the finished outermost batch owes.
    void flush();
    void beep() const;

    // True when a character in [from, to) (document positions) is protected.
    bool rangeProtected(int from, int to) const;
    // True when text may replace the cursor's selection, or be inserted at
    // an empty cursor: refused only strictly inside a protected run, so that
    // text can still be added at a run's edge.
    bool insertionAllowed(const QTextCursor& cursor) const;
    // For a key that deletes, the range it would remove (possibly empty);
    // nullopt for every other key.
    std::optional<QTextCursor> deletionRange(QKeyEvent* event) const;
    // Whether a key would type its text (the paragraph and line break keys
    // aside), as QTextEdit decides it.
    static bool typesText(const QKeyEvent& event);
    // Makes the text cursor ready for a key that inserts: in overwrite mode
    // (`overwrites`: the key types text) the character after the caret is
    // replaced, the replaced text is removed first, and a protected typing
    // format becomes the plain one. Answers false, changing nothing, when
    // the insertion is refused.
    bool prepareTyping(bool overwrites);
    // The format text inserted at the (empty) cursor gets: its typing format,
    // or the plain typing format where that is protected.
    QTextCharFormat insertionFormat(const QTextCursor& cursor) const;
    // The plain typing format at a document position.
    QTextCharFormat plainFormatAt(int position) const;
    // Applies a character format to the selection, or to the typing format
    // when the selection is empty. Protected text refuses it unless
    // `protection` says the protection itself is being changed.
    void mergeSelectionFormat(const QTextCharFormat& format, bool protection = false);
    // Changes the block format of every paragraph the selection touches.
    void changeBlockFormats(const std::function<void(QTextBlockFormat&)>& change);
    // A flag over the selection's characters (the typing format when empty).
    Tristate charFlag(const std::function<bool(const QTextCharFormat&)>& read) const;
    // A value over the selection's characters; nullopt when they differ.
    std::optional<QVariant> charValue(const std::function<QVariant(const QTextCharFormat&)>& read) const;
    // A value over the paragraphs the selection touches; nullopt when mixed.
    std::optional<QVariant> blockValue(const std::function<QVariant(const QTextBlock&)>& read) const;
    // The base font as a char format (family and size set explicitly).
    QTextCharFormat baseFormat() const;
    // Replaces the document with plain text in the base font.
    void loadPlainText(const QString& text);
    // Inserts plain text at the cursor, replacing its selection: "\r\n",
    // "\r" and "\n" start paragraphs, "\v" is a soft line break, U+FFFC is
    // left out. The text gets insertionFormat, or `format` when given.
    void insertPlain(QTextCursor& cursor, const QString& text,
                     const std::optional<QTextCharFormat>& format = std::nullopt) const;
    // Inserts clipboard or drop data at the cursor: RTF, else text, else an
    // image.
    void insertMime(const QMimeData* source, QTextCursor& cursor);
    QPoint toTwips(const QPoint& pixels) const;

    RichTextBoxGuard guard_;      // takes back any edit of protected text
    std::function<void()> beep_;
    int batchDepth_ = 0;          // > 0 while an action runs; signals wait for its end
    bool changed_ = false;        // the document changed inside the current batch
    int lastAnchor_ = 0;          // selection last reported by SelChange (document positions)
    int lastPosition_ = 0;
    int mousePointer_ = 0;
    bool draggingOut_ = false;    // inside a mouse move that may start a drag of the selection
    int imageCount_ = 0;          // names pasted images uniquely within the document
};

}  // namespace tamix::controls
