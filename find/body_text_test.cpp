#include "find/body_text.h"

#include "controls/rich_text_box.h"
#include "rtf/rtf_document.h"
#include "rtf/rtf_writer.h"
#include "testing/test_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace tamix {
namespace {

namespace fs = std::filesystem;

// The contract: BodyText gives exactly the editor's text after the note
// loader puts the body into it.
class BodyTextTest : public WithTestApp, public ::testing::Test {
protected:
    void expectEditorText(const std::string& body, const std::string& name) {
        editor_.setTextRTF(body);
        EXPECT_EQ(BodyText::of(body), editor_.Text()) << name;
    }
    controls::RichTextBox editor_;
};

TEST_F(BodyTextTest, EqualsTheEditorsText) {
    const char* bodies[] = {
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ap{\\b pl}e\\par second\\line line\\tab tab\\par}",
        "{\\rtf1\\ansi caf\\'e9 \\u969?\\u8233?x\\u65532?y\\uc0\\u55357\\u56832 end}",
        "{\\rtf1 {\\pict\\pngblip\\picw1\\pich1\\picscalex50\\picscaley50 00}word{\\object{\\objdata 00}}}",
        "{\\rtf1 one\\par\\par\\pard\\pntext\\bullet\\tab two\\par}",
        "{\\rtf1 unbalanced {\\b group",
        "{\\rtf1 a{\\*\\generator \\bin3 }}}b}c}",
        "no rtf at all",
        "",
    };
    int i = 0;
    for (const char* body : bodies) expectEditorText(body, "body " + std::to_string(i++));
}

// Bodies as this program writes them take the quick path and still give
// the editor's text: runs in several formats, accented and non-1252
// letters, tabs, line breaks, RTF's own special characters.
TEST_F(BodyTextTest, WrittenBodiesTakeTheQuickPathToTheEditorsText) {
    const char* pieces[] = {"word ", "caf\xc3\xa9 ", "\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1", "\t",
                            "\xe2\x80\xa8", "{\\}", "\xe2\x82\xac" "5", "\xf0\x9f\x98\x80", "x"};
    std::mt19937 random(15);
    for (int round = 0; round < 40; ++round) {
        rtf::RtfDocument document;
        document.endsWithParagraphMark = round % 2 == 0;
        for (int p = 0; p < 1 + round % 4; ++p) {
            rtf::Paragraph paragraph;
            for (int r = 0; r < static_cast<int>(random() % 5); ++r) {
                rtf::Run run;
                run.format.bold = random() % 2 == 0;
                run.format.font.name = random() % 2 == 0 ? "Arial" : "Times New Roman";
                run.content = std::string(pieces[random() % std::size(pieces)]) + pieces[random() % std::size(pieces)];
                paragraph.append(std::move(run));
            }
            document.paragraphs.push_back(std::move(paragraph));
        }
        const std::string body = rtf::RtfWriter::write(document);
        EXPECT_TRUE(BodyText::quick(body).has_value()) << body;
        expectEditorText(body, body);
    }
}

// Written bodies with bytes cut, doubled or changed at random: whatever
// path a damaged body takes, it still gives the editor's text.
TEST_F(BodyTextTest, DamagedBodiesStillGiveTheEditorsText) {
    const std::string written = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
                                "\\viewkind4\\uc1\\pard\\f0\\fs20 ap{\\b pl}e caf\\'e9\\tab x\\line y\\par\r\n"
                                "\\u969?\\u-10179?\\u-8704? z\\{\\\\\\}\\par\r\n}";
    const char bytes[] = "{}\\'0123456789abcdefpartxu -?\r\n\t";
    std::mt19937 random(15);
    int quick = 0;
    for (int round = 0; round < 400; ++round) {
        std::string body = written;
        for (int edit = 0; edit < 1 + round % 3; ++edit) {
            const std::size_t at = random() % body.size();
            switch (random() % 3) {
            case 0: body.erase(at, 1); break;
            case 1: body.insert(at, 1, body[at]); break;
            default: body[at] = bytes[random() % (sizeof bytes - 1)]; break;
            }
        }
        quick += BodyText::quick(body).has_value();
        expectEditorText(body, body);
    }
    EXPECT_GT(quick, 40);
}

TEST_F(BodyTextTest, EqualsTheEditorsTextOverTheCorpora) {
    const fs::path roots[] = {fs::path(TAMIX_SOURCE_DIR) / "rtf" / "fuzz_corpus",
                              fs::path(TAMIX_SHARED_TESTDATA) / "rtf"};
    int files = 0;
    for (const fs::path& root : roots) {
        if (!fs::exists(root)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            std::string extension = entry.path().extension().string();
            for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (!entry.is_regular_file() || extension != ".rtf") continue;
            if (entry.file_size() > 2'000'000) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            expectEditorText(bytes.str(), entry.path().string());
            ++files;
        }
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace tamix
