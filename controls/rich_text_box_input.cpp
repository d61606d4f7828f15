// RichTextBox: keys, input methods and the format of new text.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "controls/key_codes.h"
#include "controls/rich_text_box.h"
#include "rtf/text_document_adapter.h"

namespace tamix::controls {

using rtf::TextDocumentAdapter;

namespace {

bool isProtected(const QTextCharFormat& format) {
    return format.boolProperty(TextDocumentAdapter::ProtectedProperty);
}

// The properties of a character format that make its font.
constexpr int kFontProperties[] = {
    QTextFormat::FontFamilies, QTextFormat::FontFamily,   QTextFormat::FontPointSize,
    QTextFormat::FontWeight,   QTextFormat::FontItalic,   TextDocumentAdapter::FontFamilyKindProperty,
    TextDocumentAdapter::CharsetProperty,
};

}  // namespace

// --- The format of new text -------------------------------------------------

QTextCharFormat RichTextBox::insertionFormat(const QTextCursor& cursor) const {
    QTextCharFormat format = cursor.charFormat();
    if (isProtected(format)) {
        return plainFormatAt(cursor.position());
    }
    format.clearProperty(QTextFormat::ObjectType);  // as QTextCursor::insertText does
    return format;
}

QTextCharFormat RichTextBox::plainFormatAt(int position) const {
    // The nearest unprotected text of the paragraph: the first after the
    // position, else the last before it.
    std::optional<QTextCharFormat> before;
    std::optional<QTextCharFormat> after;
    QTextBlock block = document()->findBlock(position);
    for (auto it = block.begin(); !it.atEnd() && !after; ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (isProtected(format) || format.isImageFormat()) {
            continue;
        }
        if (fragment.position() + fragment.length() > position) {
            after = format;
        } else {
            before = format;
        }
    }
    QTextCharFormat plain = baseFormat();
    if (const std::optional<QTextCharFormat>& near = after ? after : before) {
        for (int property : kFontProperties) {
            if (near->hasProperty(property)) {
                plain.setProperty(property, near->property(property));
            }
        }
    }
    return plain;
}

// --- Keyboard ---------------------------------------------------------------

std::optional<QTextCursor> RichTextBox::deletionRange(QKeyEvent* event) const {
    QTextCursor c = textCursor();
    QTextCursor::MoveOperation move;
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        move = QTextCursor::PreviousCharacter;
    } else if (event->matches(QKeySequence::Delete)) {
        move = QTextCursor::NextCharacter;
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        move = QTextCursor::PreviousWord;
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        move = QTextCursor::NextWord;
    } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
        move = QTextCursor::EndOfBlock;
    } else if (event->matches(QKeySequence::DeleteCompleteLine)) {
        c.movePosition(QTextCursor::StartOfBlock);
        move = QTextCursor::EndOfBlock;
    } else {
        return std::nullopt;
    }
    if (!c.hasSelection()) {
        c.movePosition(move, QTextCursor::KeepAnchor);
        if (move == QTextCursor::EndOfBlock && !c.hasSelection()) {
            c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        }
    }
    return c;
}

bool RichTextBox::typesText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return false;
    }
    if (text.at(0).category() == QChar::Other_Format) {
        return true;  // typed with Ctrl+Shift on some layouts
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;  // shortcuts; Ctrl+Alt (AltGr) still types
    }
    return KeyCodes::typesCharacter(text);
}

bool RichTextBox::prepareTyping(bool overwrites) {
    QTextCursor c = textCursor();
    if (overwrites && overwriteMode() && !c.hasSelection() && !c.atBlockEnd()) {
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    }
    if (!insertionAllowed(c)) {
        return false;
    }
    if (c.hasSelection()) {
        // The replaced text goes first, so that the new text takes the
        // format of what stands before it, as typing does.
        c.removeSelectedText();
        setTextCursor(c);
    }
    if (isProtected(c.charFormat())) {
        setCurrentCharFormat(plainFormatAt(c.position()));
    }
    return true;
}

void RichTextBox::keyPressEvent(QKeyEvent* event) {
    int code = KeyCodes::code(*event);
    int shift = KeyCodes::shiftState(event->modifiers());
    if (code != 0) {
        emit KeyDown(code, shift);  // outside any batch: the handler's edits report at once
        if (code == 0) {
            event->accept();
            return;
        }
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        event->accept();  // there is no undo
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        event->accept();
        return;
    }
    if (isReadOnly()) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (std::optional<QTextCursor> range = deletionRange(event)) {
        if (rangeProtected(range->selectionStart(), range->selectionEnd())) {
            beep();
            event->accept();
            return;
        }
        Batch batch(*this);
        QTextEdit::keyPressEvent(event);
        return;
    }
    const bool breaks = event->matches(QKeySequence::InsertParagraphSeparator) ||
                        event->matches(QKeySequence::InsertLineSeparator);
    if (!breaks && !typesText(*event)) {
        Batch batch(*this);
        QTextEdit::keyPressEvent(event);
        return;
    }
    QString text = event->text();
    if (!breaks && text.contains(QChar::ObjectReplacementCharacter)) {
        text.remove(QChar::ObjectReplacementCharacter);
        if (text.isEmpty()) {
            event->accept();  // U+FFFC is no text the document keeps
            return;
        }
    }
    Batch batch(*this);
    if (!prepareTyping(!breaks)) {
        beep();
        event->accept();
        return;
    }
    // prepareTyping has removed what overwrite mode replaces.
    const bool overwrite = overwriteMode();
    setOverwriteMode(false);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), text, event->isAutoRepeat(),
                    static_cast<quint16>(event->count()));
    QTextEdit::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
    setOverwriteMode(overwrite);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event) {
    int code = KeyCodes::code(*event);
    int shift = KeyCodes::shiftState(event->modifiers());
    if (code != 0) {
        emit KeyUp(code, shift);
        if (code == 0) {
            event->accept();
            return;
        }
    }
    QTextEdit::keyReleaseEvent(event);
}

// --- Input methods ------------------------------------------------------------

// Qt would remove the selection first and then replace the commit's range,
// counted from the caret left behind; the editor does the same itself, so
// that both are checked against the document as it is before either happens.
void RichTextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (isReadOnly()) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QTextCursor caret = textCursor();
    QString commit = event->commitString();
    commit.remove(QChar::ObjectReplacementCharacter);
    const bool commits = !commit.isEmpty() || event->replacementLength() > 0;
    const QTextLayout* layout = caret.block().layout();
    const QString preedit = layout != nullptr ? layout->preeditAreaText() : QString();
    const bool input = commits || event->preeditString() != preedit;
    const int s = input ? caret.selectionStart() : caret.position();
    const int e = input ? caret.selectionEnd() : caret.position();

    // The commit's range [a, b) once [s, e) is gone; QTextCursor::setPosition
    // ignores a position outside the document.
    const int lengthAfter = document()->characterCount() - (e - s);
    int a = s;
    if (int p = s + event->replacementStart(); commits && p >= 0 && p < lengthAfter) {
        a = p;
    }
    int b = a;
    if (int p = a + event->replacementLength(); commits && p >= 0 && p < lengthAfter) {
        b = p;
    }
    if (b < a) {
        std::swap(a, b);
    }
    // A character of the document once [s, e) is gone, as a position now.
    auto now = [&](int x) { return x < s ? x : x + (e - s); };

    bool allowed = !rangeProtected(s, e);
    if (allowed && commits && b > a) {
        allowed = !rangeProtected(now(a), now(b - 1) + 1);
    } else if (allowed && (!commit.isEmpty() || !event->preeditString().isEmpty()) && !(a == s && e > s)) {
        QTextCursor gap(document());
        gap.setPosition(now(a));
        allowed = insertionAllowed(gap);
    }
    if (!allowed) {
        if (commits) {
            beep();
        }
        event->accept();
        return;
    }

    Batch batch(*this);
    if (e > s || commits) {
        QTextCursor edit(document());
        edit.beginEditBlock();
        caret.removeSelectedText();  // the editor's own cursor follows
        if (commits) {
            QTextCursor target(document());
            target.setPosition(a);
            target.setPosition(b, QTextCursor::KeepAnchor);
            target.removeSelectedText();
            // At the caret the typing format holds, as for keys.
            const QTextCursor& typing = a == textCursor().position() ? textCursor() : target;
            insertPlain(target, commit, insertionFormat(typing));
        }
        edit.endEditBlock();
    }
    QInputMethodEvent rest(event->preeditString(), event->attributes());
    QTextEdit::inputMethodEvent(&rest);
    event->setAccepted(commits || rest.isAccepted());
}

}  // namespace tamix::controls
