// RichTextBox: context menu, clipboard, drag and drop, find and files.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QStringDecoder>
#include <memory>

#include "rtf/code_page.h"
#include "controls/rich_text_box.h"
#include "storage/tamix_error.h"
#include "rtf/rtf_writer.h"
#include "rtf/text_document_adapter.h"
#include "controls/text_search.h"

namespace tamix::controls {

using rtf::TextDocumentAdapter;

namespace {

const char* const kRtfMime = "text/rtf";
const char* const kRtfMimeAlt = "application/rtf";
// Largest file LoadFile reads: far beyond any note, small enough that a wrong
// choice of file cannot exhaust memory.
constexpr qint64 kMaxFileBytes = qint64(128) * 1024 * 1024;

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

}  // namespace

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

QMimeData* RichTextBox::desktopMimeData() const {
    QTextCursor c = textCursor();
    rtf::RtfDocument selection = TextDocumentAdapter::extract(*document(), c.selectionStart(), c.selectionEnd());
    selection.removeProtection();
    const std::string rtf = rtf::RtfWriter::write(selection);
    auto* mime = new QMimeData;
    mime->setData(kRtfMime, QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    QString text = SelText();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\v'), QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    mime->setText(text);
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
    return desktopMimeData();
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
    const QTextCursor at = cursorForPosition(event->position().toPoint());
    const bool move = (event->source() == this || event->source() == viewport()) &&
                      event->dropAction() == Qt::MoveAction;
    bool handled = false;
    emit DropData(event->mimeData(), fromDocumentPosition(at.position()), move, handled);
    if (handled) {
        // The source must not remove the dragged text a second time.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    Batch batch(*this);
    QTextEdit::dropEvent(event);
}

// --- Find and files ---------------------------------------------------------

int RichTextBox::Find(const QString& text, int start, int end, int flags) {
    int hit = TextSearch::find(Text(), text, start, end, flags);
    if (hit >= 0) {
        select(hit, static_cast<int>(text.size()));
    }
    return hit;
}

void RichTextBox::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        throw TamixError(kErrFileNotFound, "File not found: " + path.toStdString());
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw TamixError(kErrPathAccess, "Path/File access error: " + path.toStdString());
    }
    if (file.size() > kMaxFileBytes) {
        throw TamixError(kErrOutOfRange, "The file is too large to load: " + path.toStdString());
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

}  // namespace tamix::controls
