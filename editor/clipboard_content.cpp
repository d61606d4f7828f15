#include "editor/clipboard_content.h"

#include "controls/rich_text_box.h"
#include "rtf/rtf_reader.h"
#include "rtf/text_document_adapter.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QTextDocument>
#include <QVariant>

namespace tamix {

namespace {

using Paste = ClipboardContent::Paste;

const QString kRtf = QStringLiteral("text/rtf");
const QString kRtfAlt = QStringLiteral("application/rtf");
const QString kHtml = QStringLiteral("text/html");
constexpr int kTwipsPerPixel = 15;  // at 96 pixels per inch, as the editor shows pictures
constexpr int kListIndent = 360;    // twips: a quarter inch, the usual indent of a list paragraph

const QString kTooLarge = QStringLiteral("The clipboard holds too much to paste into a note.");
const QString kBadRtf = QStringLiteral("The rich text on the clipboard could not be read.");
const QString kBadHtml = QStringLiteral("The web page text on the clipboard could not be read.");
const QString kBadImage = QStringLiteral("The picture on the clipboard could not be read.");

bool hasRtf(const QMimeData& data) { return data.hasFormat(kRtf) || data.hasFormat(kRtfAlt); }

// The image formats the clipboard offers, "image/png" first.
QStringList imageFormats(const QMimeData& data) {
    QStringList out;
    for (const QString& format : data.formats())
        if (format.startsWith(QLatin1String("image/"))) out << format;
    out.sort();
    const qsizetype png = out.indexOf(QStringLiteral("image/png"));
    if (png > 0) out.move(png, 0);
    return out;
}

bool hasImage(const QMimeData& data) { return data.hasImage() || !imageFormats(data).isEmpty(); }

bool hasContent(const rtf::RtfDocument& document) {
    for (const rtf::Paragraph& p : document.paragraphs)
        if (!p.runs.empty()) return true;
    return document.paragraphs.size() > 1;
}

// True when no paragraph of `text` is longer than kMaxParagraph.
bool paragraphsFit(const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i) != QLatin1Char('\n') && text.at(i) != QLatin1Char('\r')) continue;
        if (i - start > ClipboardContent::kMaxParagraph) return false;
        start = i + 1;
    }
    return true;
}

bool fits(const QString& text, QString& problem) {
    if (text.size() <= ClipboardContent::kMaxPasteLength && paragraphsFit(text)) return true;
    if (problem.isEmpty()) problem = kTooLarge;
    return false;
}

// Editor characters of a paragraph's runs (its mark aside).
int paragraphLength(const rtf::Paragraph& paragraph) {
    int length = 0;
    for (const rtf::Run& r : paragraph.runs)
        length += r.isText() ? ClipboardContent::editorLength(QString::fromStdString(r.text())) : 1;
    return length;
}

bool fits(const rtf::RtfDocument& document, QString& problem) {
    bool fit = ClipboardContent::editorLength(document) <= ClipboardContent::kMaxPasteLength;
    for (const rtf::Paragraph& p : document.paragraphs) fit = fit && paragraphLength(p) <= ClipboardContent::kMaxParagraph;
    if (!fit && problem.isEmpty()) problem = kTooLarge;
    return fit;
}

Paste rich(rtf::RtfDocument document) {
    document.removeProtection();
    Paste out;
    out.kind = Paste::Kind::Rich;
    out.length = ClipboardContent::editorLength(document);
    out.document = std::move(document);
    return out;
}

Paste plain(QString text) {
    Paste out;
    out.length = ClipboardContent::editorLength(text);
    out.text = std::move(text);
    if (out.length > 0) out.kind = Paste::Kind::Plain;
    return out;
}

// The bytes of `format`, or nothing (and `problem` set) when there are too many.
std::optional<QByteArray> bytes(const QMimeData& data, const QString& format, QString& problem) {
    QByteArray out = data.data(format);
    if (out.size() > ClipboardContent::kMaxPasteBytes) {
        if (problem.isEmpty()) problem = kTooLarge;
        return std::nullopt;
    }
    return out;
}

std::optional<rtf::RtfDocument> readRtf(const QMimeData& data, QString& problem) {
    for (const QString& format : {kRtf, kRtfAlt}) {
        if (!data.hasFormat(format)) continue;
        const std::optional<QByteArray> rtf = bytes(data, format, problem);
        if (!rtf) return std::nullopt;
        if (rtf->trimmed().startsWith("{\\rtf")) {
            rtf::RtfDocument document =
                rtf::RtfReader().read(std::string_view(rtf->constData(), std::size_t(rtf->size())));
            if (hasContent(document)) {
                if (!fits(document, problem)) return std::nullopt;
                return document;
            }
        }
        if (problem.isEmpty()) problem = kBadRtf;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<rtf::RtfDocument> readHtml(const QMimeData& data, const QFont& font, QString& problem) {
    if (!data.hasFormat(kHtml)) return std::nullopt;
    const std::optional<QByteArray> raw = bytes(data, kHtml, problem);
    if (!raw) return std::nullopt;
    QTextDocument page;
    page.setDefaultFont(font);
    page.setHtml(data.html());
    rtf::RtfDocument document = rtf::TextDocumentAdapter::extract(page);
    // A page indents its lists through the list, which the note's lists do
    // not do: the paragraph takes the indent, so the label shows.
    for (rtf::Paragraph& p : document.paragraphs) {
        if (!p.format.isList() || p.format.leftIndent > 0) continue;
        p.format.leftIndent = kListIndent;
        if (p.format.bulletIndent == 0) p.format.bulletIndent = kListIndent;
    }
    // A page always ends with a paragraph; the paste ends where its text
    // does, unless that is a list item, which is one only with its mark.
    if (!document.paragraphs.empty() && !document.paragraphs.back().format.isList())
        document.endsWithParagraphMark = false;
    if (hasContent(document)) {
        if (!fits(document, problem)) return std::nullopt;
        return document;
    }
    if (problem.isEmpty() && !page.toPlainText().trimmed().isEmpty()) problem = kBadHtml;
    return std::nullopt;
}

std::optional<QString> readPlain(const QMimeData& data, QString& problem) {
    if (!data.hasText()) return std::nullopt;
    QString text = data.text();
    if (text.isEmpty() || !fits(text, problem)) return std::nullopt;
    return text;
}

// An image as a PNG picture shown at its own size.
std::optional<rtf::RtfDocument> readImage(const QMimeData& data, QString& problem) {
    QImage image;
    QByteArray png;
    for (const QString& format : imageFormats(data)) {
        const std::optional<QByteArray> raw = bytes(data, format, problem);
        if (!raw) continue;
        image = QImage::fromData(*raw);
        if (image.isNull()) continue;
        if (format == QLatin1String("image/png")) png = *raw;
        break;
    }
    if (image.isNull() && data.hasImage()) image = qvariant_cast<QImage>(data.imageData());
    if (image.isNull()) {
        if (problem.isEmpty() && hasImage(data)) problem = kBadImage;
        return std::nullopt;
    }
    if (png.isEmpty()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) {
            if (problem.isEmpty()) problem = kBadImage;
            return std::nullopt;
        }
    }
    rtf::Picture picture;
    picture.format = rtf::PictureFormat::Png;
    picture.width = image.width();
    picture.height = image.height();
    picture.goalWidth = image.width() * kTwipsPerPixel;
    picture.goalHeight = image.height() * kTwipsPerPixel;
    picture.data.assign(png.constData(), std::size_t(png.size()));
    rtf::Paragraph paragraph;
    paragraph.runs.push_back(rtf::Run{rtf::CharFormat{}, std::move(picture)});
    rtf::RtfDocument document;
    document.paragraphs.push_back(std::move(paragraph));
    return document;
}

}  // namespace

std::unique_ptr<QMimeData> ClipboardContent::fromSelection(const controls::RichTextBox& editor) {
    return std::unique_ptr<QMimeData>(editor.desktopMimeData());
}

bool ClipboardContent::holdsPasteable(const QMimeData* data) {
    return data && (holdsText(data) || hasImage(*data));
}

bool ClipboardContent::holdsText(const QMimeData* data) {
    return data && (data->hasText() || hasRtf(*data) || data->hasHtml());
}

Paste ClipboardContent::read(const QMimeData* data, const QFont& font) {
    if (!data) return {};
    QString problem;
    if (std::optional<rtf::RtfDocument> document = readRtf(*data, problem)) return rich(std::move(*document));
    if (std::optional<rtf::RtfDocument> document = readHtml(*data, font, problem)) return rich(std::move(*document));
    if (std::optional<QString> text = readPlain(*data, problem)) return plain(std::move(*text));
    if (std::optional<rtf::RtfDocument> document = readImage(*data, problem)) return rich(std::move(*document));
    Paste none;
    none.problem = problem;
    return none;
}

Paste ClipboardContent::readText(const QMimeData* data) {
    if (!data) return {};
    QString problem;
    if (std::optional<QString> text = readPlain(*data, problem)) return plain(std::move(*text));
    std::optional<rtf::RtfDocument> document = readRtf(*data, problem);
    if (!document) document = readHtml(*data, QFont(), problem);
    if (document) {
        QString text = QString::fromStdString(document->plainText());
        if (document->endsWithParagraphMark) text += QLatin1Char('\n');
        return plain(std::move(text));
    }
    Paste none;
    none.problem = problem;
    return none;
}

int ClipboardContent::editorLength(const QString& text) {
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar::ObjectReplacementCharacter) continue;
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
            length += 2;
            continue;
        }
        ++length;
    }
    return length;
}

int ClipboardContent::editorLength(const rtf::RtfDocument& document) {
    const std::size_t count = document.paragraphs.size();
    if (count == 0) return 0;
    int length = 2 * int(count - 1) + (document.endsWithParagraphMark ? 2 : 0);
    for (const rtf::Paragraph& p : document.paragraphs) length += paragraphLength(p);
    return length;
}

}  // namespace tamix
