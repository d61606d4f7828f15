#include "rtf/text_document_adapter.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace tamix::rtf {

namespace {

using Adapter = TextDocumentAdapter;

constexpr double kTwipsPerPixel = 15.0;  // 1440 twips per inch at 96 pixels per inch
constexpr int kMaxPicturePixels = 8000;  // display size bound: a picture is never drawn larger

double toPixels(int twips) { return twips / kTwipsPerPixel; }
int toTwips(qreal pixels) { return int(std::lround(pixels * kTwipsPerPixel)); }

QColor toQColor(const Color& c) { return QColor(c.red, c.green, c.blue); }
Color fromQColor(const QColor& c) { return Color{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())}; }

QTextCharFormat toQt(const CharFormat& f) {
    QTextCharFormat c;
    if (!f.font.name.empty()) c.setFontFamilies(QStringList{QString::fromStdString(f.font.name)});
    c.setFontPointSize(f.halfPoints / 2.0);
    c.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    c.setFontItalic(f.italic);
    c.setFontUnderline(f.underline);
    c.setFontStrikeOut(f.strike);
    c.setProperty(Adapter::ProtectedProperty, f.protect);
    if (f.color) c.setForeground(toQColor(*f.color));
    if (f.highlight) c.setBackground(toQColor(*f.highlight));
    if (f.vertical == VerticalAlign::Super) c.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (f.vertical == VerticalAlign::Sub) c.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.setProperty(Adapter::FontFamilyKindProperty, QString::fromStdString(f.font.family));
    c.setProperty(Adapter::CharsetProperty, f.font.charset);
    return c;
}

CharFormat fromQt(const QTextCharFormat& c, const QTextDocument& doc) {
    CharFormat f;
    const QStringList families = c.fontFamilies().toStringList();
    QString family = families.isEmpty() ? QString() : families.first();
    if (family.isEmpty()) family = doc.defaultFont().family();
    f.font.name = family.toStdString();
    if (c.hasProperty(Adapter::FontFamilyKindProperty)) f.font.family = c.property(Adapter::FontFamilyKindProperty).toString().toStdString();
    if (f.font.family.empty()) f.font.family = "nil";
    f.font.charset = c.intProperty(Adapter::CharsetProperty);
    const qreal points = c.hasProperty(QTextFormat::FontPointSize) ? c.fontPointSize() : doc.defaultFont().pointSizeF();
    f.halfPoints = std::max(1, int(std::lround(points * 2)));
    f.bold = c.fontWeight() >= QFont::DemiBold;
    f.italic = c.fontItalic();
    f.underline = c.fontUnderline();
    f.strike = c.fontStrikeOut();
    f.protect = c.boolProperty(Adapter::ProtectedProperty);
    if (c.hasProperty(QTextFormat::ForegroundBrush) && c.foreground().style() != Qt::NoBrush) f.color = fromQColor(c.foreground().color());
    if (c.hasProperty(QTextFormat::BackgroundBrush) && c.background().style() != Qt::NoBrush) f.highlight = fromQColor(c.background().color());
    if (c.verticalAlignment() == QTextCharFormat::AlignSuperScript) f.vertical = VerticalAlign::Super;
    if (c.verticalAlignment() == QTextCharFormat::AlignSubScript) f.vertical = VerticalAlign::Sub;
    return f;
}

QTextBlockFormat toQt(const ParaFormat& p) {
    QTextBlockFormat b;
    switch (p.alignment) {
    case Alignment::Left: b.setAlignment(Qt::AlignLeft); break;
    case Alignment::Right: b.setAlignment(Qt::AlignRight); break;
    case Alignment::Center: b.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Justify: b.setAlignment(Qt::AlignJustify); break;
    }
    b.setLeftMargin(toPixels(p.leftIndent));
    b.setRightMargin(toPixels(p.rightIndent));
    b.setTextIndent(toPixels(p.firstIndent));
    b.setTopMargin(toPixels(p.spaceBefore));
    b.setBottomMargin(toPixels(p.spaceAfter));
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (int t : p.tabs) tabs.append(QTextOption::Tab(toPixels(t), QTextOption::LeftTab));
        b.setTabPositions(tabs);
    }
    if (p.isList()) b.setProperty(Adapter::BulletIndentProperty, p.bulletIndent);
    return b;
}

ListStyle fromQt(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDecimal: return ListStyle::Decimal;
    case QTextListFormat::ListLowerAlpha: return ListStyle::LowerLetter;
    case QTextListFormat::ListUpperAlpha: return ListStyle::UpperLetter;
    case QTextListFormat::ListLowerRoman: return ListStyle::LowerRoman;
    case QTextListFormat::ListUpperRoman: return ListStyle::UpperRoman;
    default: return ListStyle::Bullet;
    }
}

int listStart(const QTextListFormat& f) {
    return f.hasProperty(Adapter::ListStartProperty) ? f.intProperty(Adapter::ListStartProperty) : 1;
}

ParaFormat fromQt(const QTextBlock& block) {
    const QTextBlockFormat b = block.blockFormat();
    ParaFormat p;
    const Qt::Alignment a = b.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight) p.alignment = Alignment::Right;
    else if (a & Qt::AlignHCenter) p.alignment = Alignment::Center;
    else if ((a & Qt::AlignJustify) == Qt::AlignJustify) p.alignment = Alignment::Justify;
    p.leftIndent = toTwips(b.leftMargin());
    p.rightIndent = toTwips(b.rightMargin());
    p.firstIndent = toTwips(b.textIndent());
    p.spaceBefore = toTwips(b.topMargin());
    p.spaceAfter = toTwips(b.bottomMargin());
    for (const QTextOption::Tab& t : b.tabPositions()) p.tabs.push_back(toTwips(t.position));
    if (const QTextList* list = block.textList()) {
        const QTextListFormat f = list->format();
        p.list = fromQt(f.style());
        p.bulletIndent = b.hasProperty(Adapter::BulletIndentProperty) ? b.intProperty(Adapter::BulletIndentProperty) : 360;
        if (p.isNumbered()) {
            p.listBefore = f.numberPrefix().toStdString();
            p.listAfter = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix().toStdString() : ".";
            // The number of the first block of this run of the list.
            QTextBlock first = block;
            while (first.previous().isValid() && first.previous().textList() == list) first = first.previous();
            p.listStart = listStart(f) + list->itemNumber(first);
        }
    }
    return p;
}

// A BMP file for a \dibitmap picture, whose data lacks the file header.
QByteArray dibToBmp(const std::string& dib) {
    if (dib.size() < 40) return {};
    auto le = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(dib[at + std::size_t(i)]);
        return v;
    };
    const std::uint32_t headerSize = le(0, 4);
    const std::uint32_t bitCount = le(14, 2);
    const std::uint32_t compression = le(16, 4);
    std::uint32_t colors = le(32, 4);
    if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
    std::uint64_t offset = 14ull + headerSize + colors * 4ull + (compression == 3 && headerSize == 40 ? 12 : 0);
    if (offset > dib.size() + 14) return {};
    QByteArray bmp("BM");
    const std::uint32_t size = std::uint32_t(dib.size() + 14);
    for (std::uint32_t v : {size, 0u, std::uint32_t(offset)}) {
        for (int i = 0; i < 4; ++i) bmp.append(char((v >> (8 * i)) & 0xFF));
    }
    bmp.append(dib.data(), qsizetype(dib.size()));
    return bmp;
}

QImage decodePicture(const Picture& p) {
    QImage image;
    const QByteArray data = QByteArray::fromRawData(p.data.data(), qsizetype(p.data.size()));
    switch (p.format) {
    case PictureFormat::Png: image.loadFromData(data, "PNG"); break;
    case PictureFormat::Jpeg: image.loadFromData(data, "JPEG"); break;
    case PictureFormat::Dib: image.loadFromData(dibToBmp(p.data), "BMP"); break;
    default: break;
    }
    return image.copy();  // detach from the raw data, which the caller owns
}

// Display size in pixels: the goal size when given, else the picture's own.
QSizeF displaySize(const Picture& p, const QImage& image) {
    double w = 0, h = 0;
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        w = toPixels(p.goalWidth);
        h = toPixels(p.goalHeight);
    } else if (!image.isNull()) {
        w = image.width();
        h = image.height();
    } else if (p.format == PictureFormat::Wmf || p.format == PictureFormat::Emf) {
        w = p.width * 96.0 / 2540.0;  // \picw of a metafile is in 0.01 mm
        h = p.height * 96.0 / 2540.0;
    } else {
        w = p.width;
        h = p.height;
    }
    if (p.scaleX > 0) w = w * p.scaleX / 100.0;
    if (p.scaleY > 0) h = h * p.scaleY / 100.0;
    if (!(w >= 1)) w = 32;
    if (!(h >= 1)) h = 32;
    return QSizeF(std::min<double>(w, kMaxPicturePixels), std::min<double>(h, kMaxPicturePixels));
}

QImage placeholder() {
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(QColor(224, 224, 224));
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, 47, 47);
    painter.drawLine(0, 0, 47, 47);
    painter.drawLine(0, 47, 47, 0);
    return image;
}

// Registers `image` under a name derived from its content, so equal pictures
// share one resource and names never collide.
QString addImage(QTextDocument& doc, const QImage& image, const std::string& key) {
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromRawData(key.data(), qsizetype(key.size())),
                                                     QCryptographicHash::Sha1).toHex();
    const QString name = QStringLiteral("tamix-picture:") + QString::fromLatin1(hash);
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);  // an equal picture has an equal image
    return name;
}

QTextImageFormat imageFormat(QTextDocument& doc, const Run& run) {
    QTextImageFormat f;
    f.merge(toQt(run.format));
    const Picture* picture = std::get_if<Picture>(&run.content);
    const EmbeddedObject* object = std::get_if<EmbeddedObject>(&run.content);
    std::string rtf;
    QImage image;
    QSizeF size;
    if (picture) {
        rtf = RtfWriter::writePicture(*picture);
        image = decodePicture(*picture);
        size = displaySize(*picture, image);
        f.setProperty(Adapter::PictureRtfProperty, QByteArray::fromStdString(rtf));
    } else {
        rtf = object->rtf;
        if (object->resultPicture) {
            image = decodePicture(*object->resultPicture);
            size = displaySize(*object->resultPicture, image);
        }
        if (object->width > 0 && object->height > 0 && !object->resultPicture) {
            size = QSizeF(std::min(toPixels(object->width), double(kMaxPicturePixels)),
                          std::min(toPixels(object->height), double(kMaxPicturePixels)));
        }
        if (size.isEmpty()) size = QSizeF(32, 32);
        f.setProperty(Adapter::ObjectRtfProperty, QByteArray::fromStdString(rtf));
    }
    if (image.isNull()) image = placeholder();
    f.setName(addImage(doc, image, rtf));
    f.setWidth(size.width());
    f.setHeight(size.height());
    return f;
}

void insertRuns(const Paragraph& para, QTextCursor& cursor) {
    QTextDocument& doc = *cursor.document();
    for (const Run& run : para.runs) {
        if (run.isText()) {
            cursor.insertText(QString::fromStdString(run.text()), toQt(run.format));
        } else {
            cursor.insertImage(imageFormat(doc, run));
        }
    }
}

QTextListFormat listFormat(const ParaFormat& p) {
    QTextListFormat f;
    switch (p.list) {
    case ListStyle::Decimal: f.setStyle(QTextListFormat::ListDecimal); break;
    case ListStyle::LowerLetter: f.setStyle(QTextListFormat::ListLowerAlpha); break;
    case ListStyle::UpperLetter: f.setStyle(QTextListFormat::ListUpperAlpha); break;
    case ListStyle::LowerRoman: f.setStyle(QTextListFormat::ListLowerRoman); break;
    case ListStyle::UpperRoman: f.setStyle(QTextListFormat::ListUpperRoman); break;
    default: f.setStyle(QTextListFormat::ListDisc); break;
    }
    f.setIndent(0);
    if (p.isNumbered()) {
        f.setNumberPrefix(QString::fromStdString(p.listBefore));
        f.setNumberSuffix(QString::fromStdString(p.listAfter));
        if (p.listStart != 1) f.setProperty(Adapter::ListStartProperty, p.listStart);
    }
    return f;
}

// The list a run of numbered paragraphs that starts at `start` goes on
// counting: one of `lists` with the same style and text around the number
// whose next number is `start`.
QTextList* continuedList(const std::vector<QTextList*>& lists, const ParaFormat& p) {
    if (!p.isNumbered()) return nullptr;
    const QTextListFormat wanted = listFormat(p);
    for (auto it = lists.rbegin(); it != lists.rend(); ++it) {
        const QTextListFormat f = (*it)->format();
        if (f.style() == wanted.style() && f.numberPrefix() == wanted.numberPrefix() &&
            f.numberSuffix() == wanted.numberSuffix() && listStart(f) + (*it)->count() == p.listStart)
            return *it;
    }
    return nullptr;
}

// Paragraphs of one list format: consecutive ones share a list.
bool sameList(const ParaFormat& a, const ParaFormat& b) {
    return a.list == b.list && a.listStart == b.listStart && a.listBefore == b.listBefore && a.listAfter == b.listAfter;
}

// Inserts the paragraphs at the cursor. With `whole`, the cursor's block is
// the first paragraph's block and takes its format, and the last paragraph's
// mark is the document's own final block end.
void insertParagraphs(const RtfDocument& document, QTextCursor& cursor, bool whole) {
    const std::size_t n = document.paragraphs.size();
    const QTextBlockFormat originalFormat = cursor.blockFormat();
    const QTextCharFormat originalMark = cursor.block().charFormat();
    QTextList* list = nullptr;  // the list of the previous paragraph, if any
    std::vector<QTextList*> lists;  // every numbered list made here, oldest first
    for (std::size_t i = 0; i < n; ++i) {
        const Paragraph& para = document.paragraphs[i];
        // A paragraph that has its own mark (or fills a whole document) owns its block's format.
        const bool ownsBlock = whole || i + 1 < n || document.endsWithParagraphMark;
        if (i > 0) {
            if (ownsBlock) {
                cursor.insertBlock(toQt(para.format), toQt(para.markFormat));
            } else {
                cursor.insertBlock(originalFormat, originalMark);  // the block keeps the text after the cursor
            }
        } else if (ownsBlock) {
            cursor.setBlockFormat(toQt(para.format));
            cursor.setBlockCharFormat(toQt(para.markFormat));
        }
        if (ownsBlock && para.format.isList()) {
            const bool sameRun = list && i > 0 && sameList(document.paragraphs[i - 1].format, para.format);
            QTextList* joined = sameRun ? list : continuedList(lists, para.format);
            if (joined) {
                joined->add(cursor.block());
                list = joined;
            } else {
                list = cursor.createList(listFormat(para.format));
                if (para.format.isNumbered()) lists.push_back(list);
            }
        } else {
            list = nullptr;
        }
        insertRuns(para, cursor);
    }
    if (!whole && n > 0 && document.endsWithParagraphMark) cursor.insertBlock(originalFormat, originalMark);
}

RtfDocument readGroup(const QVariant& property) {
    const QByteArray bytes = property.toByteArray();
    RtfReader reader;
    return reader.read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

// The run for one image character: the kept picture or object, or a PNG of
// an image that came from elsewhere.
std::optional<Run> imageRun(const QTextDocument& doc, const QTextImageFormat& f) {
    const CharFormat format = fromQt(f, doc);
    for (int property : {Adapter::PictureRtfProperty, Adapter::ObjectRtfProperty}) {
        if (!f.hasProperty(property)) continue;
        RtfDocument group = readGroup(f.property(property));
        for (Paragraph& p : group.paragraphs) {
            for (Run& r : p.runs) {
                if (!r.isText()) return Run{format, std::move(r.content)};
            }
        }
        return std::nullopt;
    }
    const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
    QImage image = resource.value<QImage>();
    if (image.isNull()) image = resource.value<QPixmap>().toImage();
    if (image.isNull()) return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    Picture p;
    p.format = PictureFormat::Png;
    p.width = image.width();
    p.height = image.height();
    p.goalWidth = toTwips(f.width() > 0 ? f.width() : image.width());
    p.goalHeight = toTwips(f.height() > 0 ? f.height() : image.height());
    p.data.assign(png.constData(), std::size_t(png.size()));
    return Run{format, std::move(p)};
}

}  // namespace

void TextDocumentAdapter::load(const RtfDocument& document, QTextDocument& target) {
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    if (document.paragraphs.empty()) {
        cursor.setBlockFormat(QTextBlockFormat());
    } else {
        insertParagraphs(document, cursor, true);
    }
    cursor.endEditBlock();
}

void TextDocumentAdapter::insert(const RtfDocument& document, QTextCursor& cursor) {
    cursor.beginEditBlock();
    if (cursor.hasSelection()) cursor.removeSelectedText();
    insertParagraphs(document, cursor, false);
    cursor.endEditBlock();
}

RtfDocument TextDocumentAdapter::extract(const QTextDocument& source, int from, int to) {
    RtfDocument out;
    const int end = source.characterCount();
    if (to < 0 || to > end) to = end;
    from = std::clamp(from, 0, end);
    if (from >= to) return out;
    for (QTextBlock block = source.findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        Paragraph para;
        para.format = fromQt(block);
        para.markFormat = fromQt(block.charFormat(), source);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fs = fragment.position();
            const int s = std::max(fs, from);
            const int e = std::min(fs + fragment.length(), to);
            if (s >= e) continue;
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat()) {
                for (int k = s; k < e; ++k) {
                    if (auto run = imageRun(source, cf.toImageFormat())) para.append(std::move(*run));
                }
                continue;
            }
            QString text = fragment.text().mid(s - fs, e - s);
            text.remove(QChar::ObjectReplacementCharacter);
            text.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
            para.append(Run{fromQt(cf, source), text.toStdString()});
        }
        const int separator = block.position() + block.length() - 1;
        out.endsWithParagraphMark = to > separator;
        out.paragraphs.push_back(std::move(para));
    }
    return out;
}

std::string TextDocumentAdapter::toRtf(const QTextDocument& source, int from, int to) {
    return RtfWriter::write(extract(source, from, to));
}

void TextDocumentAdapter::insertRtf(std::string_view rtf, QTextCursor& cursor) {
    RtfReader reader;
    insert(reader.read(rtf), cursor);
}

void TextDocumentAdapter::loadRtf(std::string_view rtf, QTextDocument& target) {
    RtfReader reader;
    load(reader.read(rtf), target);
}

}  // namespace tamix::rtf
