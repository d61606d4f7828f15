// tamix-tool print: a note's body as PDF, cut into the pages the engine
// counts, every line once and in order.

#include "tools/tool_fixture.h"

#include "print/page_engine.h"
#include "rtf/text_document_adapter.h"
#include "testing/test_app.h"
#include "tree/scale_words.h"

#include <QBuffer>
#include <QImage>
#include <QTextDocument>
#include <regex>

namespace tamix {
namespace {

std::string linesBody(int count) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 1; i <= count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    return rtf + "}";
}

// A PNG picture of `w` x `h` pixels as an RTF group.
std::string pictureGroup(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "{\\pict\\pngblip\\picw" + std::to_string(w) + "\\pich" + std::to_string(h) + " " +
           png.toHex().toStdString() + "}";
}

// Numbered lines "line 1" ... in plain paragraphs, bullets, one paragraph
// longer than a page and around a picture, with a word longer than a line.
std::string mixedBody(int* lines) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}\\f0\\fs20 ";
    int n = 0;
    const auto line = [&] { return "line " + std::to_string(++n) + " "; };
    for (int i = 0; i < 40; ++i) rtf += line() + "\\par ";
    for (int i = 0; i < 10; ++i)
        rtf += "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent360{\\pntxtb\\'B7}}\\fi-360\\li720 " +
               line() + "\\par ";
    rtf += "\\pard " + std::string(300, 'x') + " ";
    for (int i = 0; i < 500; ++i) rtf += line();
    rtf += "\\par " + line() + pictureGroup(40, 40) + " ";
    for (int i = 0; i < 30; ++i) rtf += line() + "\\par ";
    *lines = n;
    return rtf + "}";
}

class PrintToolTest : public WithTestApp, public ToolFixture {
protected:
    std::string pdf = (dir / "out.pdf").string();

    static int pdfPages(const std::string& content) {
        static const std::regex page("/Type\\s*/Page[^s]");
        return static_cast<int>(std::distance(std::sregex_iterator(content.begin(), content.end(), page), {}));
    }
    // The pages the engine counts for `body` on a sheet of `twips`.
    static int enginePages(const std::string& body, QSize twips) {
        QTextDocument document;
        rtf::TextDocumentAdapter::loadRtf(ScaleWords::Remove(body), document);
        PageMargins margins;
        return PageEngine(document, margins).pageCount(twips);
    }
};

TEST_F(PrintToolTest, AKeyThatIsNotANoteIsRefused) {
    for (const char* key : {"k0000000001", "k0000000042", "note"}) {
        const Result r = run({"print", db, key, pdf});
        EXPECT_EQ(r.exit, 2) << key;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << key;
    }
}

TEST_F(PrintToolTest, ThePdfHasThePagesTheEngineCounts) {
    const struct {
        const char* name;
        std::string body;
    } notes[] = {{"empty", ""}, {"short", linesBody(2)}, {"several", linesBody(200)},
                 {"tall picture", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 before\\par " +
                                      pictureGroup(60, 3000) + "\\par after\\par}"}};
    for (const auto& n : notes) {
        const std::string key = add(root, n.name, n.body);
        for (const auto& [name, twips] : {std::pair{"A4", QSize(11906, 16838)}, std::pair{"Letter", QSize(12240, 15840)}}) {
            const Result r = run({"print", db, key, pdf, "--page-size", name});
            ASSERT_EQ(r.exit, 0) << n.name << ": " << r.err;
            const std::string content = slurp(pdf);
            EXPECT_EQ(pdfPages(content), enginePages(n.body, twips)) << n.name << " " << name;
            EXPECT_EQ(r.out, std::to_string(pdfPages(content)) + "\n");
            const std::regex box(name == std::string("A4") ? "/MediaBox \\[0 0 595(\\.0+)? 842"
                                                           : "/MediaBox \\[0 0 612(\\.0+)? 792");
            EXPECT_TRUE(std::regex_search(content, box)) << name;
        }
    }
}

TEST_F(PrintToolTest, ThePdfTextHoldsEveryLineOnceInOrder) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    int lines = 0;
    const std::string key = add(root, "Mixed", mixedBody(&lines));
    ASSERT_EQ(run({"print", db, key, pdf}).exit, 0);
    const std::string txt = (dir / "out.txt").string();
    ASSERT_EQ(std::system(("pdftotext -raw " + quote(pdf) + " " + quote(txt)).c_str()), 0);
    const std::string content = slurp(txt);
    static const std::regex line("line\\s+(\\d+)");
    int expected = 1;
    for (auto it = std::sregex_iterator(content.begin(), content.end(), line); it != std::sregex_iterator(); ++it)
        EXPECT_EQ(std::stoi((*it)[1]), expected++);
    EXPECT_EQ(expected, lines + 1);
}

}  // namespace
}  // namespace tamix
