#include "editor/clipboard_content.h"

#include "controls/rich_text_box.h"
#include "rtf/rtf_reader.h"
#include "testing/test_app.h"

#include <QMimeData>
#include <gtest/gtest.h>

namespace tamix {
namespace {

using Kind = ClipboardContent::Paste::Kind;

class ClipboardContentTest : public WithTestApp, public ::testing::Test {};

std::unique_ptr<QMimeData> mime(std::initializer_list<std::pair<const char*, QByteArray>> formats) {
    auto data = std::make_unique<QMimeData>();
    for (const auto& [format, bytes] : formats) data->setData(QLatin1String(format), bytes);
    return data;
}

TEST_F(ClipboardContentTest, APasteTakesTheRichestFormatThatReads) {
    const QByteArray rtf = "{\\rtf1\\ansi {\\b rich}\\par}";
    const QByteArray html = "<p>from <i>html</i></p>";
    const QByteArray badPng = "\x89PNG\r\n\x1a\n not an image";
    struct Case {
        const char* name;
        std::unique_ptr<QMimeData> data;
        Kind kind;
        std::string text;  // the document's or the plain text
    } cases[] = {
        {"rtf first", mime({{"text/rtf", rtf}, {"text/html", html}, {"text/plain", "plain"}}), Kind::Rich, "rich"},
        {"then html", mime({{"text/html", html}, {"text/plain", "plain"}}), Kind::Rich, "from html"},
        {"then text", mime({{"text/plain", "plain"}, {"image/png", badPng}}), Kind::Plain, "plain"},
        {"malformed rtf falls back", mime({{"text/rtf", "{\\rtf1 {{{"}, {"text/plain", "plain"}}), Kind::Plain, "plain"},
        {"not rtf at all", mime({{"text/rtf", "\xff\xfe garbage"}}), Kind::Nothing, ""},
        {"an image that does not decode", mime({{"image/png", badPng}}), Kind::Nothing, ""},
    };
    for (Case& c : cases) {
        const ClipboardContent::Paste paste = ClipboardContent::read(c.data.get(), QFont());
        EXPECT_EQ(paste.kind, c.kind) << c.name;
        const std::string text = paste.kind == Kind::Rich ? paste.document.plainText() : paste.text.toStdString();
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(paste.problem.isEmpty(), c.kind != Kind::Nothing) << c.name;
    }
}

TEST_F(ClipboardContentTest, PastedRichTextIsNeverProtected) {
    const auto data = mime({{"text/rtf", "{\\rtf1 \\protect\\ul locked\\protect0\\par}"}});
    const ClipboardContent::Paste paste = ClipboardContent::read(data.get(), QFont());
    ASSERT_EQ(paste.kind, Kind::Rich);
    const rtf::Run& run = paste.document.paragraphs.at(0).runs.at(0);
    EXPECT_TRUE(run.format.underline);
    EXPECT_FALSE(run.format.protect);
}

TEST_F(ClipboardContentTest, LengthsCountEachLineBreakAsTwoCharacters) {
    const std::pair<QString, int> texts[] = {
        {"a\nb\nc", 7}, {"a\r\nb", 4}, {"a\rb", 4}, {QString("x") + QChar(0xFFFC) + "y", 2}, {"t\tv\vw", 5}};
    for (const auto& [text, length] : texts) EXPECT_EQ(ClipboardContent::editorLength(text), length) << text.toStdString();
    const rtf::RtfDocument document = rtf::RtfReader().read("{\\rtf1 ab\\par cd{\\pict\\pngblip 00}\\par}");
    EXPECT_EQ(ClipboardContent::editorLength(document), 9);  // "ab", "cd", a picture, two marks
}

TEST_F(ClipboardContentTest, CopiedTextReachesOtherProgramsWithLineBreaks) {
    controls::RichTextBox editor;
    editor.setText(QString("one\vtwo\r\nthree"));
    editor.select(0, editor.TextLength());
    const std::unique_ptr<QMimeData> data = ClipboardContent::fromSelection(editor);
    EXPECT_EQ(data->text(), "one\ntwo\nthree");
    const QByteArray rtf = data->data("text/rtf");
    EXPECT_EQ(rtf::RtfReader().read(std::string_view(rtf.constData(), std::size_t(rtf.size()))).plainText(),
              "one\ntwo\nthree");
}

}  // namespace
}  // namespace tamix
