#include "rtf/editor_text.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace tamix::rtf {
namespace {

class EditorTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "editor_text_test";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
    }
};

TEST_F(EditorTextTest, BodiesReadAsTheEditorCountsThem) {
    const QString fffc(QChar::ObjectReplacementCharacter);
    const struct {
        const char* rtf;
        QString text;
    } cases[] = {
        // As written on Windows: "\r\n" after each \par in the source, a
        // final \par that ends the last paragraph without adding one.
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
         "\\viewkind4\\uc1\\pard\\f0\\fs20 First\\par\r\nSecond\\tab x\\line y\\par\r\n\\par\r\nLink\\par\r\n}\r\n",
         "First\r\nSecond\tx\vy\r\n\r\nLink"},
        {"{\\rtf1 \\u8364?x\\u-10179?\\u-8704?y}", QString::fromUtf8("\xE2\x82\xAC" "x\xF0\x9F\x98\x80y")},
        {"{\\rtf1 a{\\pict\\wmetafile8\\picw2540\\pich1270 0100090000}b}", "a" + fffc + "b"},
        {"{\\rtf1 a{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\wmetafile8\\picw10\\pich10 01}}}b}",
         "a" + fffc + "b"},
        {"", ""},
        {"{\\rtf1 cut off\\par", "cut off"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorText::fromRtf(c.rtf), c.text) << c.rtf;
    }
}

}  // namespace
}  // namespace tamix::rtf
