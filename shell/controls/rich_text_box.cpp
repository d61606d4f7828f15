#include "rich_text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>
#include <memory>

#include "code_page.h"
#include "format_scan.h"
#include "key_codes.h"
#include "position_map.h"
#include "tamix_error.h"
#include "text_document_adapter.h"

namespace tamix::controls {

using rtf::TextDocumentAdapter;

namespace {

constexpr int kProtected = TextDocumentAdapter::ProtectedProperty;
const char* const kRtfMime = "text/rtf";
const char* const kRtfMimeAlt = "application/rtf";

bool isProtected(const QTextCharFormat& format) {
    return format.boolProperty(kProtected);
}

// Plain-text file contents: UTF-8 when they are valid UTF-8 (a leading
// byte-order mark is dropped), otherwise Windows-1252.
QString decodePlainText(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        return text;
    }
    text.clear();
    text.reserve(body.size());
    for (char byte : body) {
        char32_t cp = rtf::CodePage::decode1252(static_cast<unsigned char>(byte));
        text += QChar(static_cast<char16_t>(cp));
    }
    return text;
}

// 1 left, 2 right, 4 middle, summed.
int buttonCode(Qt::MouseButtons buttons) {
    return ((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0) |
           ((buttons & Qt::MiddleButton) ? 4 : 0);
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    beep_ = [] { QApplication::beep(); };
    document()->setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setTabChangesFocus(false);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(document(), &QTextDocument::contentsChange, this, &RichTextBox::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::onCursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::onCursorMoved);
}

RichTextBox::~RichTextBox() {
    // The document outlives nothing of ours; its teardown must not reach us.
    disconnect(document(), nullptr, this, nullptr);
}

// --- Events owed ----------------------------------------------------------

void RichTextBox::onContentsChange(int, int, int) {
    if (batchDepth_ > 0) {
        changed_ = true;
    } else {
        emit Change();
    }
}

void RichTextBox::onCursorMoved() {
    if (batchDepth_ > 0) {
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
    return PositionMap::text(*document());
}

void RichTextBox::setText(const QString& text) {
    loadPlainText(text);
}

void RichTextBox::insertPlain(QTextCursor& cursor, const QString& text) {
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\v'), QChar::LineSeparator);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertText(normal);  // each "\n" becomes a paragraph break
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
    document()->clear();
    QTextCursor c(document());
    QTextCharFormat format = baseFormat();
    c.setBlockCharFormat(format);
    c.setCharFormat(format);
    insertPlain(c, text);
    c.movePosition(QTextCursor::Start);
    setTextCursor(c);
    setCurrentCharFormat(format);
}

std::string RichTextBox::TextRTF() const {
    return TextDocumentAdapter::toRtf(*document());
}

void RichTextBox::setTextRTF(std::string_view rtf) {
    Batch batch(*this);
    TextDocumentAdapter::loadRtf(rtf, *document());
    document()->setUndoRedoEnabled(false);
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

bool RichTextBox::insertsText(QKeyEvent* event) {
    if (event->matches(QKeySequence::InsertParagraphSeparator) ||
        event->matches(QKeySequence::InsertLineSeparator)) {
        return true;
    }
    const QString text = event->text();
    return !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t'));
}

// --- Keyboard, input method, mouse, focus -------------------------------

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
    if (!isReadOnly()) {
        if (std::optional<QTextCursor> range = deletionRange(event)) {
            if (rangeProtected(range->selectionStart(), range->selectionEnd())) {
                beep();
                event->accept();
                return;
            }
        } else if (insertsText(event) && !insertionAllowed(textCursor())) {
            beep();
            event->accept();
            return;
        }
    }
    Batch batch(*this);
    QTextEdit::keyPressEvent(event);
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

void RichTextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly()) {
        QTextCursor c = textCursor();
        if (event->replacementLength() > 0) {
            int start = c.position() + event->replacementStart();
            c.setPosition(std::max(0, start));
            c.setPosition(std::max(0, start + event->replacementLength()), QTextCursor::KeepAnchor);
        }
        bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
        if ((commits || !event->preeditString().isEmpty()) && !insertionAllowed(c)) {
            if (commits) {
                beep();
            }
            event->accept();
            return;
        }
    }
    Batch batch(*this);
    QTextEdit::inputMethodEvent(event);
}

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

void RichTextBox::contextMenuEvent(QContextMenuEvent* event) {
    // Qt's own menu would cut, paste and undo behind our back.
    std::unique_ptr<QMenu> menu(createContextMenu());
    menu->exec(event->globalPos());
}

QMenu* RichTextBox::createContextMenu() {
    auto* menu = new QMenu(this);
    QAction* undo = menu->addAction(tr("&Undo"));
    QAction* redo = menu->addAction(tr("&Redo"));
    undo->setEnabled(false);
    redo->setEnabled(false);
    menu->addSeparator();
    bool editable = !isReadOnly();
    bool selected = textCursor().hasSelection();
    menu->addAction(tr("Cu&t"), this, &RichTextBox::Cut)->setEnabled(editable && selected);
    menu->addAction(tr("&Copy"), this, &RichTextBox::Copy)->setEnabled(selected);
    menu->addAction(tr("&Paste"), this, &RichTextBox::Paste)->setEnabled(editable);
    menu->addAction(tr("Delete"), this, [this] { setSelText(QString()); })->setEnabled(editable && selected);
    menu->addSeparator();
    menu->addAction(tr("Select All"), this, &QTextEdit::selectAll);
    return menu;
}

// --- Clipboard and drag and drop -----------------------------------------

QMimeData* RichTextBox::selectionMimeData() const {
    auto* mime = new QMimeData;
    std::string rtf = SelRTF();
    mime->setData(kRtfMime, QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    mime->setText(SelText());
    return mime;
}

QMimeData* RichTextBox::createMimeDataFromSelection() const {
    QTextCursor c = textCursor();
    if (draggingOut_ && rangeProtected(c.selectionStart(), c.selectionEnd())) {
        // Qt is starting a drag: without the editable flag it offers a copy
        // only, so dropping elsewhere cannot take the protected text away.
        auto* self = const_cast<RichTextBox*>(this);
        self->setTextInteractionFlags(textInteractionFlags() & ~Qt::TextEditable);
    }
    return selectionMimeData();
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt) || source->hasText() ||
           source->hasImage();
}

void RichTextBox::insertFromMimeData(const QMimeData* source) {
    QTextCursor c = textCursor();
    if (!insertionAllowed(c)) {
        beep();
        return;
    }
    Batch batch(*this);
    insertMime(source, c);
    setTextCursor(c);
}

void RichTextBox::insertMime(const QMimeData* source, QTextCursor& cursor) {
    for (const char* type : {kRtfMime, kRtfMimeAlt}) {
        if (source->hasFormat(type)) {
            QByteArray rtf = source->data(type);
            TextDocumentAdapter::insertRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())),
                                           cursor);
            return;
        }
    }
    if (source->hasText()) {
        insertPlain(cursor, source->text());
        return;
    }
    QImage image = qvariant_cast<QImage>(source->imageData());
    if (image.isNull()) {
        return;
    }
    QUrl name(QStringLiteral("tamix-image:%1").arg(++imageCount_));
    document()->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(image.width());
    format.setHeight(image.height());
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertImage(format);
    cursor.endEditBlock();
}

void RichTextBox::Copy() {
    if (!textCursor().hasSelection()) {
        return;
    }
    QApplication::clipboard()->setMimeData(selectionMimeData());
}

void RichTextBox::Cut() {
    QTextCursor c = textCursor();
    if (!c.hasSelection() || isReadOnly()) {
        return;
    }
    if (rangeProtected(c.selectionStart(), c.selectionEnd())) {
        beep();
        return;
    }
    Copy();
    Batch batch(*this);
    c.removeSelectedText();
    setTextCursor(c);
}

void RichTextBox::Paste() {
    const QMimeData* source = QApplication::clipboard()->mimeData();
    if (source == nullptr || isReadOnly() || !canInsertFromMimeData(source)) {
        return;
    }
    insertFromMimeData(source);
}

void RichTextBox::dragMoveEvent(QDragMoveEvent* event) {
    QTextEdit::dragMoveEvent(event);
    if (event->isAccepted() && !insertionAllowed(cursorForPosition(event->position().toPoint()))) {
        event->ignore();
    }
}

void RichTextBox::dropEvent(QDropEvent* event) {
    if (!insertionAllowed(cursorForPosition(event->position().toPoint()))) {
        beep();
        event->ignore();
        return;
    }
    Batch batch(*this);
    QTextEdit::dropEvent(event);
}

// --- Find and files ---------------------------------------------------------

int RichTextBox::Find(const QString& text, int start, int end, int flags) {
    if (text.isEmpty()) {
        return -1;
    }
    const QString all = Text();
    const int total = static_cast<int>(all.size());
    start = std::clamp(start, 0, total);
    if (end < 0 || end > total) {
        end = total;
    }
    Qt::CaseSensitivity cs = (flags & kFindMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int n = static_cast<int>(text.size());
    auto splitsBreak = [&](int pos) {
        return pos > 0 && pos < total && all.at(pos) == QLatin1Char('\n') &&
               all.at(pos - 1) == QLatin1Char('\r');
    };
    for (int from = start;;) {
        int hit = static_cast<int>(all.indexOf(text, from, cs));
        if (hit < 0 || hit + n > end) {
            return -1;
        }
        int stop = hit + n;
        bool ok = !splitsBreak(hit) && !splitsBreak(stop);
        if (ok && (flags & kFindWholeWord)) {
            ok = (hit == 0 || !isWordChar(all.at(hit - 1))) && (stop == total || !isWordChar(all.at(stop)));
        }
        if (ok) {
            select(hit, n);
            return hit;
        }
        from = hit + 1;
    }
}

void RichTextBox::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        throw TamixError(kErrFileNotFound, "File not found: " + path.toStdString());
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw TamixError(kErrPathAccess, "Path/File access error: " + path.toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw TamixError(kErrDeviceIo, "Device I/O error reading " + path.toStdString());
    }
    if (bytes.startsWith("{\\rtf")) {
        setTextRTF(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } else {
        loadPlainText(decodePlainText(bytes));
    }
}

void RichTextBox::SaveFile(const QString& path, int fileType) {
    QByteArray bytes;
    if (fileType == kFileRtf) {
        std::string rtf = TextRTF();
        bytes = QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
    } else if (fileType == kFileText) {
        QString text = Text();
        text.replace(QLatin1Char('\v'), QLatin1String("\r\n"));
        text.remove(QChar::ObjectReplacementCharacter);
        bytes = text.toUtf8();
    } else {
        throw TamixError(kErrInvalidCall, "Invalid file type " + std::to_string(fileType));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw TamixError(kErrPathAccess, "Path/File access error: " + path.toStdString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        throw TamixError(kErrDeviceIo, "Device I/O error writing " + path.toStdString());
    }
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

int RichTextBox::TwipsPerPixelX() const {
    return 1440 / std::max(1, logicalDpiX());
}

int RichTextBox::TwipsPerPixelY() const {
    return 1440 / std::max(1, logicalDpiY());
}

QPoint RichTextBox::toTwips(const QPoint& pixels) const {
    return {pixels.x() * TwipsPerPixelX(), pixels.y() * TwipsPerPixelY()};
}

}  // namespace tamix::controls
