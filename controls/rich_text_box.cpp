#include "controls/rich_text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "controls/format_scan.h"
#include "controls/key_codes.h"
#include "controls/position_map.h"
#include "controls/twips.h"
#include "rtf/editor_text.h"
#include "rtf/text_document_adapter.h"

namespace tamix::controls {

using rtf::TextDocumentAdapter;

namespace {

constexpr int kProtected = TextDocumentAdapter::ProtectedProperty;

bool isProtected(const QTextCharFormat& format) {
    return format.boolProperty(kProtected);
}

// 1 left, 2 right, 4 middle, summed.
int buttonCode(Qt::MouseButtons buttons) {
    return ((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0) |
           ((buttons & Qt::MiddleButton) ? 4 : 0);
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    beep_ = [] { QApplication::beep(); };
    setAcceptRichText(false);
    setTabChangesFocus(false);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    guard_.watch(document());
    connect(&guard_, &RichTextBoxGuard::changed, this, &RichTextBox::onDocumentChanged);
    connect(&guard_, &RichTextBoxGuard::refused, this, &RichTextBox::onEditRefused);
    // Also after QTextEdit replaced its document or loaded one (setPlainText,
    // setHtml, clear), which may end without the document's contentsChanged.
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (guard_.document() != document()) {
            guard_.watch(document());
            onDocumentChanged();
        }
        guard_.settle();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::onCursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::onCursorMoved);
}

RichTextBox::~RichTextBox() {
    // The document is our child and is destroyed after our members; its
    // last signals must not reach them.
    disconnect(document(), nullptr, this, nullptr);
}

// --- Events owed ----------------------------------------------------------

void RichTextBox::onDocumentChanged() {
    if (batchDepth_ > 0) {
        changed_ = true;
    } else {
        emit Change();
        onCursorMoved();  // held back while the edit was under way
    }
}

void RichTextBox::onEditRefused() {
    // The selection the edit moved goes back to the one last reported.
    int end = document()->characterCount() - 1;
    QTextCursor c(document());
    c.setPosition(std::clamp(lastAnchor_, 0, end));
    c.setPosition(std::clamp(lastPosition_, 0, end), QTextCursor::KeepAnchor);
    setTextCursor(c);
    beep();
    if (batchDepth_ == 0) {
        onCursorMoved();
    }
}

void RichTextBox::onCursorMoved() {
    if (batchDepth_ > 0 || guard_.changing()) {
        return;
    }
    QTextCursor c = textCursor();
    if (c.anchor() == lastAnchor_ && c.position() == lastPosition_) {
        return;
    }
    lastAnchor_ = c.anchor();
    lastPosition_ = c.position();
    emit SelChange();
}

void RichTextBox::flush() {
    if (changed_) {
        changed_ = false;
        emit Change();
    }
    onCursorMoved();
}

void RichTextBox::setBeep(std::function<void()> beep) {
    beep_ = std::move(beep);
}

void RichTextBox::beep() const {
    if (beep_) {
        beep_();
    }
}

// --- Positions and text ---------------------------------------------------

int RichTextBox::toDocumentPosition(int position) const {
    return PositionMap::toDocument(*document(), position);
}

int RichTextBox::fromDocumentPosition(int documentPosition) const {
    return PositionMap::toControl(*document(), documentPosition);
}

int RichTextBox::SelStart() const {
    return fromDocumentPosition(textCursor().selectionStart());
}

int RichTextBox::SelLength() const {
    QTextCursor c = textCursor();
    return fromDocumentPosition(c.selectionEnd()) - fromDocumentPosition(c.selectionStart());
}

void RichTextBox::setSelStart(int start) {
    select(start, 0);
}

void RichTextBox::setSelLength(int length) {
    select(SelStart(), length);
}

void RichTextBox::select(int start, int length) {
    Batch batch(*this);
    int total = PositionMap::length(*document());
    start = std::clamp(start, 0, total);
    length = std::clamp(length, 0, total - start);
    QTextCursor c(document());
    c.setPosition(toDocumentPosition(start));
    c.setPosition(toDocumentPosition(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const {
    QTextCursor c = textCursor();
    return PositionMap::text(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelText(const QString& text) {
    QTextCursor c = textCursor();
    if (!insertionAllowed(c)) {
        beep();
        return;
    }
    Batch batch(*this);
    insertPlain(c, text);
    setTextCursor(c);
}

QString RichTextBox::Text() const {
    return rtf::EditorText::text(*document());
}

int RichTextBox::TextLength() const { return PositionMap::length(*document()); }

QString RichTextBox::TextRange(int start, int length) const {
    if (length <= 0) return QString();
    return rtf::EditorText::text(*document(), toDocumentPosition(start), toDocumentPosition(start + length));
}

void RichTextBox::setText(const QString& text) {
    loadPlainText(text);
}

void RichTextBox::insertPlain(QTextCursor& cursor, const QString& text,
                              const std::optional<QTextCharFormat>& format) const {
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\v'), QChar::LineSeparator);
    normal.remove(QChar::ObjectReplacementCharacter);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertText(normal, format ? *format : insertionFormat(cursor));  // each "\n" starts a paragraph
    cursor.endEditBlock();
}

QTextCharFormat RichTextBox::baseFormat() const {
    QFont font = document()->defaultFont();
    QTextCharFormat format;
    format.setFontFamilies(QStringList{font.family()});
    format.setFontPointSize(font.pointSizeF());
    return format;
}

void RichTextBox::loadPlainText(const QString& text) {
    Batch batch(*this);
    RichTextBoxGuard::Trust load(guard_);
    document()->clear();
    QTextCursor c(document());
    QTextCharFormat format = baseFormat();
    c.setBlockCharFormat(format);
    insertPlain(c, text, format);
    c.movePosition(QTextCursor::Start);
    setTextCursor(c);
    setCurrentCharFormat(format);
}

std::string RichTextBox::TextRTF() const {
    return TextDocumentAdapter::toRtf(*document());
}

void RichTextBox::setTextRTF(std::string_view rtf) {
    Batch batch(*this);
    RichTextBoxGuard::Trust load(guard_);
    TextDocumentAdapter::loadRtf(rtf, *document());
    setTextCursor(QTextCursor(document()));
}

std::string RichTextBox::SelRTF() const {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        return TextDocumentAdapter::toRtf(*document(), c.position(), c.position());
    }
    return TextDocumentAdapter::toRtf(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelRTF(std::string_view rtf) {
    QTextCursor c = textCursor();
    if (!insertionAllowed(c)) {
        beep();
        return;
    }
    Batch batch(*this);
    TextDocumentAdapter::insertRtf(rtf, c);
    setTextCursor(c);
}

// --- Protection -----------------------------------------------------------

bool RichTextBox::rangeProtected(int from, int to) const {
    bool found = false;
    FormatScan::chars(*document(), from, to, [&](const QTextCharFormat& format) {
        found = isProtected(format);
        return !found;
    });
    return found;
}

bool RichTextBox::WhollyProtected(int start, int length) const {
    if (length <= 0) return false;
    bool all = true;
    FormatScan::chars(*document(), toDocumentPosition(start), toDocumentPosition(start + length),
                      [&](const QTextCharFormat& format) {
                          all = isProtected(format);
                          return all;
                      });
    return all;
}

bool RichTextBox::insertionAllowed(const QTextCursor& cursor) const {
    if (cursor.hasSelection()) {
        return !rangeProtected(cursor.selectionStart(), cursor.selectionEnd());
    }
    int pos = cursor.position();
    QTextBlock block = cursor.block();
    int blockEnd = block.position() + block.length() - 1;
    if (pos <= block.position() || pos >= blockEnd) {
        return true;  // at a paragraph's edge nothing protected is split
    }
    return !(rangeProtected(pos - 1, pos) && rangeProtected(pos, pos + 1));
}

// --- Mouse and focus --------------------------------------------------------

void RichTextBox::mousePressEvent(QMouseEvent* event) {
    {
        Batch batch(*this);
        QTextEdit::mousePressEvent(event);
    }
    QPoint tw = toTwips(event->position().toPoint());
    emit MouseDown(buttonCode(event->button()), KeyCodes::shiftState(event->modifiers()), tw.x(), tw.y());
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event) {
    {
        Batch batch(*this);
        Qt::TextInteractionFlags flags = textInteractionFlags();
        draggingOut_ = (event->buttons() & Qt::LeftButton) != 0;
        // A drag of the selection may start in here; createMimeDataFromSelection
        // makes it copy-only when the selection is protected.
        QTextEdit::mouseMoveEvent(event);
        draggingOut_ = false;
        if (textInteractionFlags() != flags) {
            setTextInteractionFlags(flags);
        }
    }
    QPoint tw = toTwips(event->position().toPoint());
    emit MouseMove(buttonCode(event->buttons()), KeyCodes::shiftState(event->modifiers()), tw.x(), tw.y());
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event) {
    {
        Batch batch(*this);
        QTextEdit::mouseReleaseEvent(event);
    }
    QPoint tw = toTwips(event->position().toPoint());
    emit MouseUp(buttonCode(event->button()), KeyCodes::shiftState(event->modifiers()), tw.x(), tw.y());
}

void RichTextBox::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    emit GotFocus();
}

void RichTextBox::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    emit LostFocus();
}

// --- Pointer, focus, geometry ---------------------------------------------

int RichTextBox::CharFromPos(const QPoint& pixels) const {
    const QTextDocument& doc = *document();
    if (doc.isEmpty()) {
        return -1;
    }
    QPointF point(pixels.x() + horizontalScrollBar()->value(), pixels.y() + verticalScrollBar()->value());
    int pos = doc.documentLayout()->hitTest(point, Qt::FuzzyHit);
    if (pos < 0) {
        return -1;
    }
    QTextBlock block = doc.findBlock(pos);
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return fromDocumentPosition(pos);
    }
    QPointF local = point - doc.documentLayout()->blockBoundingRect(block).topLeft();
    QTextLine line = layout->lineAt(layout->lineCount() - 1);
    for (int i = 0; i < layout->lineCount(); ++i) {
        if (local.y() < layout->lineAt(i).rect().bottom()) {
            line = layout->lineAt(i);
            break;
        }
    }
    // The character under the point, not the gap nearest to it.
    int index = line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    return fromDocumentPosition(block.position() + index);
}

void RichTextBox::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    viewport()->setCursor(pointer == 1 ? Qt::ArrowCursor : Qt::IBeamCursor);
}

bool RichTextBox::TabStop() const {
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void RichTextBox::setTabStop(bool tabStop) {
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void RichTextBox::Refresh() {
    viewport()->update();
}

int RichTextBox::TwipsPerPixelX() const { return Twips(*this).perPixelX(); }

int RichTextBox::TwipsPerPixelY() const { return Twips(*this).perPixelY(); }

QPoint RichTextBox::toTwips(const QPoint& pixels) const { return Twips(*this).toTwips(pixels); }

}  // namespace tamix::controls
