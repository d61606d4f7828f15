#include "rtf/text_document_adapter.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

#include "rtf/rtf_fixture.h"

namespace tamix::rtf {
namespace {

using TextDocumentAdapterTest = test::GuiTest;

CharFormat format(const char* font = "DejaVu Sans", int halfPoints = 20) {
    CharFormat f;
    f.font = Font{font, "swiss", 0};
    f.halfPoints = halfPoints;
    return f;
}

std::string pngBytes(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// The image format at `position` and the image the document shows for it.
std::pair<QTextImageFormat, QImage> imageAt(QTextDocument& doc, int position) {
    QTextCursor c(&doc);
    c.setPosition(position);
    EXPECT_TRUE(c.charFormat().isImageFormat()) << "no image at " << position;
    const QTextImageFormat f = c.charFormat().toImageFormat();
    return {f, doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>()};
}

// A document of everything the adapter maps, with values that survive the
// pixel conversion exactly.
RtfDocument richDocument() {
    return RtfReader().read(
        R"({\rtf1{\fonttbl{\f0\fswiss DejaVu Sans;}{\f1\fswiss DejaVu Serif;}{\f2\fswiss DejaVu Sans Mono;}})"
        R"({\colortbl;\red0\green0\blue255;\red255\green255\blue0;})"
        R"(\pard\qc\li720\ri360\fi-360\sb120\sa240\tx1440\tx2880\f0\fs20 plain\tab {\b bold})"
        R"({\f1\fs24\ul\protect\cf1 link}{\i\strike\highlight2 x\line y \'80}\par)"
        R"(\pard{\*\pn\pnlvlblt\pnindent360}\li360 one\par two\par\pard\f2\fs32\par})");
}

TEST_F(TextDocumentAdapterTest, LoadMapsFormatsToQtAndExtractGivesTheSameDocument) {
    QTextDocument doc;
    const RtfDocument d = richDocument();
    TextDocumentAdapter::load(d, doc);
    EXPECT_EQ(doc.blockCount(), 4);
    EXPECT_EQ(TextDocumentAdapter::extract(doc), d) << TextDocumentAdapter::toRtf(doc);
    const QTextBlock first = doc.firstBlock();
    EXPECT_EQ(first.text(), QString::fromUtf8("plain\tboldlinkx\u2028y \u20AC"));
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.blockFormat().leftMargin(), 48.0);  // 720 twips at 96 dpi
    EXPECT_DOUBLE_EQ(first.blockFormat().textIndent(), -24.0);

    QTextCursor c(&doc);
    c.setPosition(first.position() + 12);  // inside "link"
    const QTextCharFormat f = c.charFormat();
    EXPECT_TRUE(f.boolProperty(TextDocumentAdapter::ProtectedProperty));
    EXPECT_TRUE(f.fontUnderline());
    EXPECT_EQ(f.foreground().color(), QColor(0, 0, 255));
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0);
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"DejaVu Serif"});

    const QTextBlock bullet = first.next();
    ASSERT_NE(bullet.textList(), nullptr);
    EXPECT_EQ(bullet.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(bullet.next().textList(), bullet.textList());  // consecutive bullets share one list
    EXPECT_EQ(bullet.next().next().textList(), nullptr);
    EXPECT_DOUBLE_EQ(doc.lastBlock().charFormat().fontPointSize(), 16.0);
}

TEST_F(TextDocumentAdapterTest, ListsScriptsIndentsAndAlignmentRoundTrip) {
    const std::string rtf =
        R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset2 Symbol;}}\f0\fs20)"
        R"(\pard{\pntext\f1\'B7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'B7}}\fi-360\li720 dot\par)"
        R"(\pard{\listtext 1.\tab}\ls1\qc one\par{\listtext 2.\tab}two\par\pard\qr\ri360 x{\super 2}+H{\sub 2}O\par)"
        R"(\pard{\listtext 3.\tab}\ls1\qc three\par\pard\qj\li1440\fi720 end\par})";
    RtfReader reader;
    const RtfDocument read = reader.read(rtf);
    QTextDocument doc;
    TextDocumentAdapter::load(read, doc);
    EXPECT_EQ(TextDocumentAdapter::extract(doc), read) << TextDocumentAdapter::toRtf(doc);
    EXPECT_EQ(reader.read(TextDocumentAdapter::toRtf(doc)), read);

    // The editor shows the labels the note was written with.
    const QTextBlock one = doc.findBlockByNumber(1);
    const QTextBlock three = doc.findBlockByNumber(4);
    ASSERT_NE(one.textList(), nullptr);
    EXPECT_EQ(three.textList(), one.textList());
    EXPECT_EQ(one.textList()->itemText(three), "3.");
    EXPECT_EQ(doc.firstBlock().textList()->format().style(), QTextListFormat::ListDisc);
    QTextCursor c(doc.findBlockByNumber(3));
    c.setPosition(c.position() + 2);
    EXPECT_EQ(c.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
}

TEST_F(TextDocumentAdapterTest, ExtractOfARangeInsideAParagraphHasNoMark) {
    QTextDocument doc;
    TextDocumentAdapter::loadRtf(R"({\rtf1 first line\par second\par})", doc);
    const RtfDocument part = TextDocumentAdapter::extract(doc, 6, 10);
    ASSERT_EQ(part.paragraphs.size(), 1u);
    EXPECT_EQ(part.plainText(), "line");
    EXPECT_FALSE(part.endsWithParagraphMark);

    const RtfDocument across = TextDocumentAdapter::extract(doc, 6, 14);  // "line", the break, "sec"
    EXPECT_EQ(across.plainText(), "line\nsec");
    EXPECT_FALSE(across.endsWithParagraphMark);

    const RtfDocument withMark = TextDocumentAdapter::extract(doc, 0, 11);
    EXPECT_EQ(withMark.plainText(), "first line");
    EXPECT_TRUE(withMark.endsWithParagraphMark);
    EXPECT_TRUE(TextDocumentAdapter::extract(doc, 5, 5).paragraphs.empty());
}

TEST_F(TextDocumentAdapterTest, LoadReplacesTheContentAndInsertPlacesRunsAtTheCursorOverTheSelection) {
    QTextDocument doc;
    doc.setPlainText("old text\nmore");
    TextDocumentAdapter::loadRtf(R"({\rtf1 abcdef})", doc);
    EXPECT_EQ(doc.toPlainText(), "abcdef");
    QTextCursor c(&doc);
    c.setPosition(3);
    TextDocumentAdapter::insertRtf(R"({\rtf1 {\b X}})", c);
    EXPECT_EQ(doc.toPlainText(), "abcXdef");
    EXPECT_EQ(c.position(), 4);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

    TextDocumentAdapter::insertRtf(R"({\rtf1 one\par two\par})", c);
    EXPECT_EQ(doc.toPlainText(), "abcXone\ntwo\ndef");
    EXPECT_EQ(c.position(), 12);  // before "def"
    c.setPosition(13, QTextCursor::KeepAnchor);
    TextDocumentAdapter::insertRtf(R"({\rtf1 D})", c);
    EXPECT_EQ(doc.toPlainText(), "abcXone\ntwo\nDef");
}

TEST_F(TextDocumentAdapterTest, PngPictureIsShownAtItsGoalSizeAndCountsAsOneCharacter) {
    // Goal sizes 600 x 300 twips: 40 x 20 px.
    const RtfDocument d = RtfReader().read("{\\rtf1{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\\f0\\fs20 a{\\pict\\pngblip"
                                           "\\picw4\\pich2\\picwgoal600\\pichgoal300 " +
                                           QByteArray::fromStdString(pngBytes(4, 2)).toHex().toStdString() + "}b\\par}");
    QTextDocument doc;
    TextDocumentAdapter::load(d, doc);
    EXPECT_EQ(doc.characterCount(), 4);  // a, the picture, b, the final mark
    const auto [image, shown] = imageAt(doc, 2);
    EXPECT_DOUBLE_EQ(image.width(), 40.0);
    EXPECT_DOUBLE_EQ(image.height(), 20.0);
    EXPECT_EQ(shown.size(), QSize(4, 2));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(TextDocumentAdapter::extract(doc), d);
}

TEST_F(TextDocumentAdapterTest, DibPictureIsDecoded) {
    QImage image(2, 1, QImage::Format_RGB32);  // red, green
    image.setPixelColor(0, 0, QColor(255, 0, 0));
    image.setPixelColor(1, 0, QColor(0, 255, 0));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    const std::string dib = bmp.mid(14).toStdString();  // without the file header
    Picture p;
    p.format = PictureFormat::Dib;
    p.data = dib;
    RtfDocument d;
    d.paragraphs.emplace_back();
    d.paragraphs.back().append(rtf::Run{format(), p});
    QTextDocument doc;
    TextDocumentAdapter::load(d, doc);
    const QImage shown = imageAt(doc, 1).second;
    ASSERT_EQ(shown.size(), QSize(2, 1));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(1, 0), QColor(0, 255, 0));
}

TEST_F(TextDocumentAdapterTest, MetafileShowsAPlaceholderOfGoalSizeAndIsWrittenBackUnchanged) {
    const std::string rtf = "{\\rtf1 {\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 0100090000}\\par}";
    QTextDocument doc;
    TextDocumentAdapter::loadRtf(rtf, doc);
    const QTextImageFormat image = imageAt(doc, 1).first;
    EXPECT_DOUBLE_EQ(image.width(), 96.0);
    EXPECT_DOUBLE_EQ(image.height(), 48.0);
    RtfReader reader;
    const Picture original = std::get<Picture>(reader.read(rtf).paragraphs[0].runs[0].content);
    const RtfDocument back = TextDocumentAdapter::extract(doc);
    EXPECT_EQ(std::get<Picture>(back.paragraphs.at(0).runs.at(0).content), original);
}

TEST_F(TextDocumentAdapterTest, EmbeddedObjectIsKeptWholeAndShownThroughItsResult) {
    const std::string object =
        "{\\object\\objemb\\objw1500\\objh750{\\*\\objclass Paint.Picture}{\\*\\objdata 01050000}"
        "{\\result{\\pict\\pngblip\\picwgoal1500\\pichgoal750 " +
        QByteArray::fromStdString(pngBytes(3, 3)).toHex().toStdString() + "}}}";
    QTextDocument doc;
    TextDocumentAdapter::loadRtf("{\\rtf1 x" + object + "y}", doc);
    EXPECT_EQ(doc.toPlainText().size(), 3);
    const auto [image, shown] = imageAt(doc, 2);
    EXPECT_DOUBLE_EQ(image.width(), 100.0);
    EXPECT_EQ(shown.size(), QSize(3, 3));
    const std::string written = TextDocumentAdapter::toRtf(doc, 1, 2);
    EXPECT_NE(written.find(object), std::string::npos);
    EXPECT_NE(written.find("{\\object\\"), std::string::npos);
}

TEST_F(TextDocumentAdapterTest, ForeignImageIsWrittenAsPng) {
    QTextDocument doc;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl("mem:pasted"), image);
    QTextCursor c(&doc);
    QTextImageFormat f;
    f.setName("mem:pasted");
    c.insertImage(f);
    const RtfDocument d = TextDocumentAdapter::extract(doc);
    const Picture& p = std::get<Picture>(d.paragraphs.at(0).runs.at(0).content);
    EXPECT_EQ(p.format, PictureFormat::Png);
    EXPECT_EQ(p.goalWidth, 75);
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(p.data)).size(), QSize(5, 3));
}

TEST_F(TextDocumentAdapterTest, TextTypedWithoutFormatsTakesTheDocumentFont) {
    QTextDocument doc;
    doc.setDefaultFont(QFont("DejaVu Sans", 11));
    QTextCursor(&doc).insertText("typed");
    const RtfDocument d = TextDocumentAdapter::extract(doc);
    const CharFormat& f = d.paragraphs.at(0).runs.at(0).format;
    EXPECT_EQ(f.font.name, "DejaVu Sans");
    EXPECT_EQ(f.halfPoints, 22);
    EXPECT_FALSE(f.color.has_value());
}

TEST_F(TextDocumentAdapterTest, EmptyDocumentKeepsItsMarkFont) {
    RtfDocument d;
    d.paragraphs.emplace_back();
    d.paragraphs.back().markFormat = format("DejaVu Serif", 17);
    d.endsWithParagraphMark = true;
    QTextDocument doc;
    TextDocumentAdapter::load(d, doc);
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(TextDocumentAdapter::extract(doc), d);
}

TEST_F(TextDocumentAdapterTest, EveryCorpusFileLoadsAndComesBackWithItsTextAndPictures) {
    const std::filesystem::path corpus = std::filesystem::path(TAMIX_SHARED_TESTDATA) / "rtf";
    if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no RTF corpus at " << corpus;
    auto countPictures = [](const RtfDocument& d) {
        int n = 0;
        for (const Paragraph& p : d.paragraphs) {
            for (const rtf::Run& r : p.runs) n += r.isText() ? 0 : 1;
        }
        return n;
    };
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".rtf" && ext != ".RTF") continue;
        RtfReader reader;
        const RtfDocument read = reader.read(test::slurp(entry.path()));
        QTextDocument doc;
        TextDocumentAdapter::load(read, doc);
        const RtfDocument back = TextDocumentAdapter::extract(doc);
        EXPECT_EQ(back.plainText(), read.plainText()) << entry.path();
        EXPECT_EQ(countPictures(back), countPictures(read)) << entry.path();
        ++files;
    }
    EXPECT_GT(files, 80);
}

}  // namespace
}  // namespace tamix::rtf
